set(links user32)
pkg_check_modules(KY_BENCH_X11 REQUIRED IMPORTED_TARGET xcb xcb-xtest)
list(APPEND links PkgConfig::KY_BENCH_X11)
