# The ".gxt" tables: one generator program, run at build time; the stamp
# stands for the set of files it writes into bin/.
add_executable(ky_gxt_generator ${CMAKE_CURRENT_LIST_DIR}/GxtTableGenerator.cpp)
target_include_directories(ky_gxt_generator PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
# ICU's IBM converters stand in for the host code pages iconv lacks.
find_package(ICU REQUIRED COMPONENTS uc)
target_link_libraries(ky_gxt_generator PRIVATE ICU::uc)
if(TARGET lc_remote_codepages_test)
  target_link_libraries(lc_remote_codepages_test PRIVATE ICU::uc)
endif()
set_target_properties(ky_gxt_generator PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
set(ky_gxt_stamp ${CMAKE_BINARY_DIR}/tools/gxt_tables.stamp)
add_custom_command(OUTPUT ${ky_gxt_stamp}
  COMMAND ky_gxt_generator ${CMAKE_BINARY_DIR}/bin
  COMMAND ${CMAKE_COMMAND} -E touch ${ky_gxt_stamp}
  DEPENDS ky_gxt_generator
  COMMENT "code-page tables from iconv")
add_custom_target(ky_gxt_tables ALL DEPENDS ${ky_gxt_stamp})
add_dependencies(ky721lc ky_gxt_tables)
