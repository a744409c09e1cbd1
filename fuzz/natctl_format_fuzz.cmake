# The native library's formatting and the custom library's engine under it
# are compiled into the fuzzer with coverage instrumentation; the rest of
# ky721nwi (its module state and window utilities) comes from the library.
set(nwi_dir ${CMAKE_SOURCE_DIR}/src/nwi)
set(natctl_dir ${CMAKE_SOURCE_DIR}/src/natctl)
add_library(natctl_format_fuzz_sources OBJECT
  ${natctl_dir}/natformat.cpp ${nwi_dir}/formatdata.cpp
  ${nwi_dir}/editmask.cpp ${nwi_dir}/numberformat.cpp ${nwi_dir}/numberedit.cpp
  ${nwi_dir}/datetime.cpp ${nwi_dir}/datetext.cpp ${nwi_dir}/dateedit.cpp
  ${nwi_dir}/intlsettings.cpp ${nwi_dir}/datatypes.cpp)
target_compile_options(natctl_format_fuzz_sources PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
target_include_directories(natctl_format_fuzz_sources PUBLIC ${nwi_dir} ${natctl_dir})
target_link_libraries(natctl_format_fuzz_sources PUBLIC ky721nwi user32 kernel32 msvcrt)
set(links natctl_format_fuzz_sources ky721nwi user32 kernel32 msvcrt)
