# Paints every picture into OUT and compares it byte for byte with GRAPHICS.
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${PAINT} ${OUT} RESULT_VARIABLE painted)
if(NOT painted EQUAL 0)
  message(FATAL_ERROR "the picture tool failed (${painted})")
endif()
set(pictures zqfont.fnt mmenu.bgr backg1.bgr backg2.bgr backg3.bgr backg4.bgr briefscrn.bgr
             endgame.bgr zqsprite.spr crymsg.spr)
foreach(name ${pictures})
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/${name} ${GRAPHICS}/${name}
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "Graphics/${name} is not what the picture tool paints; "
                        "run halvane_paint Graphics and commit the result")
  endif()
endforeach()
