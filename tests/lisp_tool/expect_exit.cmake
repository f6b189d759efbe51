# Runs TOOL (through EMULATOR when cross-compiled) with ARGS and fails unless
# it exits with EXPECT. Output is checked loosely: rows for exit 0, a message
# on stderr for exit 3.
include(${CMAKE_CURRENT_LIST_DIR}/../support/run_tool.cmake)
if(EXPECT EQUAL 0 AND NOT out MATCHES "\nLOAD\t")
    message(FATAL_ERROR "no load row in the output")
endif()
if(EXPECT EQUAL 3 AND NOT err MATCHES "no-such-file")
    message(FATAL_ERROR "the message does not name the file: ${err}")
endif()
string(LENGTH "${out}" size)
message(STATUS "exit ${code}, ${size} bytes of rows")
