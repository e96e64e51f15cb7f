add_sim_test(aiming_tests
  ${CMAKE_CURRENT_LIST_DIR}/aiming_scene.cpp
  ${CMAKE_CURRENT_LIST_DIR}/aiming_hook_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pad_override_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/crosshair_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls_page_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/player_state_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/install_tests.cpp)
