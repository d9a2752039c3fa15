# Regenerates the level files into OUT and compares them byte for byte with
# the shipped ones.
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${TOOL} ${DESCRIPTIONS} ${OUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "make_levels failed: ${result}")
endif()
foreach(level 1 2 3 4 5)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/level${level}.dat
                          ${SHIPPED}/level${level}.dat RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "Data/level${level}.dat differs from what its description makes")
  endif()
endforeach()
