add_sim_test(integration_tests
  ${CMAKE_CURRENT_LIST_DIR}/all_sites_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shared_flags_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_file_effect_tests.cpp
  ${PROJECT_SOURCE_DIR}/tests/aiming/aiming_scene.cpp)
