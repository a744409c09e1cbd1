# The conversion library itself, instrumented like every library of a fuzz build.
set(links pvw32cnv)
