# SPDX-License-Identifier: GPL-3.0-or-later
# The instruction texts are read from beside the program when the working
# folder has none: copy them into the binaries' folder at build time.
set(KESTROVE_INSTRUCTION_TEXTS instruct.doc KesSpIns.doc)
set(KESTROVE_INSTRUCTION_OUTPUTS)
foreach(name ${KESTROVE_INSTRUCTION_TEXTS})
    add_custom_command(
        OUTPUT ${CMAKE_BINARY_DIR}/bin/${name}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin
        COMMAND ${CMAKE_COMMAND} -E copy_if_different
                ${PROJECT_SOURCE_DIR}/docs/${name} ${CMAKE_BINARY_DIR}/bin/${name}
        DEPENDS ${PROJECT_SOURCE_DIR}/docs/${name}
        COMMENT "Copying ${name} beside the program"
        VERBATIM)
    list(APPEND KESTROVE_INSTRUCTION_OUTPUTS ${CMAKE_BINARY_DIR}/bin/${name})
endforeach()
add_custom_target(kestrove_instruction_texts ALL DEPENDS ${KESTROVE_INSTRUCTION_OUTPUTS})
add_dependencies(kestrove_auxiliary kestrove_instruction_texts)
