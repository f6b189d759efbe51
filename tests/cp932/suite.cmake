# The POSIX build's code page 932 (made from Windows' conversions under Wine)
# against Python's cp932 codec, which is generated from Microsoft's published
# CP932 mapping: a reference that owes nothing to Wine.
if(WIN32)
    return()
endif()

find_package(Python3 COMPONENTS Interpreter REQUIRED)
add_executable(cp932_dump ${CMAKE_CURRENT_LIST_DIR}/cp932_dump.cpp)
target_link_libraries(cp932_dump PRIVATE morvane_platform)
add_test(NAME cp932_matches_python
         COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/compare_with_python.py
                 $<TARGET_FILE:cp932_dump>)
set_tests_properties(cp932_matches_python PROPERTIES TIMEOUT 120)
