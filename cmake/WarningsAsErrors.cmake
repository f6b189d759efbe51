# MORVANE_WERROR: warnings are errors in this tree's own targets (the CI
# builds turn it on). Not in GoogleTest, built from its sources for Windows,
# nor in anything else from outside: their warnings are not ours to fix.
# Resource scripts keep their own warnings.
function(morvane_warnings_as_errors dir)
    set(flag -Werror)
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
