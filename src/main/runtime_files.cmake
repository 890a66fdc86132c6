# SPDX-License-Identifier: GPL-3.0-or-later
# The main window's sounds: made by a small generator of this project and
# written beside the built programs, where the program finds them when they
# are not in its working directory.
add_executable(kestrove-make-sounds ${PROJECT_SOURCE_DIR}/tools/make_sounds.cpp)
target_include_directories(kestrove-make-sounds PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(kestrove-make-sounds PRIVATE kestrove_warnings)

set(KESTROVE_SOUND_FILES ${CMAKE_BINARY_DIR}/bin/Exhaust.wav ${CMAKE_BINARY_DIR}/bin/Error.wav)
add_custom_command(
    OUTPUT ${KESTROVE_SOUND_FILES}
    COMMAND kestrove-make-sounds ${CMAKE_BINARY_DIR}/bin
    DEPENDS kestrove-make-sounds ${CMAKE_CURRENT_LIST_DIR}/sound_synth.h
    COMMENT "Making Exhaust.wav and Error.wav"
    VERBATIM)
add_custom_target(kestrove_sounds ALL DEPENDS ${KESTROVE_SOUND_FILES})
add_dependencies(kestrove kestrove_sounds)
