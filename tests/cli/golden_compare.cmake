# SPDX-License-Identifier: GPL-3.0-or-later
# Runs kestrove-cli once and compares what it prints with a golden file,
# byte for byte.
#   cmake -DCLI=... -DARGS=a@b@c -DEXPECTED=file.csv [-DDIMS=file.kvd]
#         [-DOUT_DIR=dir] [-DUPDATE=ON] -P golden_compare.cmake
# The arguments are joined by '@'. UPDATE=ON writes the golden file instead
# (done once, before a change that must not alter the output).
string(REPLACE "@" ";" ARGS "${ARGS}")
if(DIMS)
    list(APPEND ARGS --dims ${DIMS})
endif()
execute_process(COMMAND ${CLI} ${ARGS}
    OUTPUT_VARIABLE actual ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "kestrove-cli ${ARGS} exited with ${status}: ${errors}")
endif()
if(UPDATE)
    file(WRITE ${EXPECTED} "${actual}")
    return()
endif()
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
    string(LENGTH "${expected}" expectedLength)
    string(LENGTH "${actual}" actualLength)
    file(WRITE ${OUT_DIR}/actual.csv "${actual}")
    message(FATAL_ERROR "kestrove-cli ${ARGS} differs from ${EXPECTED} "
        "(${actualLength} bytes against ${expectedLength}); its output is in ${OUT_DIR}/actual.csv")
endif()
