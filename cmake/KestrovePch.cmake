# SPDX-License-Identifier: GPL-3.0-or-later
# Precompiled headers: the Qt and GoogleTest headers are most of what every
# file compiles. A library precompiles the Qt headers of its floor once for
# its own files; the many one-file GoogleTest programs share one
# precompiled header (kestrove_pch_reuse).
set(KESTROVE_PCH_GUI <QColor> <QFont> <QImage> <QPainter> <QPoint> <QRect> <QSize> <QString>)
set(KESTROVE_PCH_WIDGETS ${KESTROVE_PCH_GUI} <QDialog> <QLabel> <QPushButton> <QWidget>)
set(KESTROVE_PCH_GTEST <gtest/gtest.h>)

# kestrove_pch(target GUI|WIDGETS|GTEST)
function(kestrove_pch target kind)
    if(KESTROVE_PCH)
        target_precompile_headers(${target} PRIVATE ${KESTROVE_PCH_${kind}})
    endif()
endfunction()

# A target that only owns the precompiled header a kind of test reuses; it
# links what those tests link, so the compile flags agree.
function(kestrove_pch_owner target kind)
    add_library(${target} STATIC ${PROJECT_SOURCE_DIR}/cmake/pch_anchor.cpp)
    target_link_libraries(${target} PRIVATE ${ARGN})
    kestrove_pch(${target} ${kind})
endfunction()

# The test reuses the owner's header; its definitions must be the owner's.
function(kestrove_pch_reuse target owner)
    if(KESTROVE_PCH AND TARGET ${owner})
        target_precompile_headers(${target} REUSE_FROM ${owner})
    endif()
endfunction()
