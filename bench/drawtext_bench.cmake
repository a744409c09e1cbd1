pkg_check_modules(KY_BENCH_CAIRO REQUIRED IMPORTED_TARGET cairo)
set(links user32 gdi32 PkgConfig::KY_BENCH_CAIRO)
