set(links ky721NatCtl ky721nwi afx user32)
