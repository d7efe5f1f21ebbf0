# cmake -DSOURCE=... -DTARGET=... -P Gzip.cmake
# Compressed as Debian keeps manual pages: best compression, no name or time in the header.
execute_process(COMMAND gzip -9 -n -c "${SOURCE}" OUTPUT_FILE "${TARGET}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "gzip failed on ${SOURCE}")
endif()
