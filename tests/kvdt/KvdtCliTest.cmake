# End to end through the real program under Wine:
#   the build-time file dumps to the expected text; that text builds a file
#   which dumps to the same text again; bad input fails with one line on
#   stderr and writes nothing.
# Arguments: WINE_RUN, KVDT, SAMPLE (made by brisvane_kvdt_build), EXPECTED,
# WORK (a scratch folder). Paths are Unix paths, as build scripts pass them.

function(run_kvdt result_var out_var err_var)
  execute_process(COMMAND ${WINE_RUN} ${KVDT} ${ARGN}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(${result_var} "${result}" PARENT_SCOPE)
  set(${out_var} "${out}" PARENT_SCOPE)
  set(${err_var} "${err}" PARENT_SCOPE)
endfunction()

function(expect_success what result err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${what} failed (${result}): ${err}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

# The file made at build time, dumped to stdout.
run_kvdt(result dumped err dump ${SAMPLE})
expect_success("dump of the build-time file" "${result}" "${err}")
file(READ ${EXPECTED} expected)
if(NOT dumped STREQUAL expected)
  file(WRITE ${WORK}/dumped.json "${dumped}")
  message(FATAL_ERROR "dump of ${SAMPLE} differs from ${EXPECTED}: see ${WORK}/dumped.json")
endif()

# Text to file and back, the second dump written to a file.
file(WRITE ${WORK}/first.json "${dumped}")
run_kvdt(result out err build ${WORK}/first.json ${WORK}/rebuilt.kvdt --depfile ${WORK}/rebuilt.d)
expect_success("build of the dumped text" "${result}" "${err}")
run_kvdt(result out err dump ${WORK}/rebuilt.kvdt ${WORK}/second.json)
expect_success("dump of the rebuilt file" "${result}" "${err}")
file(READ ${WORK}/second.json second)
if(NOT second STREQUAL dumped)
  message(FATAL_ERROR "dump -> build -> dump is not stable: compare ${WORK}/first.json and ${WORK}/second.json")
endif()
file(READ ${WORK}/rebuilt.d depfile)
string(FIND "${depfile}" "${WORK}/rebuilt.kvdt:" target_at)
string(FIND "${depfile}" "${WORK}/first.json" source_at)
if(NOT target_at EQUAL 0 OR source_at LESS 0)
  message(FATAL_ERROR "dependency file does not name the output and the text in Unix form:\n${depfile}")
endif()

# Bad input: a non-zero exit, one line on stderr that names the fault, no file.
file(WRITE ${WORK}/bad.json "{\"values\": {\"logo\": {\"Buffer\": \"89 5\"}}}\n")
# Each case: the expected message, then the arguments.
set(bad_cases
  "bad hex|build|${WORK}/bad.json|${WORK}/bad.kvdt"
  "cannot read the file|build|${WORK}/missing.json|${WORK}/bad.kvdt"
  "not a data-tree file|dump|${WORK}/bad.json"
  "cannot read the file|dump|${WORK}/missing.kvdt")
foreach(case ${bad_cases})
  string(REPLACE "|" ";" arguments "${case}")
  list(POP_FRONT arguments message)
  list(GET arguments 0 command)
  list(GET arguments 1 input)
  run_kvdt(result out err ${arguments})
  if(result EQUAL 0)
    message(FATAL_ERROR "kvdt ${command} ${input} succeeded on bad input")
  endif()
  string(FIND "${err}" "${message}" message_at)
  string(REGEX MATCHALL "\n" line_ends "${err}")
  list(LENGTH line_ends lines)
  if(message_at LESS 0 OR NOT lines EQUAL 1)
    message(FATAL_ERROR "kvdt ${command} ${input}: expected one line with \"${message}\" on stderr, got:\n${err}")
  endif()
endforeach()
if(EXISTS ${WORK}/bad.kvdt)
  message(FATAL_ERROR "a failed build left ${WORK}/bad.kvdt behind")
endif()

# Wrong arguments: the usage, and a distinct exit code.
run_kvdt(result out err frobnicate)
if(NOT result EQUAL 2 OR NOT err MATCHES "usage: kvdt dump")
  message(FATAL_ERROR "wrong arguments gave ${result}: ${err}")
endif()
