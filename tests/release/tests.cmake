add_sim_test(release_tests ${CMAKE_CURRENT_LIST_DIR}/version_tests.cpp)
target_link_libraries(release_tests PRIVATE version)
target_compile_definitions(release_tests PRIVATE
  KELVORA_VERSION="${PROJECT_VERSION}"
  KELVORA_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
  KELVORA_VERSION_MINOR=${PROJECT_VERSION_MINOR}
  KELVORA_VERSION_PATCH=${PROJECT_VERSION_PATCH})
add_dependencies(release_tests kelvora-ini player_package)
