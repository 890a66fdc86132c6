#include "main/mechanism_view.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

MechanismView::MechanismView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Picture"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
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
    if (OnMousePress) OnMousePress(event);
    QWidget::mousePressEvent(event);
}
