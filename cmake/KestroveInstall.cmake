# SPDX-License-Identifier: GPL-3.0-or-later
# `cmake --install` and `make package`: the programs into bin/, their
# instruction texts and sounds into share/kestrove (the program looks there,
# relative to its own folder), and the desktop entry, the file type of the
# designs, the icon and the AppStream metainfo where the desktop finds them.
include(GNUInstallDirs)

# The program finds its data folder as <bin>/../share/kestrove; other layouts
# would need that relative path changed in src/auxiliary/data_folders.h.
set(KESTROVE_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/kestrove)
file(RELATIVE_PATH KESTROVE_DATA_FROM_BIN /p/${CMAKE_INSTALL_BINDIR} /p/${KESTROVE_INSTALL_DATADIR})
if(NOT KESTROVE_DATA_FROM_BIN STREQUAL "../share/kestrove")
    message(WARNING "The installed program looks for its data in ../share/kestrove from its "
                    "folder, not ${KESTROVE_DATA_FROM_BIN}")
endif()

install(TARGETS kestrove-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The licence, where Debian keeps a package's copyright.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
if(KESTROVE_GUI)
    install(TARGETS kestrove RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${PROJECT_SOURCE_DIR}/docs/instruct.doc ${PROJECT_SOURCE_DIR}/docs/KesSpIns.doc
                  ${CMAKE_BINARY_DIR}/bin/Exhaust.wav ${CMAKE_BINARY_DIR}/bin/Error.wav
            DESTINATION ${KESTROVE_INSTALL_DATADIR})

    set(packaging ${PROJECT_SOURCE_DIR}/packaging)
    install(FILES ${packaging}/kestrove.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${packaging}/kestrove-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
            RENAME kestrove.xml)
    install(FILES ${packaging}/kestrove.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    install(FILES ${packaging}/kestrove.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
            RENAME application-x-kestrove-design.svg)
    # The day of the configure (or SOURCE_DATE_EPOCH's, for a reproducible build).
    string(TIMESTAMP KESTROVE_RELEASE_DATE "%Y-%m-%d" UTC)
    configure_file(${packaging}/kestrove.metainfo.xml
                   ${PROJECT_BINARY_DIR}/generated/kestrove.metainfo.xml @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/generated/kestrove.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# A Debian package of the above. The desktop, file-type and icon databases
# are brought up to date by their own packages' triggers on installing.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrove)
set(CPACK_PACKAGE_VENDOR "KESTROVE")
set(CPACK_PACKAGE_CONTACT "KESTROVE developers <kestrove@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Baker valve gear designer for steam locomotives")
set(CPACK_PACKAGE_DESCRIPTION "Solves, animates and draws the diagrams of the Baker valve \
gear of a steam locomotive from its dimensions; kestrove-cli does the same from the command line.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY kestrove)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The libraries the programs link, found by dpkg-shlibdeps (package
# dpkg-dev); without it, the list of Debian 12.
find_program(KESTROVE_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(KESTROVE_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "libc6, libstdc++6, libnlopt-cxx0, libqt6core6, libqt6gui6, libqt6widgets6, \
libqt6multimedia6, libqt6printsupport6, libqt6svg6, libdxflib3")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
set(CPACK_STRIP_FILES ON)
include(CPack)
