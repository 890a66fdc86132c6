// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/stamp_file_dialog.h"

#include "diagrams/picture_stamp.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>

namespace diagrams {

QString ChooseImageFileWithStamp(QWidget* parent, const QString& caption, bool* stamp) {
    QFileDialog dialog(parent, caption);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(
        {QStringLiteral("PNG image (*.png)"), QStringLiteral("SVG drawing (*.svg)")});
    // The toolkit's own dialog, so the check box can sit in it.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* box = new QCheckBox(StampCheckBoxText, &dialog);
    box->setObjectName(StampCheckBoxName);
    box->setChecked(!stamp || *stamp);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(box, grid->rowCount(), 0, 1, grid->columnCount());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    if (stamp) *stamp = box->isChecked();
    return dialog.selectedFiles().first();
}

} // namespace diagrams
