# The CAD link across processes under Wine, against the stand-in CAD.
if(WIN32 AND TARGET standin_cad AND TARGET morvane_cad_win32)
    file(GLOB cad_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
    add_executable(morvane_cad_tests ${cad_test_sources})
    target_link_libraries(morvane_cad_tests PRIVATE morvane_cad_win32 morvane_test_support
                          ${GTEST_LIB} ${GTEST_MAIN})
    # Wine finds host paths on drive Z:.
    if(CMAKE_CROSSCOMPILING)
        set(standin_prefix "Z:")
    endif()
    target_compile_definitions(morvane_cad_tests PRIVATE
        MORVANE_STANDIN_EXE="${standin_prefix}$<TARGET_FILE:standin_cad>")
    add_dependencies(morvane_cad_tests standin_cad)
    add_test(NAME cad_link_wine COMMAND morvane_cad_tests)
    set_tests_properties(cad_link_wine PROPERTIES LABELS "wine;gui" TIMEOUT 600)
endif()
