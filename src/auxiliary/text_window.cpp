// SPDX-License-Identifier: GPL-3.0-or-later
#include "auxiliary/text_window.h"

#include <QDialog>
#include <QFont>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace text_window {

namespace {

const char* const FontFamily = "DejaVu Sans Mono";
const int FontPoints = 9;
const char* const CloseText = "Close";

} // namespace

QFont Font() {
    QFont font(QString::fromLatin1(FontFamily), FontPoints);
    font.setStyleHint(QFont::Monospace);
    return font;
}

QPlainTextEdit* NewText(QDialog* dialog) {
    auto* text = new QPlainTextEdit(dialog);
    text->setObjectName(QStringLiteral("Memo1"));
    text->setReadOnly(true);
    text->setFont(Font());
    return text;
}

QVBoxLayout* LayOut(QDialog* dialog, QPlainTextEdit* text) {
    auto* close = new QPushButton(QString::fromLatin1(CloseText), dialog);
    close->setObjectName(QStringLiteral("Close1"));
    QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(text, 1);
    layout->addLayout(buttons);
    return layout;
}

} // namespace text_window
