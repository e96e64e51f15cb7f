add_sim_test(startup_tests
  ${CMAKE_CURRENT_LIST_DIR}/settings_file_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/probe_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/attach_tests.cpp
  ${PROJECT_SOURCE_DIR}/camera_plugin/startup/settings_file.cpp)
add_dependencies(startup_tests kelvora_probe)
