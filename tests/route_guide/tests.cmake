add_sim_test(route_guide_tests
  ${CMAKE_CURRENT_LIST_DIR}/attach_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hotkey_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/target_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/radar_route_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/angle_math_tests.cpp)
