# The camera probe: the plug-in's camera sources with exports that stand in for the aiming
# hook (which writes the aim flags the on-foot dispatch and the predicates read).
file(GLOB CAMERA_PROBE_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/camera_plugin/camera/*.cpp
  ${PROJECT_SOURCE_DIR}/camera_plugin/host/*.cpp)
add_library(camera_probe SHARED
  ${CMAKE_CURRENT_LIST_DIR}/camera_probe.cpp
  ${CAMERA_PROBE_SOURCES}
  ${PROJECT_SOURCE_DIR}/camera_plugin/aiming/aim_state.cpp
  ${PROJECT_SOURCE_DIR}/camera_plugin/startup/settings_file.cpp
  ${PROJECT_SOURCE_DIR}/camera_plugin/startup/plugin_directory.cpp
  ${PROJECT_SOURCE_DIR}/camera_plugin/startup/pad_bridge.cpp)
target_include_directories(camera_probe PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(camera_probe PRIVATE -fno-exceptions)
set_target_properties(camera_probe PROPERTIES PREFIX "" SUFFIX ".dll")

file(GLOB CAMERA_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_tests.cpp)
add_sim_test(camera_tests ${CMAKE_CURRENT_LIST_DIR}/camera_test_support.cpp ${CAMERA_TEST_SOURCES})
add_dependencies(camera_tests camera_probe)
# The benchmark times the aiming camera through the probe.
add_dependencies(frame_bench camera_probe)
