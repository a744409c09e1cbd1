# The panel resource library of the grid tests.
add_library(lc_fixture_gridpanel SHARED)
ky_resources(lc_fixture_gridpanel ${CMAKE_CURRENT_LIST_DIR}/grid.rc)
ky_windows_name(lc_fixture_gridpanel KYGRDTST.PNL)
foreach(t lc_controls_gridcontrol_test lc_controls_celleditor_test lc_controls_fixeddecedit_test gridexchange_bench
          gridrepaint_bench)
  if(TARGET ${t})
    add_dependencies(${t} lc_fixture_gridpanel ky721lnc_eng)
  endif()
endforeach()
