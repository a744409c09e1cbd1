# The panel resource library of the resource service tests.
add_library(lc_fixture_resources SHARED)
ky_resources(lc_fixture_resources ${CMAKE_CURRENT_LIST_DIR}/resources.rc)
ky_windows_name(lc_fixture_resources KYRESTST.PNL)
if(TARGET lc_app_resources_test)
  add_dependencies(lc_app_resources_test lc_fixture_resources)
endif()
# Tests that load the language library as the runner does.
foreach(t lc_app_resources_test lc_app_messages_test lc_app_mainframe_test lc_remote_err400_test)
  if(TARGET ${t})
    add_dependencies(${t} ky721lnc_eng)
  endif()
endforeach()
