# End-to-end suite: the built launcher under Wine on an Xvfb display of its
# own, driven with real X input beside the stand-in CAD.
if(NOT WIN32 OR NOT TARGET MorvaneX OR NOT TARGET morvane-probe)
    return()
endif()

add_test(NAME e2e_wine
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run_e2e.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
set_tests_properties(e2e_wine PROPERTIES LABELS "wine;gui;e2e" TIMEOUT 1200 RUN_SERIAL TRUE)
