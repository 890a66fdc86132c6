// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/view.h"

#include "controls/control_support.h"
#include "model/design_edit.h"
#include "model/format.h"
#include "model/mid_gear.h"
#include "model/typed_value.h"

#include <algorithm>
#include <cmath>

namespace kes {

using namespace controls_detail;

// ---- Pan, zoom and presets ----

void PanVertChange(Model& m, ControlState& cs, int p, BarMove move) {
    const double d = SelfCentre(cs.PanVertBar, p, bars::PanPerPixel, move);
    m.CurrentView.OffsetY = F(m.CurrentView.OffsetY - d);
    m.ZoomAnchorView = m.CurrentView;
    cs.NormEnabled = true;
}

void PanHorzChange(Model& m, ControlState& cs, int p, BarMove move) {
    const double d = SelfCentre(cs.PanHorzBar, p, bars::PanPerPixel, move);
    m.CurrentView.OffsetX = F(m.CurrentView.OffsetX + d);
    m.ZoomAnchorView = m.CurrentView;
    cs.NormEnabled = true;
}

void ZoomChange(Model& m, ControlState& cs, int p, BarMove move) {
    const double d = SelfCentre(cs.ZoomBar, p, bars::ZoomPerPercent, move);
    cs.NormEnabled = true;
    m.ZoomAnchorView = m.CurrentView;
    if (d == 0.0) return;
    const View anchor = m.ZoomAnchorView;
    double s = anchor.Scale;
    if (!std::isfinite(s)) s = MaxViewScale;
    s = std::min(s, static_cast<double>(MaxViewScale));
    s += s * d * 0.01;
    // The scale is held within its limits before the offsets follow it, so
    // the pixel (320, 240) stays on the same world point even at a limit.
    s = ClampValue(s, MinViewScale, MaxViewScale);
    View v = anchor;
    v.Scale = static_cast<float>(s);
    if (UsableScale(anchor.Scale)) {
        const double ratio = s / anchor.Scale;
        v.OffsetX = F((anchor.OffsetX - ZoomCentreX) * ratio + ZoomCentreX);
        v.OffsetY = F(ratio * (anchor.OffsetY - ZoomCentreY) + ZoomCentreY);
    }
    m.CurrentView = v;
}

void NormClick(Model& m, ControlState& cs) {
    // A dimension highlight has a view and a saved view of its own: it ends
    // first, and the normal view follows once it has restored its view.
    if (m.HighlightedDimension > 0) {
        cs.NormAfterHighlight = true;
        return;
    }
    cs.NormAfterHighlight = false;
    m.SavedView = m.CurrentView;
    m.CurrentView = m.NormalView;
    cs.NormEnabled = false;
    cs.PresetArmed = false;
    m.ZoomAnchorView = m.CurrentView;
}

void Preset0Click(Model& m, ControlState& cs) {
    m.ViewPresets[0] = m.CurrentView.Scale;
    m.ViewPresets[1] = m.CurrentView.OffsetX;
    m.ViewPresets[2] = m.CurrentView.OffsetY;
    cs.PresetArmed = true;
    cs.NormEnabled = true;
}

void PresetClick(Model& m, ControlState& cs, int n) {
    if (n < 1 || n > 6) return;
    const size_t at = static_cast<size_t>(3 * n);
    if (cs.PresetArmed) {
        for (size_t i = 0; i < 3; ++i)
            m.ViewPresets[at + i] = m.ViewPresets[i];
    }
    m.CurrentView.Scale = m.ViewPresets[at];
    m.CurrentView.OffsetX = m.ViewPresets[at + 1];
    m.CurrentView.OffsetY = m.ViewPresets[at + 2];
    cs.NormEnabled = true;
    cs.PresetArmed = false;
}

// ---- Reference points ----

void RefBarChange(Model& m, ControlState& cs, int bar, int p, BarMove move) {
    if (bar < 0 || bar > 3) return;
    const double d = SelfCentre(cs.RefBars[static_cast<size_t>(bar)], p, bars::RefPerUnit, move);
    PointSlot& pt = m.Points[bar < 2 ? RefPoint1 : RefPoint2];
    float& v = bar % 2 == 0 ? pt.Y : pt.X;
    v = F(v + d);
    SetZeroButton(cs, bar < 2 ? 1 : 2, true);
}

void RefPtZeroClick(Model& m, ControlState& cs, int point) {
    if (point != 1 && point != 2) return;
    PointSlot& pt = m.Points[point == 1 ? RefPoint1 : RefPoint2];
    pt.X = 0.0f;
    pt.Y = 0.0f;
    SetZeroButton(cs, point, false);
}

void RefPtClick(Model& m, ControlState& cs, int point) {
    if (point != 1 && point != 2) return;
    const PointSlot& pt = m.Points[point == 1 ? RefPoint1 : RefPoint2];
    View& v = m.CurrentView;
    v.OffsetX = F(ZoomCentreX - static_cast<double>(pt.X) * v.Scale);
    v.OffsetY = F(static_cast<double>(v.Scale) * pt.Y + ZoomCentreY);
    // The point now sits at (320, 240); the pan bars stay centred.
    m.ZoomAnchorView = v;
    cs.NormEnabled = true;
}

void SetReferencePoints(Model& m, ControlState&, bool on) {
    m.ReferencePointsOn = on;
    if (!on) m.PivotDataOn = false;
}

void RefPointsClick(Model& m, ControlState& cs) {
    SetReferencePoints(m, cs, !m.ReferencePointsOn);
}

std::array<std::string, 4> TextsForReferencePoints(const Model& m) {
    const PointSlot& p1 = m.Points[RefPoint1];
    const PointSlot& p2 = m.Points[RefPoint2];
    return {FormatFixed(p1.Y, 5, 3), FormatFixed(p1.X, 5, 3), FormatFixed(p2.Y, 5, 3),
            FormatFixed(p2.X, 5, 3)};
}

void TakeReferencePoints(Model& m, ControlState& cs, float v1, float h1, float v2, float h2) {
    m.Points[RefPoint1].Y = v1;
    m.Points[RefPoint1].X = h1;
    m.Points[RefPoint2].Y = v2;
    m.Points[RefPoint2].X = h2;
    if (v1 != 0.0f || h1 != 0.0f) cs.RefPt1ZeroEnabled = true;
    if (v2 != 0.0f || h2 != 0.0f) cs.RefPt2ZeroEnabled = true;
    SetReferencePoints(m, cs, true);
}

void SwitchReferencePointsOff(Model& m, ControlState& cs) {
    SetReferencePoints(m, cs, false);
}

void ZeroReferencePoints(Model& m, ControlState& cs) {
    RefPtZeroClick(m, cs, 1);
    RefPtZeroClick(m, cs, 2);
    SetReferencePoints(m, cs, false);
}

// ---- Graphic zoom and the reverse-arm positions ----

std::string TextForGraphicZoom(const Model& m) {
    return FormatFixed(m.GraphicZoom, 4, 2);
}

void TakeGraphicZoom(Model& m, float value) {
    m.GraphicZoom = ClampValue(value, MinGraphicZoom, MaxGraphicZoom);
}

std::string TextForReverseArmPosition(const Model& m, int field) {
    if (field >= 1 && field <= 9)
        return FormatFixed(m.RevArmPositions[static_cast<size_t>(field)], 7, 3);
    if (field == 10) return FormatFixed(m.VerticalScale, 7, 3);
    return {};
}

void TakeReverseArmPosition(Model& m, int field, float value) {
    const auto positions = m.RevArmPositions;
    const float scale = m.VerticalScale;
    if (field >= 1 && field <= 9) {
        // 0 leaves the slot unused; a position is one the reverse arm can reach.
        float v = value;
        if (v != 0.0f) {
            const double mid = m.MidGear();
            const double max = m.Frame.RevArmMax;
            v = ClampValue(v, std::min(mid - max, mid + max), std::max(mid - max, mid + max));
        }
        m.RevArmPositions[static_cast<size_t>(field)] = v;
        UpdateRevArmPositionCount(m);
    } else if (field == 10) {
        m.VerticalScale = ClampValue(value, MinVerticalScale, MaxVerticalScale);
    }
    // The positions and the scale are stored with the design.
    if (m.RevArmPositions != positions || m.VerticalScale != scale) BumpDesignRevision(m);
}

void CloseReverseArmPositions(Model& m) {
    m.RedrawPending = true;
}

} // namespace kes
