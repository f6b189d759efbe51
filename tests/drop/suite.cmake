# One drop from outside Wine through X11 drag and drop, on MorvaneX.exe.
if(WIN32 AND TARGET MorvaneX)
    add_test(NAME drop_xdnd_wine
             COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/xdnd_drop.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
    set_tests_properties(drop_xdnd_wine PROPERTIES LABELS "wine;gui;e2e" TIMEOUT 300 RUN_SERIAL TRUE)
endif()
