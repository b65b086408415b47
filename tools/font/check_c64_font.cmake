# Runs the font generator into a scratch file and compares it byte for byte
# with the committed font.
# Variables: PYTHON, GENERATOR, GLYPHS, COMMITTED, SCRATCH.
execute_process(
  COMMAND ${PYTHON} ${GENERATOR} ${GLYPHS} ${SCRATCH}
  RESULT_VARIABLE generated
  ERROR_VARIABLE errors)
if(NOT generated EQUAL 0)
  message(FATAL_ERROR "The font generator failed (${generated}): ${errors}")
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} -E compare_files ${SCRATCH} ${COMMITTED}
  RESULT_VARIABLE different)
if(NOT different EQUAL 0)
  message(FATAL_ERROR "${COMMITTED} differs from what the generator makes of ${GLYPHS}; "
                      "rebuild it with the c64-font target and commit it")
endif()
