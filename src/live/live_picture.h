// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The picture of a live diagram window, fitted into whatever size the
// window has; it reports the picture point under the mouse and clicks.

#include <QImage>
#include <QPoint>
#include <QWidget>

namespace live {

class LivePicture : public QWidget {
    Q_OBJECT
  public:
    explicit LivePicture(QWidget* parent = nullptr);
    void SetPicture(QImage picture);
    const QImage& Picture() const { return picture_; }
    // A point of the widget as a point of the picture.
    QPoint ToPicture(QPoint widgetPoint) const;

  signals:
    void Hovered(QPoint picturePoint);
    void Clicked(QPoint picturePoint);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QImage picture_;
};

} // namespace live
