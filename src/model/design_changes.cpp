// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/design_changes.h"

#include <cstring>

namespace kes {

namespace {

// FNV-1a over the bytes of each value; floats are hashed by their bits, so
// -0 and 0 differ and a NaN is still seen as a change.
class Fnv {
  public:
    template <class T> void Add(const T& v) {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &v, sizeof(T));
        for (unsigned char b : bytes) {
            h_ ^= b;
            h_ *= Prime;
        }
    }
    uint64_t Value() const { return h_; }

  private:
    static constexpr uint64_t Prime = 1099511628211ull;
    uint64_t h_ = 14695981039346656037ull;
};

template <class Struct> void AddFloats(Fnv& h, const Struct& s) {
    static_assert(sizeof(Struct) % sizeof(float) == 0);
    float v[sizeof(Struct) / sizeof(float)];
    std::memcpy(v, &s, sizeof(Struct));
    for (float f : v)
        h.Add(f);
}

} // namespace

void MarkDesignModified(ScreenState& s) {
    ++s.DesignRevision;
    s.Listeners.Notify();
}

void MarkDesignSaved(Model& m) {
    m.SavedDesignRevision = m.DesignRevision;
    m.LastDesignFingerprint = DesignFingerprint(m);
}

bool NoteDesignChanges(Model& m) {
    const uint64_t now = DesignFingerprint(m);
    // The first look only takes the fingerprint.
    if (m.LastDesignFingerprint == 0) m.LastDesignFingerprint = now;
    if (now != m.LastDesignFingerprint) {
        m.LastDesignFingerprint = now;
        MarkDesignModified(m);
    }
    return IsDesignModified(m);
}

bool IsDesignModified(const ScreenState& s) {
    return s.DesignRevision != s.SavedDesignRevision;
}

uint64_t DesignFingerprint(const Mechanism& m) {
    Fnv h;
    AddFloats(h, m.Frame);
    AddFloats(h, m.Baker);
    for (float v : m.Cylinder)
        h.Add(v);
    for (int p : {GearMount, RevArmPivot, BellCrankPivot}) {
        h.Add(m.Points[static_cast<size_t>(p)].X);
        h.Add(m.Points[static_cast<size_t>(p)].Y);
    }
    h.Add(m.Points[Crosshead].Y);
    for (size_t i = 1; i < m.RevArmPositions.size(); ++i)
        h.Add(m.RevArmPositions[i]);
    h.Add(m.RevArmPositionCount);
    h.Add(m.VerticalScale);
    for (size_t i = 1; i < m.LineTable.size(); ++i) {
        const LineItem& it = m.LineTable[i];
        for (float v : {it.Point1X, it.Point1Y, it.Point2X, it.Point2Y, it.Ref1X, it.Ref1Y,
                        it.Ref2X, it.Ref2Y})
            h.Add(v);
        for (int32_t v : {it.ItemType, it.ItemColor, it.RefMode, it.Ref1Pivot, it.Ref2Pivot})
            h.Add(v);
    }
    return h.Value();
}

} // namespace kes
