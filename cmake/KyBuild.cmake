# Build helpers shared by every library of the project.

# ky_library(NAME <target> [SHARED|STATIC] SOURCES ... [LINK ...] [INCLUDE ...])
# Sources default to every *.cpp beside the calling CMakeLists.txt.
function(ky_library)
  cmake_parse_arguments(A "STATIC" "NAME" "SOURCES;LINK;INCLUDE;PRIVATE_LINK" ${ARGN})
  if(NOT A_SOURCES)
    file(GLOB A_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  endif()
  if(NOT A_SOURCES)
    return()  # a library folder that has no code yet
  endif()
  if(A_STATIC)
    add_library(${A_NAME} STATIC ${A_SOURCES})
  else()
    add_library(${A_NAME} SHARED ${A_SOURCES})
  endif()
  target_include_directories(${A_NAME} PUBLIC ${A_INCLUDE} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${A_NAME} PUBLIC ${A_LINK} PRIVATE ${A_PRIVATE_LINK})
endfunction()

# Test programs are compiled without optimisation (their own code only
# drives the libraries, which keep theirs; optimising GoogleTest's expanded
# macros was half of the build's time) and share one precompiled header of
# GoogleTest, GoogleMock and the standard headers. The header's own target is
# a program with the same options (-O0, -fPIE), as a precompiled header is
# only used by compiles whose options match it.
function(ky_test_compile_options TARGET)
  if(KY_BUILD_FUZZ)
    return()
  endif()
  target_compile_options(${TARGET} PRIVATE -O0)
  if(NOT TARGET ky_test_pch)
    set(main ${CMAKE_BINARY_DIR}/ky_test_pch.cpp)
    if(NOT EXISTS ${main})
      file(WRITE ${main} "int main() { return 0; }\n")
    endif()
    add_executable(ky_test_pch EXCLUDE_FROM_ALL ${main})
    target_compile_options(ky_test_pch PRIVATE -O0)
    target_link_libraries(ky_test_pch PRIVATE GTest::gtest GTest::gmock)
    target_precompile_headers(ky_test_pch PRIVATE
      <gtest/gtest.h> <gmock/gmock.h>
      <algorithm> <array> <atomic> <chrono> <cstdint> <cstdio> <cstdlib> <cstring>
      <filesystem> <fstream> <functional> <map> <memory> <optional> <set>
      <sstream> <string> <string_view> <thread> <utility> <vector>)
  endif()
  target_precompile_headers(${TARGET} REUSE_FROM ky_test_pch)
endfunction()

# ky_tests(<library> [DIR <folder>] [PREFIX <name>] [LINK ...])
# Every <folder>/tests/*_test.cpp (folder: the calling CMakeLists.txt's by
# default) becomes its own test program <prefix>_<file>, so that one test file
# failing to build holds up no other. Fixture files in tests/data/ are found
# through KY_TEST_DATA; KY_BIN_DIR is where the libraries are built.
function(ky_tests LIB)
  cmake_parse_arguments(A "" "DIR;PREFIX" "LINK" ${ARGN})
  if(NOT TARGET ${LIB})
    return()
  endif()
  if(NOT A_DIR)
    set(A_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  if(NOT A_PREFIX)
    set(A_PREFIX ${LIB})
  endif()
  file(GLOB tests CONFIGURE_DEPENDS ${A_DIR}/tests/*_test.cpp)
  foreach(src ${tests})
    get_filename_component(stem ${src} NAME_WE)
    set(t ${A_PREFIX}_${stem})
    add_executable(${t} ${src})
    ky_test_compile_options(${t})
    target_link_libraries(${t} PRIVATE ${LIB} ${A_LINK} GTest::gtest GTest::gmock GTest::gtest_main)
    target_include_directories(${t} PRIVATE ${A_DIR} ${A_DIR}/tests)
    target_compile_definitions(${t} PRIVATE KY_TEST_DATA="${A_DIR}/tests/data"
                                           KY_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
    set_target_properties(${t} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${t} COMMAND ${t})
    set(env "KY_WIN_INI=${CMAKE_BINARY_DIR}/tests/${t}.WIN.INI;KY_MESSAGEBOX_QUIET=1")
    if(KY_SANITIZE)
      list(APPEND env "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/cmake/lsan.supp")
      # Every module with resources exports its own ky_resource_blob, found
      # through the module's handle; ASan would call the same name in two
      # loaded modules an ODR violation.
      list(APPEND env "ASAN_OPTIONS=detect_odr_violation=0")
    endif()
    set_tests_properties(${t} PROPERTIES ENVIRONMENT "${env}")
  endforeach()
endfunction()

# ky_test_code_pages(<test> <page>...)
# Runs the test program <test> once more under each ANSI code page given
# (KY_ACP, which a process reads once), as test <test>_<page> with the
# environment of <test>.
function(ky_test_code_pages TEST)
  if(NOT TEST ${TEST})
    return()
  endif()
  get_test_property(${TEST} ENVIRONMENT env)
  foreach(page ${ARGN})
    add_test(NAME ${TEST}_${page} COMMAND ${TEST})
    set_tests_properties(${TEST}_${page} PROPERTIES ENVIRONMENT "${env};KY_ACP=${page}")
  endforeach()
endfunction()

# ky_resources(<target> <file.rc> [INCLUDE dirs...])
# Compiles the .rc file with windres into the standard .res format and embeds
# the bytes into <target> under the exported symbol ky_resource_blob (with
# ky_resource_blob_size), where the resource functions of the layer find them.
# The .rc file is read as UTF-8 like every other source here; a
# "#pragma code_page(1252)" in the file switches it back to Windows' default.
# Headers the .rc includes are tracked through the preprocessor's depfile.
function(ky_resources TARGET RC)
  cmake_parse_arguments(A "" "" "INCLUDE" ${ARGN})
  find_program(KY_WINDRES NAMES x86_64-w64-mingw32-windres windres REQUIRED)
  # One image per module: a second would define the same two symbols.
  get_target_property(previous ${TARGET} KY_RESOURCE_FILE)
  if(previous)
    message(FATAL_ERROR "ky_resources: ${TARGET} already has ${previous}; put everything in one .rc file")
  endif()
  set_target_properties(${TARGET} PROPERTIES KY_RESOURCE_FILE ${RC})
  get_filename_component(rc_abs ${RC} ABSOLUTE)
  get_filename_component(stem ${RC} NAME_WE)
  set(res ${CMAKE_CURRENT_BINARY_DIR}/${TARGET}_${stem}.res)
  set(cpp ${CMAKE_CURRENT_BINARY_DIR}/${TARGET}_${stem}_res.cpp)
  # The Win32 headers come first in their macro-only form (see ky_rc_defines).
  set(incs --include-dir=${CMAKE_CURRENT_SOURCE_DIR}
           --include-dir=${CMAKE_SOURCE_DIR}/cmake/rcinclude --include-dir=${CMAKE_BINARY_DIR}/rcinclude
           --include-dir=${CMAKE_SOURCE_DIR}/platform/include)
  foreach(d ${A_INCLUDE})
    list(APPEND incs --include-dir=${d})
  endforeach()
  add_custom_command(OUTPUT ${res}
    COMMAND ${KY_WINDRES} --preprocessor=cpp --preprocessor-arg=-P
            --preprocessor-arg=-MD --preprocessor-arg=-MF --preprocessor-arg=${res}.d
            --preprocessor-arg=-MT --preprocessor-arg=${res}
            ${incs} --codepage=65001 -D RC_INVOKED -O res -i ${rc_abs} -o ${res}
    DEPENDS ${rc_abs} ${CMAKE_BINARY_DIR}/rcinclude/ky_rc_defines.h
    DEPFILE ${res}.d
    COMMENT "windres ${RC}")
  add_custom_command(OUTPUT ${cpp}
    COMMAND ${CMAKE_COMMAND} -DIN=${res} -DOUT=${cpp} -P ${CMAKE_SOURCE_DIR}/cmake/EmbedBlob.cmake
    DEPENDS ${res} ${CMAKE_SOURCE_DIR}/cmake/EmbedBlob.cmake)
  target_sources(${TARGET} PRIVATE ${cpp})
  add_dependencies(${TARGET} ky_rc_defines)
  get_target_property(type ${TARGET} TYPE)
  if(type STREQUAL "EXECUTABLE")
    # A program's symbols are not dynamic by default; export just the blob
    # (not everything, as ENABLE_EXPORTS would) so that dlsym on the program
    # finds it and no other symbol of the program interposes a library's.
    target_link_options(${TARGET} PRIVATE
      LINKER:--export-dynamic-symbol=ky_resource_blob
      LINKER:--export-dynamic-symbol=ky_resource_blob_size)
  endif()
endfunction()

# ky_windows_name(<target> <FILE.NAME>)
# Gives a shared library the Windows file name under which the run-time loads
# it by name (no "lib" prefix, no ".so"), e.g. "AAZQF.DLL" or "KY721LNC.ENG".
function(ky_windows_name TARGET FILENAME)
  set_target_properties(${TARGET} PROPERTIES PREFIX "" SUFFIX "" OUTPUT_NAME ${FILENAME})
endfunction()

# ky_bench(<name> <source> LINK ...)
function(ky_bench NAME SRC)
  cmake_parse_arguments(A "" "" "LINK" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${NAME} ${SRC})
  target_link_libraries(${NAME} PRIVATE ${A_LINK} benchmark::benchmark benchmark::benchmark_main)
  set_target_properties(${NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

# ky_rc_defines(): the macro-only form of the layer's Win32 headers that
# resource scripts include (#include <windows.h> in a .rc file), regenerated
# when a header changes. Called once from the top-level CMakeLists.txt.
function(ky_rc_defines)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/include/*.h)
  set(out ${CMAKE_BINARY_DIR}/rcinclude/ky_rc_defines.h)
  find_program(KY_CPP NAMES cpp REQUIRED)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/rcinclude
    COMMAND ${CMAKE_COMMAND} -DCPP=${KY_CPP} -DINC=${CMAKE_SOURCE_DIR}/platform/include -DOUT=${out}
            -P ${CMAKE_SOURCE_DIR}/cmake/RcDefines.cmake
    DEPENDS ${headers} ${CMAKE_SOURCE_DIR}/cmake/RcDefines.cmake
    COMMENT "macro-only Win32 headers for resource scripts")
  add_custom_target(ky_rc_defines DEPENDS ${out})
endfunction()
