# The release package: packs it into a folder of its own and checks what the
# users get.
if(NOT WIN32 OR NOT TARGET MorvaneX)
    return()
endif()

add_test(NAME release_package
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check_package.sh ${CMAKE_BINARY_DIR})
set_tests_properties(release_package PROPERTIES LABELS package TIMEOUT 300)
