# MORVANE_WERROR: warnings are errors in this tree's own targets (the CI
# builds turn it on). Not in GoogleTest, built from its sources for Windows,
# nor in anything else from outside: their warnings are not ours to fix.
# Resource scripts keep their own warnings.
function(morvane_warnings_as_errors dir)
    if(MSVC)
        set(flag /WX)
    else()
        set(flag -Werror)
    endif()
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
            target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:${flag}>)
        endif()
    endforeach()
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(subdir IN LISTS subdirs)
        cmake_path(IS_PREFIX CMAKE_SOURCE_DIR "${subdir}" NORMALIZE ours)
        if(ours)
            morvane_warnings_as_errors(${subdir})
        endif()
    endforeach()
endfunction()

# Warnings left for the owner of the window code to fix, kept as warnings
# until then.
function(morvane_warnings_left_as_warnings)
    if(NOT MSVC AND TARGET morvane_win32_tests)
        set_source_files_properties(${CMAKE_SOURCE_DIR}/tests/win32/dark_scroll_bar_test.cpp
                                    DIRECTORY ${CMAKE_SOURCE_DIR}/tests
                                    PROPERTIES COMPILE_OPTIONS -Wno-error=dangling-else)
    endif()
endfunction()
