set(links ky721Ax)
# The gauge control and the JScript engine, found in the libraries' folder.
cmake_language(DEFER CALL add_dependencies scriptcall_bench kygauge jscript)
cmake_language(DEFER CALL target_compile_definitions scriptcall_bench PRIVATE KY_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
cmake_language(DEFER CALL target_include_directories scriptcall_bench PRIVATE ${CMAKE_SOURCE_DIR}/platform/include)
