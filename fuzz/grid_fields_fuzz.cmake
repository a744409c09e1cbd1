# The reader is compiled into the fuzzer with coverage instrumentation; it
# needs nothing but the C++ library.
add_library(grid_fields_fuzz_sources OBJECT ${CMAKE_SOURCE_DIR}/src/lc/controls/KyGridFields.cpp)
target_compile_options(grid_fields_fuzz_sources PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
target_include_directories(grid_fields_fuzz_sources PUBLIC ${CMAKE_SOURCE_DIR}/src/lc/controls)
set(links grid_fields_fuzz_sources)
