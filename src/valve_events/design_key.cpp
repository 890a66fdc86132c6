#include "valve_events/design_key.h"

#include <bit>

namespace events_window {

DesignKey KeyOf(const kes::Mechanism& m) {
    DesignKey key;
    size_t n = 0;
    const auto put = [&](float v) { key.Bits[n++] = std::bit_cast<uint32_t>(v); };
    const kes::FrameDimensions& f = m.Frame;
    for (float v : {f.DriverDiameter, f.StrokeLength, f.MainRodLength, f.DropLinkVert,
                    f.DropLinkBackSet, f.UnionLinkLength, f.CombLeverUpper, f.CombLeverBackSet,
                    f.CombLeverLower, f.ValveRodLength, f.EccCrankLength, f.EccCircleDiameter,
                    f.EccRodLength, f.RevArmNorm, f.RevArmMax})
        put(v);
    const kes::BakerDimensions& b = m.Baker;
    for (float v : {b.RevArmUpperLength, b.RevArmLowerLength, b.RadiusBarLength, b.GearConRodUpper,
                    b.GearConRodLower, b.GearConRodBackset, b.BellCrankVert, b.BellCrankBackSet,
                    b.BellCrankHorz})
        put(v);
    for (float v : m.Cylinder)
        put(v);
    for (int i : {kes::GearMount, kes::RevArmPivot, kes::BellCrankPivot, kes::CrankOffset}) {
        put(m.Points[static_cast<size_t>(i)].X);
        put(m.Points[static_cast<size_t>(i)].Y);
    }
    put(m.Points[kes::Crosshead].Y);
    put(m.SolveTolerance);
    return key;
}

} // namespace events_window
