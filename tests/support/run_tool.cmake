# Included by the tools' expectation scripts: runs TOOL (through EMULATOR when
# cross-compiled) with ARGS into out and err, and fails unless it exits with
# EXPECT.
set(command ${TOOL} ${ARGS})
if(EMULATOR)
    set(command ${EMULATOR} ${command})
endif()
execute_process(COMMAND ${command} RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT code STREQUAL EXPECT)
    message(FATAL_ERROR "exit ${code}, expected ${EXPECT}\n${out}${err}")
endif()
