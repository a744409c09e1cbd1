# The metafile record players of gdi32, instrumented like every library of a fuzz build.
set(links kernel32 gdi32)
