# The CAD link across processes under Wine, against the stand-in CAD; with the
# main window, double-clicks and the ESC button end to end.
if(WIN32 AND TARGET standin_cad AND TARGET morvane_cad_win32)
    add_executable(cad_args_echo WIN32 ${CMAKE_CURRENT_LIST_DIR}/args_echo/args_echo.cpp)
    target_link_libraries(cad_args_echo PRIVATE morvane_platform)
    if(MINGW)
        target_link_options(cad_args_echo PRIVATE -municode)
    endif()

    file(GLOB cad_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
    if(NOT TARGET morvane_app)
        list(FILTER cad_test_sources EXCLUDE REGEX "form_cad_wine_test\\.cpp$")
    endif()
    add_executable(morvane_cad_tests ${cad_test_sources})
    target_link_libraries(morvane_cad_tests PRIVATE morvane_cad_win32 morvane_test_support
                          ${GTEST_LIB} ${GTEST_MAIN})
    if(TARGET morvane_app)
        target_link_libraries(morvane_cad_tests PRIVATE morvane_app)
    endif()
    # Wine finds host paths on drive Z:.
    if(CMAKE_CROSSCOMPILING)
        set(host_drive "Z:")
    endif()
    target_compile_definitions(morvane_cad_tests PRIVATE
        MORVANE_STANDIN_EXE="${host_drive}$<TARGET_FILE:standin_cad>"
        MORVANE_ARGS_ECHO_EXE="${host_drive}$<TARGET_FILE:cad_args_echo>")
    add_dependencies(morvane_cad_tests standin_cad cad_args_echo)
    add_test(NAME cad_link_wine COMMAND morvane_cad_tests)
    set_tests_properties(cad_link_wine PROPERTIES LABELS "wine;gui" TIMEOUT 600)
endif()

