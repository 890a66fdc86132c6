// SPDX-License-Identifier: GPL-3.0-or-later
#include "live/compare_commands.h"

#include "overlay/compared_design.h"
#include "overlay/compared_file.h"

#include <QAction>
#include <QFileDialog>
#include <QMessageBox>
#include <QWidget>

namespace live {

namespace {
const QString CompareWithHint = QStringLiteral("Draw a design from a file under this one");
const QString CompareBeforeHint =
    QStringLiteral("Draw the design as it was before the last Balance Apply, targets run, Scale "
                   "Design or file load under this one");
const QString CompareClearHint = QStringLiteral("Draw the current design alone");
const QString FileFilter = QStringLiteral("Dimension files (*.kvd *.kvx);;All files (*)");
} // namespace

bool CompareWithFile(overlay::ComparedDesign& compared, const QString& path, QString* error) {
    overlay::LoadedDesign loaded = overlay::LoadComparedDesign(path.toStdString());
    if (!loaded.Design) {
        if (error) *error = QString::fromStdString(loaded.Message);
        return false;
    }
    const QString name = QString::fromStdString(loaded.Design->DataSetName);
    compared.Show(std::move(loaded.Design), name);
    return true;
}

CompareActions MakeCompareActions(QWidget* owner, overlay::ComparedDesign& comparedDesign,
                                  std::function<QString()> chooser) {
    overlay::ComparedDesign* compared = &comparedDesign;
    CompareActions a;
    a.With = new QAction(CompareWithCaption, owner);
    a.With->setObjectName(QStringLiteral("CompareWith1"));
    a.With->setToolTip(CompareWithHint);
    a.Before = new QAction(CompareBeforeCaption, owner);
    a.Before->setObjectName(QStringLiteral("CompareWithBefore1"));
    a.Before->setToolTip(CompareBeforeHint);
    a.Clear = new QAction(CompareClearCaption, owner);
    a.Clear->setObjectName(QStringLiteral("ClearComparison1"));
    a.Clear->setToolTip(CompareClearHint);

    QObject::connect(a.With, &QAction::triggered, owner, [owner, compared, chooser] {
        const QString path =
            chooser ? chooser()
                    : QFileDialog::getOpenFileName(owner, CompareWithHint, QString(), FileFilter);
        if (path.isEmpty()) return;
        QString error;
        if (!CompareWithFile(*compared, path, &error))
            QMessageBox::warning(owner, QStringLiteral("KESTROVE"),
                                 path + QStringLiteral(": ") + error);
    });
    QObject::connect(a.Before, &QAction::triggered, owner, [compared] { compared->ShowBefore(); });
    QObject::connect(a.Clear, &QAction::triggered, owner, [compared] { compared->Clear(); });
    const auto follow = [a, compared] {
        a.Before->setEnabled(compared->HasBefore());
        a.Clear->setEnabled(compared->Design() != nullptr);
    };
    follow();
    QObject::connect(compared, &overlay::ComparedDesign::Changed, owner, follow);
    QObject::connect(compared, &overlay::ComparedDesign::BeforeKept, owner, follow);
    return a;
}

} // namespace live
