// SPDX-License-Identifier: GPL-3.0-or-later
#include "auxiliary/pivot_table.h"

#include "auxiliary/point_names.h"
#include "model/format.h"
#include "model/model.h"
#include "model/solver.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace pivot_table {

namespace {

const QString Tab = QStringLiteral("\t");
const QString Title = QStringLiteral("Pivot Data Table");
const QString Units[] = {
    QStringLiteral("Vert = height above the driver axle, Horz = distance forward of it,"),
    QStringLiteral("in the units of the dimensions; Dist = distance between the two points."),
    QStringLiteral("Error 1: the linkage could not close at that angle (the positions are"),
    QStringLiteral("the best found)."),
};
const QString NothingListed = QStringLiteral(
    "No pivot slot is active. Turn on Pivot Data, click a slot number 1 to 6 in the pivot "
    "data panel of the main window, then click the pivot to follow.");

QString Number(double v, int decimals = Decimals) {
    QString text = QString::fromStdString(kes::FormatFixed(v, 1, decimals));
    // A tiny negative value rounds to "-0.0000": show it as the zero it is.
    const bool allZero = std::none_of(text.begin(), text.end(), [](QChar c) {
        return c >= QLatin1Char('1') && c <= QLatin1Char('9');
    });
    if (allZero && text.startsWith(QLatin1Char('-'))) text.remove(0, 1);
    return text;
}

} // namespace

bool Table::AnyListed() const {
    for (int k = 1; k <= SlotCount; ++k)
        if (Listed[size_t(k)]) return true;
    return false;
}

Table Compute(kes::Model& m) {
    Table t;
    for (int k = 1; k <= SlotCount; ++k) {
        const kes::PivotSlot& slot = m.PivotSlots[size_t(k)];
        t.PointIndex[size_t(k)] = slot.PointIndex;
        t.Listed[size_t(k)] =
            slot.Active && slot.PointIndex >= 0 && slot.PointIndex < kes::PointCount;
    }
    for (int p = 1; p <= PairCount; ++p)
        t.PairListed[size_t(p)] = t.Listed[size_t(2 * p - 1)] && t.Listed[size_t(2 * p)];
    if (!t.AnyListed()) return t;

    const float savedAngle = m.DriverAngle;
    const float savedRevArm = m.RevArmSetting;
    const bool savedError = m.SolveError;
    const bool savedBeep = m.BeepOnError;
    // With the beep switched off the solver would keep its failures to
    // itself; the table wants to know of them.
    m.BeepOnError = true;

    t.Rows.reserve(RowCount);
    for (int r = 0; r < RowCount; ++r) {
        Row row;
        row.Angle = float(r * StepDegrees);
        m.DriverAngle = row.Angle;
        m.SolveError = false;
        kes::SolveLinkage(m);
        row.SolveError = m.SolveError;
        for (int k = 1; k <= SlotCount; ++k)
            if (t.Listed[size_t(k)])
                row.Position[size_t(k)] = aux_points::AbsolutePosition(m, t.PointIndex[size_t(k)]);
        for (int p = 1; p <= PairCount; ++p) {
            if (!t.PairListed[size_t(p)]) continue;
            const QPointF d = row.Position[size_t(2 * p - 1)] - row.Position[size_t(2 * p)];
            row.Distance[size_t(p)] = std::hypot(d.x(), d.y());
        }
        t.Rows.push_back(row);
    }

    m.DriverAngle = savedAngle;
    m.RevArmSetting = savedRevArm;
    kes::SolveLinkage(m);
    m.SolveError = savedError;
    m.BeepOnError = savedBeep;
    return t;
}

QString Format(const kes::Model& m, const Table& t) {
    QStringList lines;
    lines << Title;
    lines << QStringLiteral("Data set") + Tab + QString::fromStdString(m.DataSetName);
    lines << QStringLiteral("Reverse arm") + Tab + Number(m.RevArmSetting) + Tab +
                 QStringLiteral("Mid gear") + Tab + Number(m.MidGear());
    if (!t.AnyListed()) {
        lines << QString() << NothingListed;
        return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    }
    for (int k = 1; k <= SlotCount; ++k) {
        if (!t.Listed[size_t(k)]) continue;
        lines << QStringLiteral("Slot %1").arg(k) + Tab + aux_points::Name(t.PointIndex[size_t(k)]);
    }
    for (const QString& line : Units)
        lines << line;
    lines << QString();

    QStringList head{QStringLiteral("Angle")};
    for (int k = 1; k <= SlotCount; ++k) {
        if (!t.Listed[size_t(k)]) continue;
        head << QStringLiteral("%1 Vert").arg(k) << QStringLiteral("%1 Horz").arg(k);
    }
    for (int p = 1; p <= PairCount; ++p)
        if (t.PairListed[size_t(p)]) head << QStringLiteral("Dist %1-%2").arg(2 * p - 1).arg(2 * p);
    head << QStringLiteral("Error");
    lines << head.join(Tab);

    for (const Row& row : t.Rows) {
        QStringList cells{Number(row.Angle, 1)};
        for (int k = 1; k <= SlotCount; ++k) {
            if (!t.Listed[size_t(k)]) continue;
            cells << Number(row.Position[size_t(k)].y()) << Number(row.Position[size_t(k)].x());
        }
        for (int p = 1; p <= PairCount; ++p)
            if (t.PairListed[size_t(p)]) cells << Number(row.Distance[size_t(p)]);
        cells << (row.SolveError ? QStringLiteral("1") : QStringLiteral("0"));
        lines << cells.join(Tab);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace pivot_table
