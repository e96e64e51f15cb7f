cmake_minimum_required(VERSION 3.20)
# Runs the settings fuzzer for a bounded time on a working copy of the seed corpus.
file(MAKE_DIRECTORY ${CORPUS})
execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -max_len=65536 -timeout=10
          -print_final_stats=1 ${CORPUS} ${SEEDS}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "settings fuzzer failed (${result})")
endif()
