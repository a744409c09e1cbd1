set(links ky721Ax)
# The gauge control the benchmark hosts, found in the libraries' folder.
cmake_language(DEFER CALL add_dependencies axproperty_bench kygauge)
cmake_language(DEFER CALL target_compile_definitions axproperty_bench PRIVATE KY_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
cmake_language(DEFER CALL target_include_directories axproperty_bench PRIVATE ${CMAKE_SOURCE_DIR}/platform/include)
