// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The inside of MainControls: two tables, one of the controls on the picture
// and one of the menu commands, which the three passes read. Build makes
// each control and command from its entry, Wire connects its handler, and
// Mirror shows the model in it after every change.

#include "controls/controls.h"
#include "main/controls_icons.h"
#include "main/main_controls.h"

#include <QPointer>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QDialog;
class QScrollBar;
class QPushButton;
class DynVarBarInput;
struct ScaledControlRects;
class ReverseArmSettingDialog;
class DriverAngleDialog;
class StepAngleDialog;
class ReferencePointsDialog;
class GraphicZoomDialog;
class ReverseArmPositionsDialog;

// One control on the picture: a button when it has a caption, else a bar.
struct PictureControl {
    QString Name; // the object name
    QString Caption;
    QRect Box; // where it is built (controls_layout.h)
    QString Hint;
    // What it does: a button's press, a plain bar's move, a self-centring
    // bar's move with how it came about. The dynamic-variable bars have
    // none here: their scrolls are wired as one group.
    std::function<void()> Press;
    std::function<void(int)> Move;
    std::function<void(int, kes::BarMove)> CentringMove;
    int Low = 0, High = 0, Start = 0; // a bar's range and position when built

    // What Mirror shows: whether it is shown; whether it can be used (left
    // as it is when empty); where a bar stands (0 when empty: the
    // self-centring bars are back at rest after every change); a bar's range
    // when it follows the model; a caption that follows the model; where it
    // stands at the text scale in use.
    std::function<bool()> Shown;
    std::function<bool()> Usable;
    std::function<int()> Position;
    std::function<std::pair<int, int>()> Range;
    std::function<QString()> Text;
    std::function<QRect(const ScaledControlRects&)> Place;

    QWidget* Widget = nullptr; // made by Build
};

// One menu command; a tool command (one with an icon) also gets a tool
// button with its hint.
struct MenuCommand {
    QString Name;
    QString Text; // the caption when it does not follow the model
    QMenu* Menu = nullptr;
    std::optional<ControlIcon> Icon;
    QString Hint;
    std::function<void()> Run;
    std::function<bool()> Enabled;    // left as it is when empty
    std::function<QString()> Caption; // a caption that follows the model

    QAction* Action = nullptr; // made by Build
};

struct MainControls::Impl {
    Impl(MainControls* owner, kes::Model& model, MainFormLink& link, QWidget* host,
         const MainMenus& menus);
    ~Impl();

    MainControls* q;
    kes::Model& m;
    MainFormLink& link;
    QWidget* host;
    MainMenus menus;
    kes::ControlState cs;

    std::vector<PictureControl> controls;
    std::vector<MenuCommand> commands;

    ReverseArmSettingDialog* revPos = nullptr;
    DriverAngleDialog* drivAng = nullptr;
    StepAngleDialog* stpAng = nullptr;
    ReferencePointsDialog* refPnts = nullptr;
    GraphicZoomDialog* graphZoom = nullptr;
    ReverseArmPositionsDialog* setRevArm = nullptr;

    // The dynamic-variable bars' scrolls, steps and undo entries.
    DynVarBarInput* dynInput = nullptr;
    bool lastScreenData = true;

    std::vector<QPointer<QObject>> owned;

    template <class W> W* Own(W* w) {
        owned.emplace_back(w);
        return w;
    }

    // The tables (main_controls_table.cpp).
    std::vector<PictureControl> ControlTable();
    std::vector<MenuCommand> CommandTable();

    void Build();
    void Wire();
    void Mirror();
    void Beep();

    QWidget* Control(const QString& name) const;
    QScrollBar* Bar(const QString& name) const;
};
