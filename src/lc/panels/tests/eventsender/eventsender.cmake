# The second process of the panel event tests.
add_executable(lc_panels_eventsender ${CMAKE_CURRENT_LIST_DIR}/eventsender.cpp)
target_link_libraries(lc_panels_eventsender PRIVATE ky721ZuntExt user32 kernel32)
set_target_properties(lc_panels_eventsender PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
if(TARGET lc_panels_events_test)
  add_dependencies(lc_panels_events_test lc_panels_eventsender lc_fixture_panel ky721lnc_eng)
endif()
