// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report's "Performance" page, when the design has engine data: the
// indicator cards at three cut-offs and the MEP and horsepower against speed,
// from the cylinder model, painted with QPainter (the report is also made
// without a widget application, where Qt Charts cannot draw).

#include "cylinder/engine_data.h"

#include <QString>

#include <optional>

namespace kes {
struct Model;
}

namespace exporting {

class PageWriter;

// The engine data beside a design file, when there is a readable one.
std::optional<kes::EngineData> EngineBeside(const QString& designFile);

void WritePerformancePage(PageWriter& w, const kes::Model& m, const kes::EngineData& e);

} // namespace exporting
