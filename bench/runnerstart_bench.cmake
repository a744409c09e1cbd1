set(links ky721lc)
# The bare program: the runner's shared libraries (kept even though it calls
# little of them) and the two libraries it loads by name, nothing else.
add_executable(runnerstart_bare ${CMAKE_CURRENT_LIST_DIR}/runnerstart_bare.cpp)
target_link_options(runnerstart_bare PRIVATE -Wl,--no-as-needed)
target_link_libraries(runnerstart_bare PRIVATE afx ky721lc ky721nwi)
set_target_properties(runnerstart_bare PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
cmake_language(DEFER CALL add_dependencies runnerstart_bench runnerstart_bare Drumlet sample_fn ky721lnc_eng)
cmake_language(DEFER CALL target_compile_definitions runnerstart_bench PRIVATE
  KY_BENCH_BIN_DIR="${CMAKE_BINARY_DIR}/bin" KY_BENCH_DIR="${CMAKE_BINARY_DIR}/bench")
