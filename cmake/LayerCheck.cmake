# Includes run downwards only: each folder has a rank, and a file may include
# files of its own folder and of folders of a lower rank, never of a higher
# or an equal one. So no lower folder reaches a higher one, siblings stay
# apart and the folders can form no cycle. Folders not ranked here (tests,
# bench, fuzz, resources, generated headers) may include anything.
#
# At configure time: include() this file and call
# morvane_check_layers(<source dir>). As a test:
# cmake -DMORVANE_LAYER_ROOT=<source dir> -P LayerCheck.cmake.

# folder=rank; a folder's own win32/ side is a folder of its own where it
# sits above the window library.
set(MORVANE_LAYER_RANKS
    services=0
    text=1
    shell=2
    platform=2
    list=3
    lisp=4
    cad=4
    cad_targets=4
    live=5
    ui=5
    cad/win32=5
    cad_targets/win32=6
    app=7
    tools=8)

# Includes that break the rule, each "file -> included file" with its
# reason. None at present.
set(MORVANE_LAYER_EXCEPTIONS "")

# The ranked folder a path (relative to the source root) belongs to, the
# deepest one that matches; empty when none does.
function(_morvane_layer_of path out)
    set(best "")
    foreach(entry IN LISTS MORVANE_LAYER_RANKS)
        string(REPLACE "=" ";" pair ${entry})
        list(GET pair 0 folder)
        string(LENGTH "${folder}" length)
        string(LENGTH "${best}" best_length)
        if(path MATCHES "^${folder}/" AND length GREATER best_length)
            set(best ${folder})
        endif()
    endforeach()
    set(${out} "${best}" PARENT_SCOPE)
endfunction()

function(_morvane_layer_rank folder out)
    foreach(entry IN LISTS MORVANE_LAYER_RANKS)
        string(REPLACE "=" ";" pair ${entry})
        list(GET pair 0 name)
        list(GET pair 1 rank)
        if(name STREQUAL folder)
            set(${out} ${rank} PARENT_SCOPE)
            return()
        endif()
    endforeach()
    set(${out} "" PARENT_SCOPE)
endfunction()

function(morvane_check_layers root)
    set(faults "")
    set(globs "")
    foreach(entry IN LISTS MORVANE_LAYER_RANKS)
        string(REPLACE "=" ";" pair ${entry})
        list(GET pair 0 folder)
        list(APPEND globs ${root}/${folder}/*.h ${root}/${folder}/*.cpp)
    endforeach()
    file(GLOB_RECURSE sources LIST_DIRECTORIES false RELATIVE ${root} ${globs})
    list(REMOVE_DUPLICATES sources)
    foreach(source IN LISTS sources)
        _morvane_layer_of(${source} from)
        _morvane_layer_rank("${from}" from_rank)
        file(STRINGS ${root}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+/[^\"]+\"")
        foreach(line IN LISTS lines)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" included "${line}")
            _morvane_layer_of(${included} to)
            if(to STREQUAL "" OR to STREQUAL from)
                continue()
            endif()
            _morvane_layer_rank("${to}" to_rank)
            if(to_rank LESS from_rank)
                continue()
            endif()
            list(FIND MORVANE_LAYER_EXCEPTIONS "${source} -> ${included}" excepted)
            if(excepted GREATER -1)
                continue()
            endif()
            list(APPEND faults "${source} (${from}, rank ${from_rank}) includes ${included} (${to}, rank ${to_rank})")
        endforeach()
    endforeach()
    if(faults)
        list(JOIN faults "\n  " text)
        message(FATAL_ERROR "Includes must run to a folder of a lower rank "
                            "(cmake/LayerCheck.cmake):\n  ${text}")
    endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND DEFINED MORVANE_LAYER_ROOT)
    morvane_check_layers(${MORVANE_LAYER_ROOT})
    message(STATUS "layers of ${MORVANE_LAYER_ROOT}: every include runs downwards")
endif()
