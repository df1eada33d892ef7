# cmake -DCHMCMD=... -DSTAGE=DIR -DOUT=FILE -P build_chm.cmake
#
# Compiles the help project in STAGE (topics, contents, index and project
# file, all code page 932) with chmcmd and copies the result to OUT. Any
# warning fails the build: chmcmd reports a link to a missing file as one
# and still writes the file.
execute_process(COMMAND ${CHMCMD} --verbosity 1 veldra6.hhp
  WORKING_DIRECTORY ${STAGE}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR output MATCHES "(Warning|Error|Fatal)" OR NOT EXISTS ${STAGE}/VELDRA6.CHM)
  message(FATAL_ERROR "chmcmd failed (exit ${result}):\n${output}")
endif()
configure_file(${STAGE}/VELDRA6.CHM ${OUT} COPYONLY)
