# Runs TOOL (through EMULATOR when cross-compiled) with ARGS and fails unless
# it exits with EXPECT and its output (stdout and stderr) matches TEXT.
set(command ${TOOL} ${ARGS})
if(EMULATOR)
    set(command ${EMULATOR} ${command})
endif()
execute_process(COMMAND ${command} RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT code STREQUAL EXPECT)
    message(FATAL_ERROR "exit ${code}, expected ${EXPECT}\n${out}${err}")
endif()
if(NOT "${out}${err}" MATCHES "${TEXT}")
    message(FATAL_ERROR "the output does not match \"${TEXT}\":\n${out}${err}")
endif()
message(STATUS "exit ${code}\n${out}${err}")
