// SPDX-License-Identifier: GPL-3.0-or-later
#include "overlay/compared_design.h"

namespace overlay {

void ComparedDesign::Show(std::unique_ptr<kes::Model> design, const QString& name) {
    shown_ = std::move(design);
    shownName_ = shown_ ? name : QString();
    ++revision_;
    emit Changed();
}

void ComparedDesign::Clear() {
    Show(nullptr, {});
}

void ComparedDesign::KeepBefore(const kes::Model& design, const QString& what) {
    before_ = std::make_unique<kes::Model>(design);
    beforeName_ =
        QStringLiteral("%1 before %2").arg(QString::fromStdString(design.DataSetName), what);
    emit BeforeKept();
}

bool ComparedDesign::ShowBefore() {
    if (!before_) return false;
    Show(std::make_unique<kes::Model>(*before_), beforeName_);
    return true;
}

ComparedDesign& ComparedDesignOf(QObject& owner) {
    static const QString name = QStringLiteral("ComparedDesign");
    auto* c = owner.findChild<ComparedDesign*>(name, Qt::FindDirectChildrenOnly);
    if (!c) {
        c = new ComparedDesign(&owner);
        c->setObjectName(name);
    }
    return *c;
}

} // namespace overlay
