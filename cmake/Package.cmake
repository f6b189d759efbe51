# The release package: MorvaneX-<version>-win64.zip with the launcher, the
# index and check tools, a sample command list (ANSI code page, CR LF), the LISP
# file its Morvane\ row loads and the users' README. No target list: the program
# ships none. Built by
# `cmake --build build/win --target package` or scripts/package.sh.
if(NOT TARGET MorvaneX)
    return()
endif()

set(release_programs MorvaneX)
foreach(tool morvanex-index morvanex-check)
    if(TARGET ${tool})
        list(APPEND release_programs ${tool})
    endif()
endforeach()
install(TARGETS ${release_programs} RUNTIME DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/resources/sample/MorvaneList.txt
              ${CMAKE_SOURCE_DIR}/resources/sample/dimtools.lsp
              ${MORVANE_GENERATED_DIR}/README-ja.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME MorvaneX)
set(CPACK_PACKAGE_VENDOR "MorvaneX developers")
set(CPACK_PACKAGE_VERSION ${MORVANE_DISPLAY_VERSION})
set(CPACK_PACKAGE_FILE_NAME MorvaneX-${MORVANE_DISPLAY_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
