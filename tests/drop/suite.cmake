# The drop benchmark: a program that prints how long a 1 MB LISP file takes
# from the drop to its question. Run it with tests/drop/run_bench.sh; it is no
# test, as its figure depends on the machine.
if(WIN32 AND TARGET morvane_app)
    add_executable(morvane_drop_bench ${CMAKE_CURRENT_LIST_DIR}/drop_bench.cpp)
    target_link_libraries(morvane_drop_bench PRIVATE morvane_app)
    target_include_directories(morvane_drop_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
endif()

# One drop from outside Wine through X11 drag and drop, on MorvaneX.exe.
if(WIN32 AND TARGET MorvaneX)
    add_test(NAME drop_xdnd_wine
             COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/xdnd_drop.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
    set_tests_properties(drop_xdnd_wine PROPERTIES LABELS "wine;gui;e2e" TIMEOUT 300 RUN_SERIAL TRUE)
endif()
