add_sim_test(integration_tests ${CMAKE_CURRENT_LIST_DIR}/all_sites_tests.cpp)
