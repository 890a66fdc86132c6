include(GoogleTest)
# Helpers that every tests/<room>/CMakeLists.txt uses.

# A GoogleTest binary for the standard-library core.
function(kestrove_gtest name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE kestrove_model kestrove_files GTest::gtest_main kestrove_warnings)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
endfunction()

# A QtTest binary for the windows, run headless. The timeout stops a modal
# dialog opened by mistake from blocking the run.
function(kestrove_qt_test name)
    add_executable(${name} ${ARGN})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE kestrove_main Qt6::Test kestrove_warnings)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name})
    # The recent files and the last folder go to a settings folder of the
    # build, never to the user's.
    set_tests_properties(${name} PROPERTIES TIMEOUT 180
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KESTROVE_NO_SOUND=1;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config")
endfunction()
