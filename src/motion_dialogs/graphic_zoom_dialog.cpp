// SPDX-License-Identifier: GPL-3.0-or-later
#include "motion_dialogs/graphic_zoom_dialog.h"

#include "controls/controls.h"
#include "motion_dialogs/numeric_entry.h"

GraphicZoomDialog::GraphicZoomDialog(kes::Model& model, QWidget* parent)
    : ValueDialog(QStringLiteral("Set Zoom of Dimensional Graphic Position"),
                  {QStringLiteral("Min = 0.5"), QStringLiteral("Max = 2000.0"),
                   QStringLiteral("Approximate Factor = Locomotive Gauge in Units Used")},
                  false, parent),
      model_(model) {
    setObjectName(QStringLiteral("TGraphZoom"));
}

void GraphicZoomDialog::Activate() {
    Field()->Show(QString::fromStdString(kes::TextForGraphicZoom(model_)));
}

void GraphicZoomDialog::Apply() {
    kes::TakeGraphicZoom(model_, Field()->Value());
}
