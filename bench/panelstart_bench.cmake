set(links ky721lc)
# The bare program is the start-up benchmark's (runnerstart_bench.cmake).
cmake_language(DEFER CALL add_dependencies panelstart_bench runnerstart_bare Drumlet aazqf_fn ky721lnc_eng)
cmake_language(DEFER CALL target_compile_definitions panelstart_bench PRIVATE
  KY_BENCH_BIN_DIR="${CMAKE_BINARY_DIR}/bin" KY_BENCH_DIR="${CMAKE_BINARY_DIR}/bench")
