# The mask and picture readers are compiled into the fuzzer itself with
# coverage instrumentation, so that libFuzzer sees their branches (a linked
# ky721nwi would be opaque to it). They need only the kernel and C run-time
# parts of the layer, and user32 for the case mapping of date texts.
set(nwi_dir ${CMAKE_SOURCE_DIR}/src/nwi)
add_library(nwi_mask_fuzz_sources OBJECT
  ${nwi_dir}/editmask.cpp ${nwi_dir}/numberformat.cpp ${nwi_dir}/numberedit.cpp
  ${nwi_dir}/datetime.cpp ${nwi_dir}/datetext.cpp ${nwi_dir}/dateedit.cpp
  ${nwi_dir}/intlsettings.cpp ${nwi_dir}/datatypes.cpp)
target_compile_options(nwi_mask_fuzz_sources PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
target_include_directories(nwi_mask_fuzz_sources PUBLIC ${nwi_dir})
target_link_libraries(nwi_mask_fuzz_sources PUBLIC kernel32 user32 msvcrt)
set(links nwi_mask_fuzz_sources kernel32 user32 msvcrt)
