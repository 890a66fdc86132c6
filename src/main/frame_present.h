// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Presenting a new frame: the part of the picture to repaint.

#include <QRegion>

class QWidget;

// All of the picture but the controls standing on it that paint every pixel
// of their own box (scroll bars): a new frame does not show through them, so
// they need not be painted again with every frame.
QRegion FrameRegion(const QWidget& picture);
