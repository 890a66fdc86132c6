// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/view_fit.h"

#include "model/solver.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace kes {

namespace {

constexpr int FitAngleStepDeg = 10;

struct Extent {
    WorldBox Box{INFINITY, INFINITY, -INFINITY, -INFINITY};
    void Add(double x, double y) {
        if (!std::isfinite(x) || !std::isfinite(y)) return;
        Box.MinX = std::min(Box.MinX, x), Box.MaxX = std::max(Box.MaxX, x);
        Box.MinY = std::min(Box.MinY, y), Box.MaxY = std::max(Box.MaxY, y);
    }
    void AddCircle(double x, double y, double r) {
        Add(x - r, y - r);
        Add(x + r, y + r);
    }
    bool Found() const { return Box.MinX <= Box.MaxX && Box.MinY <= Box.MaxY; }
};

} // namespace

std::optional<WorldBox> GearExtent(const Model& m) {
    auto copy = std::make_unique<Model>(m);
    Model& c = *copy;
    c.BeepOnError = false;
    Extent e;
    const auto& pt = c.Points;
    for (int deg = 0; deg < 360; deg += FitAngleStepDeg) {
        c.DriverAngle = static_cast<float>(deg);
        SolveLinkage(c);
        for (int i = 0; i < DrawnPointCount; ++i)
            if (i != BellCrankPivot && i != RevArmPivot && i != RefPoint1 && i != RefPoint2 &&
                i != CrankOffset)
                e.Add(pt[size_t(i)].X, pt[size_t(i)].Y);
    }
    // The fixed pivots are held relative to the gear mount.
    e.Add(double{pt[GearMount].X} - pt[BellCrankPivot].X,
          double{pt[GearMount].Y} + pt[BellCrankPivot].Y);
    e.Add(double{pt[GearMount].X} - pt[RevArmPivot].X, double{pt[GearMount].Y} - pt[RevArmPivot].Y);
    e.AddCircle(0, 0, 0.5 * c.Frame.DriverDiameter);
    const auto& cyl = c.Cylinder;
    const double x = cyl[CylCtrToDriver], yc = pt[Crosshead].Y;
    const double half = 0.5 * std::max(cyl[BoreLength], cyl[ValveChamberLength]);
    e.Add(x - half, yc - 0.5 * cyl[BoreDiameter]);
    e.Add(x + half, yc + cyl[ValveSurfaceToCylCL] + cyl[ValveChamberHeight]);
    e.Add(x + half, yc + 0.5 * cyl[BoreDiameter]);
    if (!e.Found()) return std::nullopt;
    return e.Box;
}

WorldBox FreePicture(const Model& m, int width, int height) {
    const int top = m.ScreenDataOn && height > 2 * ReadOutStripHeight ? ReadOutStripHeight : 0;
    return {double{FitMarginPx}, double(top + FitMarginPx), double(width - FitMarginPx),
            double(height - FitMarginPx)};
}

View FitView(const WorldBox& box, const WorldBox& picture) {
    const double w = std::max(box.MaxX - box.MinX, 1e-6);
    const double h = std::max(box.MaxY - box.MinY, 1e-6);
    const double pw = std::max(picture.MaxX - picture.MinX, 1.0);
    const double ph = std::max(picture.MaxY - picture.MinY, 1.0);
    const double s =
        std::clamp(std::min(pw / w, ph / h), double{MinViewScale}, double{MaxViewScale});
    // screen x = X * s + OffsetX, screen y = -Y * s + OffsetY.
    View v;
    v.Scale = static_cast<float>(s);
    v.OffsetX =
        static_cast<float>(0.5 * (picture.MinX + picture.MaxX) - 0.5 * (box.MinX + box.MaxX) * s);
    v.OffsetY =
        static_cast<float>(0.5 * (picture.MinY + picture.MaxY) + 0.5 * (box.MinY + box.MaxY) * s);
    return v;
}

bool ViewCutsOffGear(const Model& m, int width, int height) {
    const auto box = GearExtent(m);
    if (!box) return false;
    const View& v = m.CurrentView;
    const double left = box->MinX * v.Scale + v.OffsetX, right = box->MaxX * v.Scale + v.OffsetX;
    const double top = -box->MaxY * v.Scale + v.OffsetY;
    const double bottom = -box->MinY * v.Scale + v.OffsetY;
    return !(left >= 0.0 && right <= width && top >= 0.0 && bottom <= height);
}

bool FitToWindowClick(Model& m, ControlState& cs, int width, int height) {
    const auto box = GearExtent(m);
    if (!box) return false;
    m.CurrentView = FitView(*box, FreePicture(m, width, height));
    m.ZoomAnchorView = m.CurrentView;
    cs.NormEnabled = true;
    return true;
}

} // namespace kes
