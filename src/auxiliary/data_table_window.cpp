// SPDX-License-Identifier: GPL-3.0-or-later
#include "auxiliary/data_table_window.h"

#include "auxiliary/pivot_table.h"
#include "auxiliary/text_window.h"
#include "model/model.h"
#include "ui_shell/captions.h"
#include "ui_shell/main_form_link.h"

#include <QAction>
#include <QFontDatabase>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

const int TabStopCharacters = 11;
const QSize WindowSize(900, 620);
const char* const EditMenuText = "&Edit";
const char* const CutText = "Cu&t";
const char* const CopyText = "&Copy";
const char* const PasteText = "&Paste";
const char* const SelectAllText = "Select &All";
const char* const ReadOnlyTip = "The table is read-only";

} // namespace

TDataTable::TDataTable(kes::Model& model, MainFormLink& link, QWidget* parent)
    : QDialog(parent), model_(model), link_(link) {
    setObjectName(QStringLiteral("TDataTable"));
    resize(WindowSize);

    text_ = text_window::NewText(this);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setTabStopDistance(
        QFontMetricsF(text_window::Font()).horizontalAdvance(QLatin1Char('0')) * TabStopCharacters);

    // The four commands. The text is read-only, so cut and paste stand
    // disabled as on any read-only text; copy and select-all work.
    auto makeAction = [this](const char* text, QKeySequence::StandardKey key, const char* name) {
        auto* action = new QAction(QString::fromLatin1(text), this);
        action->setShortcut(key);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    cut_ = makeAction(CutText, QKeySequence::Cut, "Cut1");
    copy_ = makeAction(CopyText, QKeySequence::Copy, "Copy1");
    paste_ = makeAction(PasteText, QKeySequence::Paste, "Paste1");
    selectAll_ = makeAction(SelectAllText, QKeySequence::SelectAll, "SelectAll1");
    connect(cut_, &QAction::triggered, text_, &QPlainTextEdit::cut);
    connect(copy_, &QAction::triggered, text_, &QPlainTextEdit::copy);
    connect(paste_, &QAction::triggered, text_, &QPlainTextEdit::paste);
    connect(selectAll_, &QAction::triggered, text_, &QPlainTextEdit::selectAll);
    for (QAction* a : {cut_, paste_}) {
        a->setEnabled(false);
        a->setToolTip(QString::fromLatin1(ReadOnlyTip));
    }
    copy_->setEnabled(false);
    connect(text_, &QPlainTextEdit::copyAvailable, copy_, &QAction::setEnabled);

    auto* menuBar = new QMenuBar(this);
    QMenu* edit = menuBar->addMenu(QString::fromLatin1(EditMenuText));
    edit->setObjectName(QStringLiteral("EditMenu"));
    edit->addAction(cut_);
    edit->addAction(copy_);
    edit->addAction(paste_);
    edit->addSeparator();
    edit->addAction(selectAll_);
    for (QAction* a : {cut_, copy_, paste_, selectAll_})
        addAction(a);

    text_window::LayOut(this, text_)->setMenuBar(menuBar);

    RefreshCaption();
}

void TDataTable::Recompute() {
    const pivot_table::Table table = pivot_table::Compute(model_);
    text_->setPlainText(pivot_table::Format(model_, table));
}

void TDataTable::RefreshCaption() {
    setWindowTitle(WindowCaption(model_, captions::DataTable));
}

QString TDataTable::Text() const {
    return text_->toPlainText();
}

void TDataTable::showEvent(QShowEvent* event) {
    Recompute();
    RefreshCaption();
    QDialog::showEvent(event);
}
