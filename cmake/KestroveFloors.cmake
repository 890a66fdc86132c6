# SPDX-License-Identifier: GPL-3.0-or-later
# The floors of the source tree (lowest first): model and files (standard
# library only), controls, analysis (no Qt), the pictures (the mechanism
# picture, the diagram painters and the paper copies: Qt Gui, no widgets),
# the window shell, the window libraries (each window's own, the main
# window's small dialogs in motion_dialogs and its File menu commands in
# file_commands), main. A library exposes only its own folder: its include root
# in the build tree holds one link, <root>/<folder> -> src/<folder>, so a
# file can include "<folder>/x.h" only for its own folder and the folders of
# the libraries it links. An include from a lower floor to a higher one
# fails to build.
function(kestrove_floor_includes target folder)
    set(root ${CMAKE_BINARY_DIR}/include_roots/${folder})
    file(MAKE_DIRECTORY ${root})
    if(NOT IS_SYMLINK ${root}/${folder})
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
    endif()
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE ${root})
    else()
        target_include_directories(${target} PUBLIC ${root})
    endif()
endfunction()
