# The morvanex-index tool: its argument handling in-process, and the built
# program over the whole LISP corpus (under Wine in the Windows build).
if(NOT TARGET morvanex-index)
    return()
endif()

add_executable(morvanex_index_tests ${CMAKE_CURRENT_LIST_DIR}/index_tool_test.cpp)
target_link_libraries(morvanex_index_tests PRIVATE morvanex_index_lib morvane_test_support
                      ${GTEST_MAIN})
if(WIN32)
    add_test(NAME morvanex_index_tests_wine COMMAND morvanex_index_tests)
    set_tests_properties(morvanex_index_tests_wine PROPERTIES LABELS wine TIMEOUT 300)
else()
    gtest_discover_tests(morvanex_index_tests DISCOVERY_TIMEOUT 60)
endif()

set(lisp_corpus ${CMAKE_SOURCE_DIR}/../shared/corpus/lisp)
file(GLOB_RECURSE corpus_files ${lisp_corpus}/*.lsp ${lisp_corpus}/*.LSP ${lisp_corpus}/*.Lsp)
list(SORT corpus_files)
set(no_command_file "${lisp_corpus}/set-a/Install-INFO.lsp")

# name, expected exit code, arguments.
function(morvanex_index_case name expected)
    add_test(NAME morvanex_index_${name}
             COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:morvanex-index>
                     "-DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}" -DEXPECT=${expected}
                     "-DARGS=${ARGN}" -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/expect_exit.cmake)
    set_tests_properties(morvanex_index_${name} PROPERTIES TIMEOUT 300)
endfunction()

morvanex_index_case(corpus 0 ${corpus_files})
morvanex_index_case(no_command 1 ${no_command_file})
morvanex_index_case(usage 2 --out)
morvanex_index_case(missing_file 3 ${lisp_corpus}/no-such-file.lsp)

# In the Windows build: the exe under Wine against the native tool of the host
# build (build/host), byte for byte over the whole corpus and the fixtures.
if(WIN32)
    set(MORVANE_NATIVE_INDEX ${CMAKE_SOURCE_DIR}/build/host/tools/morvanex-index/morvanex-index
        CACHE FILEPATH "The native morvanex-index the Windows one is compared with")
    add_test(NAME morvanex_index_matches_native
             COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/compare_native.sh
                     $<TARGET_FILE:morvanex-index> ${MORVANE_NATIVE_INDEX}
                     ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${CMAKE_CURRENT_LIST_DIR}/data
                     ${lisp_corpus})
    set_tests_properties(morvanex_index_matches_native PROPERTIES LABELS wine TIMEOUT 600
                         SKIP_RETURN_CODE 77)
endif()
