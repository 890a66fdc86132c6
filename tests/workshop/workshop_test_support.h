// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Designs the workshop tests share: the factory gear and the big sample
// engine of tests/data, optionally scaled as "Scale Design" does.

#include "files/dimension_file.h"
#include "model/model.h"
#include "model/scale_design.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QString>

#include <memory>
#include <vector>

namespace workshop_test {

inline std::unique_ptr<kes::Model> Factory() {
    auto m = std::make_unique<kes::Model>();
    kes::InitialiseModel(*m);
    return m;
}

inline std::unique_ptr<kes::Model> BigEngine(double scale = 1.0) {
    auto m = Factory();
    const kes::FileResult r =
        kes::LoadDimensionsByExtension(*m, KESTROVE_TEST_DATA "/big-engine.kvd");
    EXPECT_TRUE(r.Ok) << r.Message;
    if (scale != 1.0) kes::ScaleDesign(*m, scale);
    return m;
}

struct Centre {
    double X, Y, R;
};

// The centres of the circles an SVG draws (the pin holes), through the
// matrix of the group each one sits in.
inline std::vector<Centre> HoleCentres(const QString& svg) {
    std::vector<Centre> out;
    QRegularExpression group(QStringLiteral("<g [^>]*transform=\"matrix\\(([^)]*)\\)\"[^>]*>"));
    QRegularExpression ellipse(
        QStringLiteral("<circle cx=\"([-0-9.e]+)\" cy=\"([-0-9.e]+)\" r=\"([-0-9.e]+)\""));
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
    qsizetype pos = 0;
    while (true) {
        const auto g = group.match(svg, pos);
        const auto el = ellipse.match(svg, pos);
        if (!el.hasMatch()) break;
        if (g.hasMatch() && g.capturedStart() < el.capturedStart()) {
            const QStringList m = g.captured(1).split(QLatin1Char(','));
            a = m[0].toDouble(), b = m[1].toDouble(), c = m[2].toDouble();
            d = m[3].toDouble(), e = m[4].toDouble(), f = m[5].toDouble();
            pos = g.capturedEnd();
            continue;
        }
        const double x = el.captured(1).toDouble(), y = el.captured(2).toDouble();
        out.push_back({a * x + c * y + e, b * x + d * y + f, a * el.captured(3).toDouble()});
        pos = el.capturedEnd();
    }
    return out;
}

} // namespace workshop_test
