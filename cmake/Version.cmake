# The version in every form it is written, all from project(): the version
# information and manifest of the programs, the version box, the users' README
# and the package name. The generated files go to build/include/generated.
#
# The program shows year.month.day with a two-digit month and day: 2025.07.17.
set(morvane_month ${PROJECT_VERSION_MINOR})
set(morvane_day ${PROJECT_VERSION_PATCH})
foreach(part morvane_month morvane_day)
    string(LENGTH "${${part}}" length)
    if(length LESS 2)
        set(${part} "0${${part}}")
    endif()
endforeach()
set(MORVANE_DISPLAY_VERSION "${PROJECT_VERSION_MAJOR}.${morvane_month}.${morvane_day}")

set(MORVANE_GENERATED_DIR ${CMAKE_BINARY_DIR}/include/generated)
configure_file(${CMAKE_SOURCE_DIR}/resources/version.h.in ${MORVANE_GENERATED_DIR}/version.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/resources/MorvaneX.manifest.in
               ${MORVANE_GENERATED_DIR}/MorvaneX.manifest @ONLY)
# CR LF and the byte-order mark as in the template: it is read on Windows.
configure_file(${CMAKE_SOURCE_DIR}/resources/README-ja.txt.in ${MORVANE_GENERATED_DIR}/README-ja.txt
               @ONLY NEWLINE_STYLE CRLF)

# Includes as "generated/version.h"; the resource script finds the manifest
# through the same folder.
add_library(morvane_version INTERFACE)
target_include_directories(morvane_version INTERFACE ${CMAKE_BINARY_DIR}/include)
