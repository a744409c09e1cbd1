# The panel resource library of the frame tests (menu, command strings and
# button pictures).
add_library(lc_fixture_frame SHARED)
ky_resources(lc_fixture_frame ${CMAKE_CURRENT_LIST_DIR}/frame.rc)
ky_windows_name(lc_fixture_frame KYFRMTST.PNL)
foreach(t lc_panels_frames_test lc_panels_keyhook_test lc_panels_splitter_test lc_panels_dragdrop_test lc_panels_site_test
          lc_panels_help_test lc_panels_framemessages_test lc_panels_panelmouse_test lc_panels_tabbing_test)
  if(TARGET ${t})
    add_dependencies(${t} lc_fixture_frame ky721lnc_eng)
  endif()
endforeach()
