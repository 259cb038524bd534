# Small runs of every benchmark, each of which fails when its run was incomplete.
function(run_bench)
  execute_process(COMMAND ${RUNNER} ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output
                  ERROR_VARIABLE errors)
  message(STATUS "${ARGN}\n${output}${errors}")
  if(NOT status EQUAL 0 OR NOT output MATCHES "RESULT ")
    message(FATAL_ERROR "benchmark run failed (${status})")
  endif()
endfunction()

run_bench(${FLOOR} 200 inproc passes)
run_bench(${WINDOW_CALL} 200 inproc)
run_bench(${IMPORT} program 200 inproc ${PROGRAM})
run_bench(${IMPORT} script 200 inproc ${SCRIPT})
# The goal for the calls a run makes across processes: at most 13.9 round trips per
# appointment over a whole-calendar range.
run_bench(${IMPORT} program 200 local ${PROGRAM} --max-round-trips=13.9)
run_bench(${IMPORT} script 60 local ${SCRIPT})
