# SPDX-License-Identifier: GPL-3.0-or-later
include(GoogleTest)
# Helpers that every tests/<room>/CMakeLists.txt uses.

kestrove_pch_owner(kestrove_gtest_pch GTEST kestrove_model kestrove_files GTest::gtest_main kestrove_warnings)
# The QtTest binaries precompile nothing: each folder defines its own
# QT_TESTCASE_BUILDDIR, so no one header would fit them all.

# A GoogleTest binary for the standard-library core.
function(kestrove_gtest name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE kestrove_model kestrove_files GTest::gtest_main kestrove_warnings)
    kestrove_pch_reuse(${name} kestrove_gtest_pch)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
endfunction()

# A QtTest binary, run headless: kestrove_qt_test(name sources... [LINK libs...]).
# A test links the library of its own floor (LINK), the main window's when
# none is named. The timeout stops a modal dialog opened by mistake from
# blocking the run.
function(kestrove_qt_test name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "LINK")
    if(NOT arg_LINK)
        set(arg_LINK kestrove_main)
    endif()
    add_executable(${name} ${arg_UNPARSED_ARGUMENTS})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE ${arg_LINK} Qt6::Test kestrove_warnings)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name})
    # The recent files and the last folder go to a settings folder of the
    # build, never to the user's.
    set_tests_properties(${name} PROPERTIES TIMEOUT 180
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KESTROVE_NO_SOUND=1;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config")
endfunction()
