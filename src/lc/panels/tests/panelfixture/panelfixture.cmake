# The panel resource library of the panel and control tests.
add_library(lc_fixture_panel SHARED)
ky_resources(lc_fixture_panel ${CMAKE_CURRENT_LIST_DIR}/panel.rc)
ky_windows_name(lc_fixture_panel KYPNLTST.PNL)
foreach(t lc_panels_panel_test lc_panels_vbx_test lc_panels_activex_test lc_panels_statelayout_test lc_controls_control_test
          lc_controls_exchange_test lc_app_staticapi_test lc_controls_plaincontrols_test lc_panels_controltable_test
          lc_controls_edittrim_dbcs_test
          panelopen_bench)
  if(TARGET ${t})
    add_dependencies(${t} lc_fixture_panel ky721lnc_eng)
  endif()
endforeach()
