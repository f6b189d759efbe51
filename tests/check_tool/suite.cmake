# The morvanex-check tool: its rules in-process on the fixture folders under
# data/ (natively), and the built program on a few of them, natively and
# under Wine, the latter also against the stand-in CAD.
if(NOT TARGET morvanex-check OR NOT TARGET morvanex-index)
    return()
endif()

set(check_data ${CMAKE_CURRENT_LIST_DIR}/data)

if(NOT WIN32)
    add_executable(morvanex_check_tests ${CMAKE_CURRENT_LIST_DIR}/check_tool_test.cpp)
    target_link_libraries(morvanex_check_tests PRIVATE morvanex_check_rules morvane_test_support
                          ${GTEST_MAIN})
    target_compile_definitions(morvanex_check_tests PRIVATE
                               MORVANE_CHECK_DATA_DIR="${check_data}")
    gtest_discover_tests(morvanex_check_tests DISCOVERY_TIMEOUT 60)
endif()

# The exes under Wine: --cad against the stand-in CAD, both tools' output on
# a console of the test's own and in a folder of a long path.
if(WIN32 AND TARGET standin_cad AND TARGET morvanex_check_win32)
    add_executable(morvanex_check_cad_tests ${CMAKE_CURRENT_LIST_DIR}/check_cad_wine_test.cpp
                                            ${CMAKE_CURRENT_LIST_DIR}/check_console_wine_test.cpp
                                            ${CMAKE_CURRENT_LIST_DIR}/check_hotkey_wine_test.cpp
                                            ${CMAKE_CURRENT_LIST_DIR}/tools_long_path_wine_test.cpp
                                            ${CMAKE_CURRENT_LIST_DIR}/../cad/standin_process.cpp)
    target_link_libraries(morvanex_check_cad_tests PRIVATE morvanex_check_win32
                          morvane_test_support ${GTEST_MAIN})
    # Wine finds host paths on drive Z:.
    target_compile_definitions(morvanex_check_cad_tests PRIVATE
        MORVANE_STANDIN_EXE="Z:$<TARGET_FILE:standin_cad>"
        MORVANE_CHECK_EXE="Z:$<TARGET_FILE:morvanex-check>"
        MORVANE_INDEX_EXE="Z:$<TARGET_FILE:morvanex-index>"
        MORVANE_CHECK_DATA_DIR="Z:${check_data}")
    add_dependencies(morvanex_check_cad_tests standin_cad morvanex-check morvanex-index)
    add_test(NAME morvanex_check_cad_wine COMMAND morvanex_check_cad_tests)
    set_tests_properties(morvanex_check_cad_wine PROPERTIES LABELS "wine;gui" TIMEOUT 300)
endif()

# name, expected exit code, expected text in the output, arguments.
function(morvanex_check_case name expected text)
    add_test(NAME morvanex_check_${name}
             COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:morvanex-check>
                     "-DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}" -DEXPECT=${expected}
                     "-DTEXT=${text}" "-DARGS=${ARGN}"
                     -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/expect_output.cmake)
    set_tests_properties(morvanex_check_${name} PROPERTIES TIMEOUT 120)
    if(WIN32)
        set_tests_properties(morvanex_check_${name} PROPERTIES LABELS wine)
    endif()
endfunction()

morvanex_check_case(clean 0 "^0 errors, 0 warnings\n$" ${check_data}/clean --lang en)
morvanex_check_case(missing_lisp 1 "MorvaneList.txt:2: error: LISP file not found: .*missing.lsp"
                    ${check_data}/missing_files --lang en)
morvanex_check_case(encoding 1 "MorvaneList.txt:2: error: bytes not valid in code page 932"
                    ${check_data}/encoding --lang en)
if(WIN32)
    # Wine's user interface language follows its locale, ja_JP.UTF-8.
    morvanex_check_case(user_language 1
                        "MorvaneList.txt:2: error: LISP ファイルが見つかりません: .*missing.lsp"
                        ${check_data}/missing_files)
else()
    morvanex_check_case(cad_usage 2 "--cad works on Windows only" ${check_data}/clean --cad
                        --lang en)
    # The locale of messages: LC_ALL, else LC_MESSAGES, else LANG.
    morvanex_check_case(lang_japanese 0 "^エラー 0 件、警告 0 件\n$" ${check_data}/clean)
    morvanex_check_case(lc_all_first 0 "^0 errors, 0 warnings\n$" ${check_data}/clean)
    morvanex_check_case(lc_messages_before_lang 0 "^エラー 0 件、警告 0 件\n$"
                        ${check_data}/clean)
    set_tests_properties(morvanex_check_lang_japanese PROPERTIES
                         ENVIRONMENT "LC_ALL=;LC_MESSAGES=;LANG=ja_JP.UTF-8")
    set_tests_properties(morvanex_check_lc_all_first PROPERTIES
                         ENVIRONMENT "LC_ALL=C;LC_MESSAGES=ja_JP.UTF-8;LANG=ja_JP.UTF-8")
    set_tests_properties(morvanex_check_lc_messages_before_lang PROPERTIES
                         ENVIRONMENT "LC_ALL=;LC_MESSAGES=ja_JP.UTF-8;LANG=en_US.UTF-8")
endif()
