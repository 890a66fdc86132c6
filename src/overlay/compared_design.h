// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The second design that the live diagrams and the Valve Events window show
// beside the current one: read from a file ("Compare With..."), or the
// design as it was before the last Balance Apply, targets run, Scale Design
// or file load ("Compare With Before"). One object per run, owned by the
// main window and handed to every window that shows the comparison.

#include "model/model.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

namespace overlay {

class ComparedDesign : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    // The design on show as the second one, or null.
    const kes::Model* Design() const { return shown_.get(); }
    QString Name() const { return shownName_; }
    // Counts every change of what is shown, so a window can tell its copy
    // is old.
    uint64_t Revision() const { return revision_; }

    void Show(std::unique_ptr<kes::Model> design, const QString& name);
    void Clear();

    // Keeps a copy of the design as it is now; what says which command is
    // about to change it ("Balance Apply", "Scale Design", "file load").
    void KeepBefore(const kes::Model& design, const QString& what);
    bool HasBefore() const { return before_ != nullptr; }
    QString BeforeName() const { return beforeName_; }
    // Shows the kept design; false when nothing was kept.
    bool ShowBefore();

  signals:
    // What is shown changed.
    void Changed();
    // A design was kept for "Compare With Before".
    void BeforeKept();

  private:
    std::unique_ptr<kes::Model> shown_;
    QString shownName_;
    std::unique_ptr<kes::Model> before_;
    QString beforeName_;
    uint64_t revision_ = 0;
};

// The one comparison of a run: the child of owner (the main window) that
// holds it, made on first use.
ComparedDesign& ComparedDesignOf(QObject& owner);

} // namespace overlay
