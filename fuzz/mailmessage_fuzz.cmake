# The message reader and writer of MAPI32.DLL, linked directly.
set(links mapi32)
