#pragma once
// The main window's picture: shows the last finished frame in one copy and
// reports mouse presses. The main window's controls are its children.

#include <QWidget>

#include <functional>

class QImage;

class MechanismView : public QWidget {
    Q_OBJECT
  public:
    explicit MechanismView(QWidget* parent = nullptr);

    // The frame to show; owned by the caller and only changed between paints.
    void SetFrame(const QImage* frame) { frame_ = frame; }
    std::function<void(QMouseEvent*)> OnMousePress;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    const QImage* frame_ = nullptr;
};
