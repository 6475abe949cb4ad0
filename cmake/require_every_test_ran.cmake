# Fails when CTest's JUnit report (-DREPORT=...) holds a test that did not
# run: on a throwaway Windows machine every test must run, none skipped.
file(READ "${REPORT}" report)
string(REGEX MATCHALL "<testcase name=\"[^\"]*\"[^>]*status=\"(notrun|disabled)\"" idle "${report}")
string(REGEX MATCHALL "<testcase name=\"[^\"]*\"" ran "${report}")
list(LENGTH ran count)
if(count EQUAL 0 OR idle)
  string(REGEX REPLACE "<testcase name=\"([^\"]*)\"[^;]*" "\\1" idle "${idle}")
  message(FATAL_ERROR "${count} tests in ${REPORT}; not run: ${idle}")
endif()
message(STATUS "all ${count} tests in ${REPORT} ran")
