set(links oleaut32)
