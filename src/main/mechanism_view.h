// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's picture: shows the last finished frame in one copy and
// reports mouse presses, the wheel, middle-button drags and the space bar.
// The main window's controls are its children.

#include <QWidget>

#include <QPointF>

#include <functional>

class QImage;

class MechanismView : public QWidget {
    Q_OBJECT
  public:
    explicit MechanismView(QWidget* parent = nullptr);

    // The frame to show; owned by the caller and only changed between paints.
    void SetFrame(const QImage* frame) { frame_ = frame; }
    // Left and right presses (picking); the middle button drags instead.
    std::function<void(QMouseEvent*)> OnMousePress;
    // The wheel turned by notches (positive: away from the user) at (x, y).
    std::function<void(double notches, QPointF at)> OnWheel;
    // A middle-button drag moved by this many pixels.
    std::function<void(QPointF delta)> OnPan;
    // The space bar while the picture has the focus.
    std::function<void()> OnSpace;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    const QImage* frame_ = nullptr;
    bool panning_ = false;
    QPointF panFrom_;
};
