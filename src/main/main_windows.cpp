// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's other windows: created once, in the program's order,
// and opened modally by their menu commands and tool buttons.

#include "auxiliary/data_table_window.h"
#include "auxiliary/draw_lines_window.h"
#include "auxiliary/instructions_window.h"
#include "balance/balance_window.h"
#include "diagrams/diagram_paint.h"
#include "diagrams/oval_window.h"
#include "diagrams/port_window.h"
#include "diagrams/sine_window.h"
#include "diagrams/steam_window.h"
#include "dimensions/dimension_dialogs.h"
#include "file_commands/export_commands.h"
#include "file_commands/file_commands.h"
#include "file_commands/workshop_commands.h"
#include "live/compare_commands.h"
#include "live/live_window.h"
#include "main/main_controls.h"
#include "main/main_form.h"
#include "main/sound_player.h"
#include "model/model.h"
#include "motion_dialogs/driver_angle_dialog.h"
#include "motion_dialogs/graphic_zoom_dialog.h"
#include "motion_dialogs/reference_points_dialog.h"
#include "motion_dialogs/reverse_arm_positions_dialog.h"
#include "motion_dialogs/reverse_arm_setting_dialog.h"
#include "motion_dialogs/step_angle_dialog.h"
#include "overlay/compared_design.h"
#include "performance/performance_window.h"
#include "targets/targets_window.h"
#include "ui_shell/captions.h"
#include "valve_events/events_window.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QToolBar>

#include <cmath>

namespace {

// Menu captions, object names and tool-button hints of the window commands.
struct WindowCommand {
    const char* Caption;
    const char* Name;
    const char* Hint; // nullptr: no tool button
};
constexpr WindowCommand FrameDimensions{"&FrameDimensions", "FrameDimensions1",
                                        "Change Frame Dimensions"};
constexpr WindowCommand CylinderDimensions{"&CylinderDimensions", "CylinderDimensions1",
                                           "Change Cylinder Dimensions"};
constexpr WindowCommand SineDiagram{"&SineDiagram", "SineDiagram1", "View Sine Diagram"};
constexpr WindowCommand OvalDiagram{"&OvalDiagram", "OvalDiagram1", "View Oval Diagram"};
constexpr WindowCommand SteamDiagram{"S&teamDiagram", "SteamDiagram1", "View Steam Diagram"};
constexpr WindowCommand PortDiagram{"&PortOpenClose", "PortOpenClose1",
                                    "View Port Events vs Reverse Arm Position"};
constexpr WindowCommand ValveEvents{
    "&ValveEvents", "ValveEvents1",
    "View Valve Events: precise events, design checks, sensitivity"};
constexpr WindowCommand LiveDiagrams{"&LiveDiagrams", "LiveDiagrams1",
                                     "Open Live Diagrams beside the gear"};
constexpr WindowCommand Performance{
    "&Performance", "Performance1",
    "View Performance: indicator cards, MEP, horsepower, tractive effort, steam rate"};
constexpr WindowCommand Instructions{"&Instructions", "Instructions1", nullptr};
constexpr WindowCommand SpecialInstructions{"Instructions&Special", "InstructionsSpecial1",
                                            nullptr};

const QString BalanceEventsCaption = QString::fromUtf8("Balance Events\u2026");
const QString BalanceEventsHint = QStringLiteral("Balance the front and rear valve events");

// A beam level on its pivot, a pan at each end.
QIcon BalanceIcon() {
    QPixmap pix(22, 22);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.4));
    p.drawLine(QPointF(11, 6), QPointF(11, 19));
    p.drawLine(QPointF(6, 19), QPointF(16, 19));
    p.setPen(QPen(QColor(0, 0, 0xFF), 1.6));
    p.drawLine(QPointF(3, 6), QPointF(19, 6));
    p.drawArc(QRectF(1, 7, 6, 5), 180 * 16, 180 * 16);
    p.drawArc(QRectF(15, 7, 6, 5), 180 * 16, 180 * 16);
    return QIcon(pix);
}

enum class Glyph { Frame, Cylinder, Sine, Oval, Steam, Ports, Events };

// Small tool-bar pictures drawn for this program.
QIcon GlyphIcon(Glyph g) {
    constexpr int size = 22;
    QPixmap pix(size, size);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.4));
    switch (g) {
    case Glyph::Frame: // a driver wheel with its rod
        p.drawEllipse(QPointF(7, 14), 5.5, 5.5);
        p.setPen(QPen(QColor(0xFF, 0, 0), 1.6));
        p.drawLine(QPointF(7, 14), QPointF(20, 8));
        break;
    case Glyph::Cylinder: // a cylinder with its valve chest above
        p.drawRect(QRectF(3, 11, 16, 8));
        p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1.4));
        p.drawRect(QRectF(6, 4, 10, 6));
        p.fillRect(QRectF(9, 12, 3, 6), Qt::black);
        break;
    case Glyph::Sine: {
        QPolygonF wave;
        for (int x = 2; x <= 20; ++x)
            wave << QPointF(x, 11 - 7 * std::sin((x - 2) * 0.35));
        p.drawLine(2, 11, 20, 11);
        p.setPen(QPen(QColor(0, 0, 0xFF), 1.6));
        p.drawPolyline(wave);
        break;
    }
    case Glyph::Oval:
        p.drawLine(2, 11, 20, 11);
        p.setPen(QPen(QColor(0, 0, 0xFF), 1.6));
        p.drawEllipse(QPointF(11, 11), 8, 5);
        break;
    case Glyph::Steam: // an indicator card
        p.drawLine(3, 19, 19, 19);
        p.drawLine(3, 19, 3, 3);
        p.setPen(QPen(QColor(0, 0x80, 0), 1.6));
        p.drawPolyline(QPolygonF({QPointF(4, 5), QPointF(10, 5), QPointF(18, 15), QPointF(18, 17),
                                  QPointF(4, 17), QPointF(4, 5)}));
        break;
    case Glyph::Ports: // event curves fanning out from mid gear
        p.drawLine(2, 20, 20, 20);
        p.setPen(QPen(QColor(0, 0x80, 0x80), 1.4));
        p.drawLine(QPointF(6, 20), QPointF(4, 3));
        p.drawLine(QPointF(11, 20), QPointF(15, 3));
        p.setPen(QPen(QColor(0xFF, 0, 0), 1.4));
        p.drawLine(QPointF(16, 20), QPointF(19, 3));
        break;
    case Glyph::Events: // a table of numbers with one row marked
        p.drawRect(QRectF(2, 3, 18, 16));
        for (int y : {8, 13})
            p.drawLine(2, y, 20, y);
        p.drawLine(9, 3, 9, 19);
        p.fillRect(QRectF(10, 9, 10, 4), QColor(0xFF, 0, 0));
        break;
    }
    return QIcon(pix);
}

// The Valve Events window is modeless and made on first use: the user keeps
// it open beside the drawing while changing the design.
void ShowValveEvents(QWidget& owner, kes::Model& model) {
    auto* w =
        owner.findChild<TValveEvents*>(QStringLiteral("ValveEvents"), Qt::FindDirectChildrenOnly);
    if (!w) {
        w = new TValveEvents(model, &owner);
        w->SetComparedDesign(&overlay::ComparedDesignOf(owner));
    }
    w->show();
    w->raise();
    w->activateWindow();
}

} // namespace

void TMainForm::CreateOtherWindows() {
    diagramText_ = std::make_unique<DiagramTextState>();
    DiagramTextState& text = *diagramText_;
    const DimensionDialogs dimensions = CreateDimensionDialogs(model_, *this, this);

    SetOtherWindow(OtherWindow::FrameDi, dimensions.Frame);
    SetOtherWindow(OtherWindow::DrivAng, controls_->DialogForDriverAngle());
    SetOtherWindow(OtherWindow::OvalDia, new TOvalDia(model_, *this, text, this), captions::Oval);
    SetOtherWindow(OtherWindow::PortDia, new TPortDia(model_, *this, text, this), captions::Ports);
    SetOtherWindow(OtherWindow::RefPnts, controls_->DialogForReferencePoints());
    SetOtherWindow(OtherWindow::RevPos, controls_->DialogForReverseArmSetting());
    SetOtherWindow(OtherWindow::SetRevArm, controls_->DialogForReverseArmPositions());
    SetOtherWindow(OtherWindow::SineDia, new TSineDia(model_, *this, text, this), captions::Sine);
    SetOtherWindow(OtherWindow::SteamDia, new TSteamDia(model_, *this, text, this),
                   captions::Steam);
    SetOtherWindow(OtherWindow::StpAng, controls_->DialogForStepAngle());
    SetOtherWindow(OtherWindow::Inst, new TInst(model_, *this, this));
    SetOtherWindow(OtherWindow::KesSpInst, new TKesSpInst(model_, *this, this));
    SetOtherWindow(OtherWindow::GraphZoom, controls_->DialogForGraphicZoom());
    auto* lines = new TDrawLines(model_, *this, this);
    SetOtherWindow(OtherWindow::DrawLines, lines);
    SetOtherWindow(OtherWindow::DataTable, new TDataTable(model_, *this, this),
                   captions::DataTable);
    SetOtherWindow(OtherWindow::CylDimen, dimensions.Cylinder);
    // The controls own their dialogs; the rest are this window's.
    for (OtherWindow w :
         {OtherWindow::FrameDi, OtherWindow::OvalDia, OtherWindow::PortDia, OtherWindow::SineDia,
          OtherWindow::SteamDia, OtherWindow::Inst, OtherWindow::KesSpInst, OtherWindow::DrawLines,
          OtherWindow::DataTable, OtherWindow::CylDimen})
        ownedWindows_.emplace_back(Window(w));

    fileCommands_ = new FileCommands(model_, *this, this);
    connect(fileCommands_, &FileCommands::LinesRefreshNeeded, lines, &TDrawLines::RefreshFromModel);
    connect(fileCommands_, &FileCommands::DimensionsLoaded, this, &TMainForm::FitGearIfCutOff);
    // The engine data travel with the design file, as NAME.engine.json beside it.
    auto* performance = new TPerformance(model_, this);
    connect(
        fileCommands_, &FileCommands::DimensionsLoaded, performance,
        [performance, fc = fileCommands_] { performance->LoadBesideDesign(fc->CurrentPath()); });
    connect(fileCommands_, &FileCommands::DimensionsSaved, performance, [this, performance] {
        const QString problem = performance->SaveBesideDesign(fileCommands_->CurrentPath());
        if (!problem.isEmpty()) QMessageBox::warning(this, PerformanceCaption, problem);
    });
    connect(controls_.get(), &MainControls::DataTableRequested, this, &TMainForm::ShowDataTable);
    connect(controls_.get(), &MainControls::LinesPivotClicked, this, [this, lines](bool right) {
        if (lines->PickAtReferencePoint(right)) ShowLinesWindow();
    });
    connect(controls_.get(), &MainControls::Beeped, sound_, &SoundPlayer::Beep);

    AddWindowCommands();
}

void TMainForm::AddWindowCommands() {
    QToolBar* bar = menus_->ToolBar;
    auto add = [&](QMenu* menu, QAction* before, const WindowCommand& c, Glyph glyph, auto slot) {
        auto* action = new QAction(QString::fromLatin1(c.Caption), this);
        action->setObjectName(QString::fromLatin1(c.Name));
        if (before)
            menu->insertAction(before, action);
        else
            menu->addAction(action);
        connect(action, &QAction::triggered, this, slot);
        if (c.Hint) {
            auto* tool = new QAction(GlyphIcon(glyph), QString(), this);
            tool->setObjectName(QString::fromLatin1(c.Name) + QStringLiteral("Button"));
            tool->setToolTip(QString::fromLatin1(c.Hint));
            bar->addAction(tool);
            connect(tool, &QAction::triggered, this, slot);
        }
        return action;
    };

    // File: open, the recent files, save, save as and import come before "E&xit".
    QMenu* file = menus_->File;
    file->insertAction(exit1_, fileCommands_->OpenDimensionsAction());
    file->insertMenu(exit1_, fileCommands_->RecentFilesMenu());
    for (QAction* a :
         {fileCommands_->SaveDimensionsAction(), fileCommands_->SaveAsDimensionsAction(),
          fileCommands_->OpenDosVersionDimAction()}) {
        file->insertAction(exit1_, a);
    }
    file->insertSeparator(exit1_);
    // The paper commands: the report, the full-size drawing, printing.
    auto* exports = new ExportCommands(model_, this, this);
    exports->SetSourceFile([fc = fileCommands_] { return fc->CurrentPath(); });
    for (QAction* a : {exports->ReportAction(), exports->DrawingAction(), exports->PrintAction()})
        file->insertAction(exit1_, a);
    // The workshop papers: link drawings, arrangement, DXF, valve-setting sheet.
    auto* workshopExports = new WorkshopCommands(model_, this, this);
    workshopExports->SetSourceFile([fc = fileCommands_] { return fc->CurrentPath(); });
    for (QAction* a : workshopExports->Actions())
        file->insertAction(exit1_, a);
    file->insertSeparator(exit1_);
    bar->addSeparator();
    for (QAction* a :
         {fileCommands_->OpenDimensionsAction(), fileCommands_->SaveAsDimensionsAction(),
          fileCommands_->OpenDosVersionDimAction()}) {
        auto* tool = new QAction(a->icon(), QString(), this);
        tool->setObjectName(a->objectName() + QStringLiteral("Button"));
        tool->setToolTip(a->toolTip());
        bar->addAction(tool);
        connect(tool, &QAction::triggered, a, &QAction::trigger);
    }

    // Dimensions: the two dialogs first.
    bar->addSeparator();
    QMenu* dims = menus_->Dimensions;
    QAction* firstDims = dims->actions().isEmpty() ? nullptr : dims->actions().first();
    add(dims, firstDims, FrameDimensions, Glyph::Frame, &TMainForm::ShowFrameDimensions);
    add(dims, firstDims, CylinderDimensions, Glyph::Cylinder, &TMainForm::ShowCylinderDimensions);
    if (firstDims) dims->insertSeparator(firstDims);

    // "Balance Events...", modeless: the user watches the other windows while it runs.
    auto* balance = new TBalanceEvents(model_, *this, this);
    // Its MEP term runs on the engine data the Performance window holds.
    balance->SetEngineDataSource([this] {
        const auto* w =
            findChild<TPerformance*>(QStringLiteral("Performance"), Qt::FindDirectChildrenOnly);
        return w ? w->Engine() : kes::DefaultEngineData();
    });
    auto* balanceAct = new QAction(BalanceEventsCaption, this);
    balanceAct->setObjectName(QStringLiteral("BalanceEvents1"));
    dims->insertAction(firstDims, balanceAct);
    auto* balanceTool = new QAction(BalanceIcon(), QString(), this);
    balanceTool->setObjectName(QStringLiteral("BalanceEvents1Button"));
    balanceTool->setToolTip(BalanceEventsHint);
    bar->addAction(balanceTool);
    for (QAction* a : {balanceAct, balanceTool}) {
        connect(a, &QAction::triggered, balance, [balance] {
            balance->show();
            balance->raise();
            balance->activateWindow();
        });
    }
    // "Design Valve to Targets...", modeless like Balance.
    auto* targets = new TDesignTargets(model_, *this, this);
    auto* targetsAct = new QAction(QString::fromUtf8("Design Valve to &Targets\u2026"), this);
    targetsAct->setObjectName(QStringLiteral("DesignTargets1"));
    dims->insertAction(firstDims, targetsAct);
    connect(targetsAct, &QAction::triggered, targets, [targets] {
        targets->show();
        targets->raise();
    });
    connect(targets, &TDesignTargets::Applied, balance, &TBalanceEvents::RefreshValues);
    // The design as it was before a Balance Apply or a targets run, for
    // "Compare With Before".
    connect(balance, &TBalanceEvents::AboutToApply, this, [this] {
        overlay::ComparedDesignOf(*this).KeepBefore(model_, QStringLiteral("Balance Apply"));
    });
    connect(targets, &TDesignTargets::AboutToApply, this, [this] {
        overlay::ComparedDesignOf(*this).KeepBefore(model_, QStringLiteral("targets run"));
    });
    if (firstDims) dims->insertSeparator(firstDims);

    // Draw&Graphs: the four diagrams.
    bar->addSeparator();
    QMenu* graphs = menus_->Graphs;
    add(graphs, nullptr, SineDiagram, Glyph::Sine, &TMainForm::ShowSineDiagram);
    add(graphs, nullptr, OvalDiagram, Glyph::Oval, &TMainForm::ShowOvalDiagram);
    add(graphs, nullptr, SteamDiagram, Glyph::Steam, &TMainForm::ShowSteamDiagram);
    add(graphs, nullptr, PortDiagram, Glyph::Ports, &TMainForm::OpenPortDiagram);
    add(graphs, nullptr, ValveEvents, Glyph::Events, [this] { ShowValveEvents(*this, model_); });
    // Live diagrams, any number of them, and the second design they draw.
    overlay::ComparedDesign* compared = &overlay::ComparedDesignOf(*this);
    add(graphs, nullptr, LiveDiagrams, Glyph::Oval, [this, compared, balance] {
        auto* w = new live::TLiveDiagrams(model_, *compared, this);
        connect(balance, &TBalanceEvents::Applied, w, &live::TLiveDiagrams::NoteDesignChanged);
        connect(fileCommands_, &FileCommands::DimensionsLoaded, w,
                &live::TLiveDiagrams::NoteDesignChanged);
        w->show();
    });
    const live::CompareActions compare = live::MakeCompareActions(this, *compared);
    graphs->addActions({compare.With, compare.Before, compare.Clear});
    add(graphs, nullptr, Performance, Glyph::Steam, [this] {
        auto* w =
            findChild<TPerformance*>(QStringLiteral("Performance"), Qt::FindDirectChildrenOnly);
        w->show();
        w->raise();
        w->activateWindow();
    });

    // Help.
    add(menus_->Help, nullptr, Instructions, Glyph::Frame, &TMainForm::ShowInstructions);
    add(menus_->Help, nullptr, SpecialInstructions, Glyph::Frame,
        &TMainForm::ShowSpecialInstructions);
}

void TMainForm::OpenPortDiagram() {
    model_.PortGraphMode = 'F';
    ShowPortDiagram();
}
