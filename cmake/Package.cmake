# The release package: MorvaneX-<version>-win64.zip with the launcher, the
# index tool, a sample command list (ANSI code page, CR LF) and the users'
# README. No target list: the program ships none. Built by
# `cmake --build build/win --target package` or scripts/package.sh.
if(NOT TARGET MorvaneX)
    return()
endif()

# The version as the program shows it: 2025.07.17.
set(morvane_month ${PROJECT_VERSION_MINOR})
set(morvane_day ${PROJECT_VERSION_PATCH})
foreach(part morvane_month morvane_day)
    string(LENGTH "${${part}}" length)
    if(length LESS 2)
        set(${part} "0${${part}}")
    endif()
endforeach()
set(MORVANE_RELEASE_VERSION "${PROJECT_VERSION_MAJOR}.${morvane_month}.${morvane_day}")

set(release_programs MorvaneX)
if(TARGET morvanex-index)
    list(APPEND release_programs morvanex-index)
endif()
install(TARGETS ${release_programs} RUNTIME DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/resources/sample/MorvaneList.txt
              ${CMAKE_SOURCE_DIR}/resources/README-ja.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME MorvaneX)
set(CPACK_PACKAGE_VENDOR "MorvaneX developers")
set(CPACK_PACKAGE_VERSION ${MORVANE_RELEASE_VERSION})
set(CPACK_PACKAGE_FILE_NAME MorvaneX-${MORVANE_RELEASE_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
