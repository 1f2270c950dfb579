# Runs the README's example and the command line on each pair of PAIRS ("master|source")
# and fails unless both print the same records, and at least one record.
file(MAKE_DIRECTORY ${HOME})
foreach(pair IN LISTS PAIRS)
  string(REPLACE "|" ";" files "${pair}")
  list(GET files 0 master)
  list(GET files 1 source)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env LINDREL_HOME=${HOME} ${EXAMPLE} ${master} ${source}
    OUTPUT_VARIABLE example RESULT_VARIABLE exampleStatus ERROR_VARIABLE exampleErrors)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env LINDREL_HOME=${HOME}
    ${CLI} files --format records ${master} ${source}
    OUTPUT_VARIABLE cli RESULT_VARIABLE cliStatus)
  if(NOT exampleStatus EQUAL 0)
    message(FATAL_ERROR "the example failed on ${pair}: ${exampleStatus} ${exampleErrors}")
  endif()
  if(example STREQUAL "")
    message(FATAL_ERROR "the example printed no record for ${pair}")
  endif()
  if(NOT cliStatus EQUAL 1 OR NOT example STREQUAL cli)
    message(FATAL_ERROR "${pair}: the example printed\n${example}\nthe command line (${cliStatus})\n${cli}")
  endif()
endforeach()
