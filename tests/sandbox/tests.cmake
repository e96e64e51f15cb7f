# The sandbox run on shipped scenarios: properties of what it records follow the plug-ins'
# rules, and malformed scenarios are named by file and line.
add_sim_test(sandbox_tests ${CMAKE_CURRENT_LIST_DIR}/sandbox_tests.cpp)
target_link_libraries(sandbox_tests PRIVATE sandbox_core)
target_compile_definitions(sandbox_tests PRIVATE
  SANDBOX_SCENARIO_DIR="Z:${PROJECT_SOURCE_DIR}/tools/sandbox/scenarios")
