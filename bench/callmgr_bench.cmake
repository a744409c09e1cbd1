set(links ky721lc)
# The test function libraries it calls are built with the call tests.
cmake_language(DEFER CALL add_dependencies callmgr_bench lc_call_fixtures)
