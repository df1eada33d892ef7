# cmake -DSTRIP=... -DSTAGE=dir -P strip_stage.cmake: strips every program in
# the stage (the link already strips them; this holds for any added later).
file(GLOB programs ${STAGE}/*.exe)
foreach(program IN LISTS programs)
  execute_process(COMMAND ${STRIP} --strip-all ${program} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "could not strip ${program}")
  endif()
endforeach()
