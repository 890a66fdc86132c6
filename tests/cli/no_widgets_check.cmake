# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when PROGRAM loads the widget library, directly or through another
# library (ldd lists both).
execute_process(COMMAND ldd ${PROGRAM} OUTPUT_VARIABLE libraries RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT libraries MATCHES "libc\\.so")
    message(FATAL_ERROR "ldd could not list the libraries of ${PROGRAM}:\n${libraries}")
endif()
if(libraries MATCHES "libQt6Widgets")
    message(FATAL_ERROR "${PROGRAM} loads libQt6Widgets:\n${libraries}")
endif()
message(STATUS "${PROGRAM} loads no widget library")
