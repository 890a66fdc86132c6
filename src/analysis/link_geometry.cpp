// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/link_geometry.h"

#include "model/absolute_points.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kes {

namespace {

LinkDimension Centres(const GearLink& l, int a, int b, std::string name) {
    const LinkPin &p = l.Pins[size_t(a)], &q = l.Pins[size_t(b)];
    return {a, b, std::hypot(q.X - p.X, q.Y - p.Y), LinkDimensionKind::Centres, std::move(name)};
}

GearLink TwoPin(std::string id, std::string name, std::string pinA, int pointA, std::string pinB,
                int pointB, double length, std::string dimension) {
    GearLink l{std::move(id), std::move(name), {}, {}};
    l.Pins = {{std::move(pinA), 0.0, 0.0, pointA}, {std::move(pinB), length, 0.0, pointB}};
    l.Dimensions.push_back(Centres(l, 0, 1, std::move(dimension)));
    return l;
}

double Cross(Point2 o, Point2 a, Point2 b) {
    return (a.X - o.X) * (b.Y - o.Y) - (a.Y - o.Y) * (b.X - o.X);
}

// Anticlockwise convex hull (monotone chain); two points give both.
std::vector<Point2> Hull(std::vector<Point2> p) {
    std::sort(p.begin(), p.end(),
              [](Point2 a, Point2 b) { return a.X < b.X || (a.X == b.X && a.Y < b.Y); });
    p.erase(std::unique(p.begin(), p.end(),
                        [](Point2 a, Point2 b) { return a.X == b.X && a.Y == b.Y; }),
            p.end());
    if (p.size() < 3) return p;
    std::vector<Point2> h(2 * p.size());
    size_t k = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        while (k >= 2 && Cross(h[k - 2], h[k - 1], p[i]) <= 0)
            --k;
        h[k++] = p[i];
    }
    for (size_t i = p.size() - 1, t = k + 1; i > 0; --i) {
        while (k >= t && Cross(h[k - 2], h[k - 1], p[i - 1]) <= 0)
            --k;
        h[k++] = p[i - 1];
    }
    h.resize(k - 1);
    return h;
}

} // namespace

std::vector<GearLink> GearLinks(const Mechanism& m) {
    const FrameDimensions& f = m.Frame;
    const BakerDimensions& b = m.Baker;
    std::vector<GearLink> links;

    GearLink rev{"reverse-arm", "Reverse arm", {}, {}};
    rev.Pins = {
        {"pivot", 0.0, 0.0, RevArmPivotAbs},
        {"radius-bar pin", b.RevArmLowerLength, 0.0, RevArmRadiusPin},
        {"reach-rod pin", double{b.RevArmLowerLength} + b.RevArmUpperLength, 0.0, RevArmTop}};
    rev.Dimensions = {Centres(rev, 0, 1, "RevArmLowerLength"),
                      Centres(rev, 1, 2, "RevArmUpperLength"), Centres(rev, 0, 2, "")};
    links.push_back(rev);

    links.push_back(TwoPin("radius-bar", "Radius bar", "reverse-arm pin", RevArmRadiusPin,
                           "gear connecting rod pin", GearConRodRadiusPin, b.RadiusBarLength,
                           "RadiusBarLength"));

    // The lower pin stands back from the rod line, toward the driver.
    GearLink rod{"gear-connecting-rod", "Gear connecting rod", {}, {}};
    rod.Pins = {{"bell-crank pin", 0.0, 0.0, BellCrankHorzPin},
                {"radius-bar pin", b.GearConRodUpper, 0.0, GearConRodRadiusPin},
                {"eccentric-rod pin", double{b.GearConRodUpper} + b.GearConRodLower,
                 -double{b.GearConRodBackset}, EccRodFrontPin}};
    rod.Dimensions = {Centres(rod, 0, 1, "GearConRodUpper"),
                      {1, 2, b.GearConRodLower, LinkDimensionKind::Along, "GearConRodLower"},
                      {1, 2, b.GearConRodBackset, LinkDimensionKind::Square, "GearConRodBackset"},
                      Centres(rod, 0, 2, "")};
    links.push_back(rod);

    // The vertical arm stands square to the horizontal one, its pin set
    // toward the horizontal arm by the back-set.
    GearLink bell{"bell-crank", "Bell crank", {}, {}};
    bell.Pins = {{"pivot", 0.0, 0.0, BellCrankPivotAbs},
                 {"gear connecting rod pin", b.BellCrankHorz, 0.0, BellCrankHorzPin},
                 {"valve-rod pin", b.BellCrankBackSet, b.BellCrankVert, BellCrankVertPin}};
    bell.Dimensions = {Centres(bell, 0, 1, "BellCrankHorz"),
                       {0, 2, b.BellCrankVert, LinkDimensionKind::Square, "BellCrankVert"},
                       {0, 2, b.BellCrankBackSet, LinkDimensionKind::Along, "BellCrankBackSet"},
                       Centres(bell, 0, 2, ""),
                       Centres(bell, 1, 2, "")};
    links.push_back(bell);

    links.push_back(TwoPin("valve-rod", "Valve rod", "bell-crank pin", BellCrankVertPin,
                           "combination lever pin", ValveRodFrontPin, f.ValveRodLength,
                           "ValveRodLength"));

    GearLink lever{"combination-lever", "Combination lever", {}, {}};
    lever.Pins = {{"union-link pin", 0.0, 0.0, CombLeverLowerPin},
                  {"valve-rod pin", f.CombLeverLower, 0.0, ValveRodFrontPin},
                  {"valve-stem joint", double{f.CombLeverLower} + f.CombLeverUpper,
                   f.CombLeverBackSet, ValveStemJoint}};
    lever.Dimensions = {Centres(lever, 0, 1, "CombLeverLower"),
                        {1, 2, f.CombLeverUpper, LinkDimensionKind::Along, "CombLeverUpper"},
                        {1, 2, f.CombLeverBackSet, LinkDimensionKind::Square, "CombLeverBackSet"},
                        Centres(lever, 0, 2, "")};
    links.push_back(lever);

    links.push_back(TwoPin("union-link", "Union link", "combination lever pin", CombLeverLowerPin,
                           "crosshead arm pin", UnionLinkRearPin, f.UnionLinkLength,
                           "UnionLinkLength"));

    GearLink drop{"drop-link", "Crosshead drop link", {}, {}};
    drop.Pins = {{"crosshead pin", 0.0, 0.0, Crosshead},
                 {"union-link pin", f.DropLinkVert, f.DropLinkBackSet, UnionLinkRearPin}};
    drop.Dimensions = {{0, 1, f.DropLinkVert, LinkDimensionKind::Along, "DropLinkVert"}};
    if (f.DropLinkBackSet != 0.0f) {
        drop.Dimensions.push_back({0, 1, std::fabs(double{f.DropLinkBackSet}),
                                   LinkDimensionKind::Square, "DropLinkBackSet"});
        drop.Dimensions.push_back(Centres(drop, 0, 1, ""));
    }
    links.push_back(drop);

    links.push_back(TwoPin("eccentric-rod", "Eccentric rod", "return-crank pin", EccCrankPin,
                           "gear connecting rod pin", EccRodFrontPin, f.EccRodLength,
                           "EccRodLength"));
    links.push_back(TwoPin("return-crank", "Return crank", "main crank pin", CrankPin,
                           "return-crank pin", EccCrankPin, f.EccCrankLength, "EccCrankLength"));
    links.push_back(TwoPin("main-rod", "Main rod", "crank pin", CrankPin, "crosshead pin",
                           Crosshead, f.MainRodLength, "MainRodLength"));
    return links;
}

double DefaultPinDiameter(const Mechanism& m) {
    return 0.04 * m.Frame.DriverDiameter;
}

Point2 LinkPlacement::Apply(const LinkPin& p) const {
    const double c = std::cos(AngleRad), s = std::sin(AngleRad);
    return {Origin.X + c * p.X - s * p.Y, Origin.Y + s * p.X + c * p.Y};
}

LinkPlacement PlaceOnSolved(const GearLink& link, const Mechanism& solved) {
    const auto at = [&](int point) {
        if (point == BellCrankPivotAbs) return AbsolutePosition(solved, BellCrankPivot);
        if (point == RevArmPivotAbs) return AbsolutePosition(solved, RevArmPivot);
        return AbsolutePosition(solved, point);
    };
    const LinkPin &a = link.Pins[0], &b = link.Pins[1];
    const WorldPosition wa = at(a.Point), wb = at(b.Point);
    LinkPlacement pl;
    pl.AngleRad = std::atan2(wb.Y - wa.Y, wb.X - wa.X) - std::atan2(b.Y - a.Y, b.X - a.X);
    pl.Origin = {0.0, 0.0};
    const Point2 shifted = pl.Apply(a);
    pl.Origin = {wa.X - shifted.X, wa.Y - shifted.Y};
    return pl;
}

std::vector<OutlineVertex> LinkOutline(const GearLink& link, double halfWidth) {
    std::vector<Point2> pins;
    for (const LinkPin& p : link.Pins)
        pins.push_back({p.X, p.Y});
    const std::vector<Point2> h = Hull(pins);
    std::vector<OutlineVertex> out;
    if (h.empty()) return out;
    if (h.size() == 1) { // a circle: two half-circle arcs
        out.push_back({{h[0].X + halfWidth, h[0].Y}, 1.0});
        out.push_back({{h[0].X - halfWidth, h[0].Y}, 1.0});
        return out;
    }
    const size_t n = h.size();
    const auto normal = [&](size_t i) { // outward: to the right of an anticlockwise edge
        const Point2 a = h[i], b = h[(i + 1) % n];
        const double len = std::hypot(b.X - a.X, b.Y - a.Y);
        return Point2{(b.Y - a.Y) / len, -(b.X - a.X) / len};
    };
    for (size_t i = 0; i < n; ++i) {
        const Point2 a = h[i], b = h[(i + 1) % n];
        const Point2 nn = normal(i), next = normal((i + 1) % n);
        double turn = std::atan2(nn.X * next.Y - nn.Y * next.X, nn.X * next.X + nn.Y * next.Y);
        if (turn <= 0.0) turn += 2.0 * std::numbers::pi; // a two-pin hull turns half round
        if (n == 2) turn = std::numbers::pi;
        out.push_back({{a.X + halfWidth * nn.X, a.Y + halfWidth * nn.Y}, 0.0});
        out.push_back({{b.X + halfWidth * nn.X, b.Y + halfWidth * nn.Y}, std::tan(turn / 4.0)});
    }
    return out;
}

std::vector<Point2> SampleOutline(const std::vector<OutlineVertex>& outline, double stepDeg) {
    std::vector<Point2> pts;
    for (size_t i = 0; i < outline.size(); ++i) {
        const OutlineVertex& v = outline[i];
        const Point2 a = v.At, b = outline[(i + 1) % outline.size()].At;
        pts.push_back(a);
        if (v.Bulge == 0.0) continue;
        // The arc's centre and sweep from its chord and bulge.
        const double sweep = 4.0 * std::atan(v.Bulge);
        const double chord = std::hypot(b.X - a.X, b.Y - a.Y);
        if (chord == 0.0) continue;
        const double radius = chord / (2.0 * std::sin(sweep / 2.0));
        const double mx = (a.X + b.X) / 2, my = (a.Y + b.Y) / 2;
        const double toCentre = radius * std::cos(sweep / 2.0);
        const double ux = -(b.Y - a.Y) / chord, uy = (b.X - a.X) / chord; // left of the chord
        const double cx = mx + ux * toCentre, cy = my + uy * toCentre;
        const double start = std::atan2(a.Y - cy, a.X - cx);
        const int steps = std::max(
            2, static_cast<int>(std::ceil(std::fabs(sweep) * 180.0 / std::numbers::pi / stepDeg)));
        for (int k = 1; k < steps; ++k) {
            const double t = start + sweep * k / steps;
            pts.push_back({cx + radius * std::cos(t), cy + radius * std::sin(t)});
        }
    }
    return pts;
}

} // namespace kes
