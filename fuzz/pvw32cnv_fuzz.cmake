# The conversion library's reading is compiled into the fuzzer with coverage
# instrumentation; the image library under it is the system's.
pkg_check_modules(GRAPHICSMAGICK REQUIRED IMPORTED_TARGET GraphicsMagick)
set(pvcnv_dir ${CMAKE_SOURCE_DIR}/platform/pvw32cnv)
add_library(pvw32cnv_fuzz_sources OBJECT ${pvcnv_dir}/imagereader.cpp)
target_compile_options(pvw32cnv_fuzz_sources PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
target_include_directories(pvw32cnv_fuzz_sources PUBLIC ${pvcnv_dir} ${KY_PLATFORM_INCLUDE})
target_link_libraries(pvw32cnv_fuzz_sources PUBLIC PkgConfig::GRAPHICSMAGICK kernel32)
set(links pvw32cnv_fuzz_sources PkgConfig::GRAPHICSMAGICK kernel32)
