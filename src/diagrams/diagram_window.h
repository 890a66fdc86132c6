// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frame shared by the four diagram windows: the retained picture, the
// "Close" button, the four dynamic-variable scroll bars, the UnDo button,
// the menu commands, activation and closing. Each window supplies its names
// and its drawing.

#include "diagrams/diagram_paint.h"

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

#include <array>
#include <functional>

class QAction;
class QMenuBar;
class QPushButton;
class QScrollBar;
class MainFormLink;
class DynVarBarInput;

namespace kes {
struct Model;
}

// One menu item: objectName and caption. An empty name leaves the item out.
struct DiagramMenuItem {
    QString Name;
    QString Caption;
};

// Everything that differs between the diagram windows' frames.
struct DiagramWindowNames {
    QString CaptionPrefix;                // from main/captions.h
    QSize ClientSize{632, 414};           // the picture and the controls on it
    QString CloseName;                    // "CloseSin"
    QPoint ClosePos{408, 8};              // the "Close" button's top left, 75 x 25
    QString DynVarBarPrefix;              // "SBDynVarS" gives SBDynVarS1 .. SBDynVarS4
    QString UndoButtonName;               // "UnDoDnS"
    QString MenuBarName;                  // "MainMenuSine"
    DiagramMenuItem SetRevArmPos;         // {"SetRevArmPos", "&SetRevArmPos"}
    DiagramMenuItem ReDraw;               // {"ReDraw", "&ReDraw"}
    DiagramMenuItem UnDo;                 // {"UnDoSine", "&UnDo"}
    DiagramMenuItem DynVar;               // {"DynVari", "&DymamicVariables"}
    bool ShowsSetRevArmOnActivate = true; // activation shows TSetRevArm first
    bool RedrawsOnMouseMove = true;       // mouse move redraws when RedrawPending
    int UndoButtonRedraws = 2;            // clear-and-draw passes after the UnDo button
};

class DiagramWindow : public QDialog {
    Q_OBJECT
  public:
    DiagramWindow(kes::Model& model, MainFormLink& link, DiagramTextState& text,
                  const DiagramWindowNames& names, QWidget* parent = nullptr);
    ~DiagramWindow() override;

    // The retained picture of the client area, as last drawn.
    const QImage& Picture() const { return picture_; }
    const DiagramWindowNames& Names() const { return names_; }

    // Clear the picture to white, then draw (the window's refresh + Draw).
    virtual void ClearAndDraw();
    // Draw over what is there.
    virtual void DrawWithoutClearing();

    // Writes the current picture: ".svg" re-runs the drawing into an SVG
    // painter, anything else is written as PNG. Returns false and sets
    // *error when the file cannot be written.
    bool SaveImage(const QString& fileName, QString* error = nullptr);
    // The file chooser of "Save Image..." (tests replace it). Returns the
    // chosen name or an empty string.
    std::function<QString(QWidget*)> ChooseImageFile;
    // Saved pictures carry a footer strip with the data set's name and the
    // date; the save dialog's check box (StampCheckBoxName) clears it.
    bool StampImages = true;
    // A PNG is written at this many times the picture's own size (1 or 2);
    // a name ending in "@2x" (sine@2x.png) always gets twice the size.
    int SaveImageScale = 1;

    // The scale and placement of the picture in the window as it is now;
    // the controls on the picture move and grow with it.
    double PictureScale() const;

    // The handlers, public so the main window and tests can run them.
    void Activate();          // window activated
    void SetRevArmPosClick(); // "&SetRevArmPos"
    void ReDrawClick();       // "&ReDraw"
    void UnDoMenuClick();     // "&UnDo"
    void DynVarMenuClick();   // "&DymamicVariables"
    void UnDoButtonClick();   // UnDoDnS and its siblings
    void SaveImageClick();    // "Save Image..."
    // The dynamic-variable bars: a scroll starts, the bar moved, the scroll ended.
    void DynVarBarEntered(int n);
    void DynVarBarChanged(int n, int position);
    void DynVarBarScrollEnded(int n);
    DynVarBarInput* DynVarInput() const { return dynVarInput_; }

    QPushButton* CloseButton() const { return closeButton_; }
    QPushButton* UndoButton() const { return undoButton_; }
    QScrollBar* DynVarBar(int n) const; // n = 1 .. 4
    QMenuBar* DiagramMenuBar() const { return menuBar_; }
    QWidget* Client() const { return client_; }

  protected:
    // Paints one whole diagram over what the painter's device holds.
    virtual void Draw(QPainter& painter) = 0;
    // The picture "Save Image..." writes as SVG, painted on white: by default
    // one Draw. A window whose picture is several drawings over each other
    // (the port events window's both graphs) repeats them here. The undo
    // line is the one the picture on screen shows.
    virtual void DrawForExport(QPainter& painter) { Draw(painter); }

    // Building blocks for windows whose redraw sequence differs.
    void ClearPicture();
    // Runs Draw on the retained picture, then shows it and sets the
    // controls the drawing governs (bars, UnDo button).
    void DrawPicture();
    // The menu bar holds the standard items (those the names give) and
    // "Save Image..."; a derived window may insert its own before them.
    QMenuBar* MenuBar() const { return menuBar_; }

    kes::Model& Model() { return model_; }
    MainFormLink& Link() { return link_; }
    DiagramTextState& TextState() { return text_; }

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    class ClientArea;
    void MouseMoved();
    void SyncControls();
    // Places the controls over the picture as it fits the client area.
    void LayOutControls();
    // The picture redrawn at the client area's scale and pixel ratio.
    const QImage& FittedPicture();
    // One replay of the retained picture, with the undo line it was drawn with.
    void PaintRetained(QPainter& painter);
    void BuildMenu();

    kes::Model& model_;
    MainFormLink& link_;
    DiagramTextState& text_;
    DiagramWindowNames names_;
    QImage picture_;
    QImage fitted_;           // picture_ at the window's scale, when that is not 1
    bool fittedStale_ = true; // the picture changed since fitted_ was drawn
    QString undoMessageBeforeDraw_;
    QWidget* client_ = nullptr; // a ClientArea
    QMenuBar* menuBar_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QPushButton* undoButton_ = nullptr;
    std::array<QScrollBar*, 4> bars_{};
    DynVarBarInput* dynVarInput_ = nullptr;
    bool activationQueued_ = false;
};
