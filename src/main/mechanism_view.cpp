// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/mechanism_view.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

MechanismView::MechanismView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Picture"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    // A click gives it the focus, for the space bar.
    setFocusPolicy(Qt::StrongFocus);
}

void MechanismView::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect r = event->rect();
    if (frame_ && !frame_->isNull()) {
        p.drawImage(r.topLeft(), *frame_, r);
        // Beyond the frame (a window larger than 1280 x 1024) stays plain.
        const QRegion rest = QRegion(r) - QRegion(frame_->rect());
        for (const QRect& q : rest)
            p.fillRect(q, Qt::white);
    } else {
        p.fillRect(r, Qt::white);
    }
}

void MechanismView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        panning_ = true;
        panFrom_ = event->position();
        setCursor(Qt::ClosedHandCursor);
        event->accept();
        return;
    }
    if (OnMousePress) OnMousePress(event);
    QWidget::mousePressEvent(event);
}

void MechanismView::mouseMoveEvent(QMouseEvent* event) {
    if (panning_ && (event->buttons() & Qt::MiddleButton)) {
        const QPointF delta = event->position() - panFrom_;
        panFrom_ = event->position();
        if (OnPan && !delta.isNull()) OnPan(delta);
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void MechanismView::mouseReleaseEvent(QMouseEvent* event) {
    if (panning_ && event->button() == Qt::MiddleButton) {
        panning_ = false;
        unsetCursor();
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void MechanismView::wheelEvent(QWheelEvent* event) {
    // 120 units of angle are one notch; touch pads send fractions of it.
    const double notches = event->angleDelta().y() / 120.0;
    if (OnWheel && notches != 0.0) {
        OnWheel(notches, event->position());
        event->accept();
        return;
    }
    QWidget::wheelEvent(event);
}

void MechanismView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && OnSpace) {
        if (!event->isAutoRepeat()) OnSpace();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}
