# The reader is compiled into the fuzzer with coverage instrumentation; it
# needs nothing but the C++ library.
add_library(panel_controltable_fuzz_sources OBJECT ${CMAKE_SOURCE_DIR}/src/lc/panels/KyControlTable.cpp)
target_compile_options(panel_controltable_fuzz_sources PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
target_include_directories(panel_controltable_fuzz_sources PUBLIC ${CMAKE_SOURCE_DIR}/src/lc/panels)
set(links panel_controltable_fuzz_sources)
