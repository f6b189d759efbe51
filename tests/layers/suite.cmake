# The include layers: the tree itself, and fixture trees whose planted
# includes the check must refuse (one to a higher folder, two siblings that
# include each other) or let pass (a folder's win32/ side above ui/).
if(WIN32)
    return() # one run is enough: the host build's
endif()

set(layer_check ${CMAKE_SOURCE_DIR}/cmake/LayerCheck.cmake)
add_test(NAME layer_check COMMAND ${CMAKE_COMMAND} -DMORVANE_LAYER_ROOT=${CMAKE_SOURCE_DIR}
                                  -P ${layer_check})
add_test(NAME layer_check_passes_downward
         COMMAND ${CMAKE_COMMAND} -DMORVANE_LAYER_ROOT=${CMAKE_CURRENT_LIST_DIR}/data/downward
                 -P ${layer_check})
add_test(NAME layer_check_refuses_upward
         COMMAND ${CMAKE_COMMAND} -DMORVANE_LAYER_ROOT=${CMAKE_CURRENT_LIST_DIR}/data/upward
                 -P ${layer_check})
set_tests_properties(layer_check_refuses_upward PROPERTIES PASS_REGULAR_EXPRESSION
    "shell/caption.cpp \\(shell, rank 2\\) includes cad_targets/target_file.h")
add_test(NAME layer_check_refuses_siblings
         COMMAND ${CMAKE_COMMAND} -DMORVANE_LAYER_ROOT=${CMAKE_CURRENT_LIST_DIR}/data/sibling
                 -P ${layer_check})
set_tests_properties(layer_check_refuses_siblings PROPERTIES PASS_REGULAR_EXPRESSION
    "cad/row_action.cpp \\(cad, rank 4\\) includes lisp/index.h.*lisp/index.h \\(lisp, rank 4\\) includes cad/row_action.h")
