# The per-frame benchmark, run by ctest so its figures appear in the test log.
file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_library(frame_bench SHARED ${BENCH_SOURCES})
target_link_libraries(frame_bench PRIVATE simsupport_core)
add_dependencies(frame_bench iii_kelvora gps fake_ginput simhost)
add_test(NAME frame_bench
  COMMAND ${PROJECT_SOURCE_DIR}/tools/wine_run.sh $<TARGET_FILE:simhost> $<TARGET_FILE:frame_bench>)
set_tests_properties(frame_bench PROPERTIES ENVIRONMENT "${WINE_ENVIRONMENT}" TIMEOUT 600)
