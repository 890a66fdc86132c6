// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/scale_design.h"

#include "model/design_edit.h"
#include "model/dyn_vars.h"
#include "model/mid_gear.h"

#include <cmath>
#include <cstring>

namespace kes {

namespace {

class Scaler {
  public:
    explicit Scaler(double factor) : factor_(factor) {}

    void Length(float& v) { Put(v, static_cast<double>(v) * factor_); }
    void InverseScale(float& v) { Put(v, static_cast<double>(v) / factor_); }
    // Structs made only of float lengths (the dimension groups).
    template <class Struct> void Lengths(Struct& s) {
        static_assert(sizeof(Struct) % sizeof(float) == 0);
        float v[sizeof(Struct) / sizeof(float)];
        std::memcpy(v, &s, sizeof(Struct));
        for (float& f : v)
            Length(f);
        std::memcpy(&s, v, sizeof(Struct));
    }
    void ViewScale(View& view) { InverseScale(view.Scale); }
    bool Finite() const { return finite_; }

  private:
    void Put(float& v, double scaled) {
        const float f = static_cast<float>(scaled);
        if (std::isfinite(v) && !std::isfinite(f)) finite_ = false;
        v = f;
    }

    double factor_;
    bool finite_ = true;
};

void ScaleLineItem(Scaler& s, LineItem& item) {
    const bool used = item.ItemType == 0 || item.ItemType == 1;
    for (float* v : {&item.Point1X, &item.Point1Y, &item.Point2X, &item.Point2Y, &item.Ref1X,
                     &item.Ref1Y, &item.Ref2X, &item.Ref2Y}) {
        if (!used && *v == -1.0f) continue; // an unset field
        s.Length(*v);
    }
}

} // namespace

bool ScaleDesign(Mechanism& m, double factor) {
    if (!std::isfinite(factor) || factor <= 0.0) return false;
    Mechanism scaled = m;
    Scaler s(factor);
    s.Lengths(scaled.Frame);
    s.Lengths(scaled.Baker);
    for (float& v : scaled.Cylinder)
        s.Length(v);
    for (PointSlot& p : scaled.Points) {
        s.Length(p.X);
        s.Length(p.Y);
    }
    for (float& v : scaled.RevArmPositions)
        s.Length(v);
    s.Length(scaled.RevArmSetting);
    s.Length(scaled.DiagramRevArmSetting);
    s.Length(scaled.GraphicZoom);
    for (size_t i = 1; i < scaled.LineTable.size(); ++i)
        ScaleLineItem(s, scaled.LineTable[i]);

    for (View* v : {&scaled.CurrentView, &scaled.SavedView, &scaled.ZoomAnchorView})
        s.ViewScale(*v);
    for (size_t k = 0; k < scaled.ViewPresets.size(); k += 3)
        s.InverseScale(scaled.ViewPresets[k]);
    if (!s.Finite()) return false;

    KeepInvariants(scaled);
    // When the search fails, the scaled mid gear and positions stand.
    FindMidGear(scaled);
    UpdateRevArmPositionCount(scaled);
    m = scaled;
    return true;
}

bool ScaleModel(Model& m, double factor) {
    const auto scale = [factor](Mechanism& design) { return ScaleDesign(design, factor); };
    if (!ReplaceDesign(m, ScaleStepName, scale)) return false;
    ClearDynVarSlots(m);
    SetRevArmBarRange(m);
    return true;
}

} // namespace kes
