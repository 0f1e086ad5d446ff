# Runs one fuzz target for SECONDS on a scratch copy of its seed corpus.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/artifacts)
file(GLOB seeds ${SEEDS}/*)
if(seeds)
  file(COPY ${seeds} DESTINATION ${WORK}/corpus)
endif()
execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -rss_limit_mb=2048 -timeout=20
          -artifact_prefix=${WORK}/artifacts/ ${WORK}/corpus
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "fuzzer failed (${result}); crashing inputs in ${WORK}/artifacts\n${output}")
endif()
string(REGEX MATCH "Done [0-9]+ runs[^\n]*" done "${output}")
message(STATUS "${done}")
