cmake_policy(VERSION 3.25)
# Writes OUT: every macro of the layer's windows.h, without the compiler's
# own, as plain #define lines. Resource scripts see Win32 through this file:
# windres understands macros but not the C++ declarations of the headers.
execute_process(COMMAND ${CPP} -dM -x c++ -std=c++20 -I${INC} ${INC}/windows.h
                OUTPUT_FILE ${OUT}.all RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot preprocess ${INC}/windows.h")
endif()
execute_process(COMMAND ${CPP} -dM -x c++ -std=c++20 /dev/null OUTPUT_FILE ${OUT}.builtin)
file(STRINGS ${OUT}.all all)
file(STRINGS ${OUT}.builtin builtin)
set(text "// Generated from the layer's windows.h for resource scripts; do not edit.\n")
foreach(line IN LISTS all)
  if(line IN_LIST builtin OR line MATCHES "^#define (NULL|_)" OR line MATCHES ";")
    continue()
  endif()
  string(APPEND text "${line}\n")
endforeach()
file(WRITE ${OUT} "${text}")
file(REMOVE ${OUT}.all ${OUT}.builtin)
