#include "main/rev_pos_dialog.h"

#include "controls/controls.h"
#include "main/controls_entry.h"

#include <QLabel>

TRevPos::TRevPos(kes::Model& model, kes::ControlState& state, QWidget* parent)
    : ValueDialog(QStringLiteral("Reverse Arm Position"), QStringList(5, QString()), true, parent),
      model_(model), state_(state) {
    setObjectName(QStringLiteral("TRevPos"));
}

void TRevPos::Activate() {
    const kes::RevPosTexts t = kes::RevPosActivate(model_);
    for (int i = 0; i < 5; ++i)
        TextLine(i)->setText(QString::fromStdString(t.Labels[static_cast<size_t>(i)]));
    Field()->Show(QString::fromStdString(t.Field));
}

void TRevPos::Apply() {
    kes::RevPosOk(model_, state_, Field()->Value());
}
