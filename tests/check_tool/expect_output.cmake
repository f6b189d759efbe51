# Runs TOOL (through EMULATOR when cross-compiled) with ARGS and fails unless
# it exits with EXPECT and its output (stdout and stderr) matches TEXT.
include(${CMAKE_CURRENT_LIST_DIR}/../support/run_tool.cmake)
if(NOT "${out}${err}" MATCHES "${TEXT}")
    message(FATAL_ERROR "the output does not match \"${TEXT}\":\n${out}${err}")
endif()
message(STATUS "exit ${code}\n${out}${err}")
