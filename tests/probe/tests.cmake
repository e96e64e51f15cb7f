# The probe DLL: the plug-in's start-up and host-writing sources with exports for tests.
add_library(kelvora_probe SHARED
  ${CMAKE_CURRENT_LIST_DIR}/probe.cpp
  ${PROJECT_SOURCE_DIR}/camera_plugin/startup/settings_file.cpp
  ${PROJECT_SOURCE_DIR}/camera_plugin/startup/plugin_directory.cpp
  ${PROJECT_SOURCE_DIR}/camera_plugin/startup/pad_bridge.cpp
  ${PROJECT_SOURCE_DIR}/camera_plugin/host/host_patch.cpp
  ${PROJECT_SOURCE_DIR}/camera_plugin/host/host_build.cpp)
target_include_directories(kelvora_probe PRIVATE ${PROJECT_SOURCE_DIR})
set_target_properties(kelvora_probe PROPERTIES PREFIX "" SUFFIX ".dll")
