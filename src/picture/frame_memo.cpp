// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture/frame_memo.h"

#include "model/model.h"
#include "picture/animation_tick.h"

#include <cstring>
#include <string>
#include <type_traits>

namespace {

// What a frame is drawn from. The design itself is in it as its revision,
// which every edit moves; the views, the display settings and the drawing
// state are no edit of the design and are listed field by field.
class KeyWriter {
  public:
    explicit KeyWriter(std::vector<unsigned char>& key) : key_(key) { key_.clear(); }

    template <typename T> void Put(const T& v) {
        static_assert(std::is_trivially_copyable_v<T>);
        const auto* p = reinterpret_cast<const unsigned char*>(&v);
        key_.insert(key_.end(), p, p + sizeof v);
    }
    void Put(const std::string& text) {
        Put(text.size());
        key_.insert(key_.end(), text.begin(), text.end());
    }

  private:
    std::vector<unsigned char>& key_;
};

void PutDesignAndView(KeyWriter& k, const kes::Model& m) {
    const kes::Design& d = m;
    k.Put(m.DesignRevision);
    // The name is shown, and a save under a new name renames the design
    // without an edit.
    k.Put(d.DataSetName);
    k.Put(d.CurrentView);
    k.Put(d.NormalView);
    k.Put(d.SavedView);
    k.Put(d.ZoomAnchorView);
    k.Put(d.ViewPresets);
    k.Put(d.GraphicZoom);
    k.Put(d.PivotSlots);
    k.Put(d.CurrentItem);
    k.Put(d.CurrentItemHolding);
}

void PutScreen(KeyWriter& k, const kes::ScreenState& v) {
    k.Put(v.RedrawPending);
    k.Put(v.ScreenDataOn);
    k.Put(v.SteamDisplayOn);
    k.Put(v.LineWidth);
    k.Put(v.TextScaleX);
    k.Put(v.TextScaleY);
    k.Put(v.ReferencePointsOn);
    k.Put(v.PivotDataOn);
    k.Put(v.DynVarMode);
    k.Put(v.UndoDisplay);
    k.Put(v.PivotPickArmed);
    k.Put(v.PivotPickSlot);
    k.Put(v.LinesPickWaiting);
    k.Put(v.LinesPickRefChoice);
    for (const auto& slot : v.DynVarSlots) {
        k.Put(slot.Id);
        k.Put(slot.Value);
        k.Put(slot.Name);
    }
    k.Put(v.DynVarDelta);
    k.Put(v.CurrentDynVar);
    k.Put(v.DynVarBefore);
    for (const auto& entry : v.UndoRecord) {
        k.Put(entry.Id);
        k.Put(entry.Before);
        k.Put(entry.After);
        k.Put(entry.Name);
    }
    k.Put(v.UndoCount);
    k.Put(v.UndoButtonsEnabled);
    k.Put(v.RevArmBarMin);
    k.Put(v.RevArmBarMax);
    k.Put(v.HighlightedDimension);
    k.Put(v.CutOffFrontText);
    k.Put(v.CutOffRearText);
    k.Put(v.PortGraphMode);
}

void PutDrawState(KeyWriter& k, const DrawState& s) {
    k.Put(s.Outlines);
    k.Put(s.SolvedDriverAngle.has_value());
    k.Put(s.SolvedDriverAngle.value_or(0.0f));
    k.Put(s.FrontPhase);
    k.Put(s.RearPhase);
    k.Put(s.FrontSteamPressure);
    k.Put(s.RearSteamPressure);
    k.Put(s.FrontBeatArmed);
    k.Put(s.RearBeatArmed);
    k.Put(s.FrontBeatPressure);
    k.Put(s.RearBeatPressure);
    k.Put(s.CutOffFrontHold);
    k.Put(s.CutOffRearHold);
    k.Put(s.PrevPistonTravel);
    k.Put(s.PrevFrontSteamOpen);
    k.Put(s.PrevRearSteamOpen);
    k.Put(s.HighlightFrameCount);
    k.Put(s.HighlightBlinkCount);
    k.Put(s.HighlightReturnToFrame);
    k.Put(s.ErrorBlinkCount);
    k.Put(s.FixedSeed);
    k.Put(s.RandomState);
    // DotBuffer is scratch, empty between frames; Drawn is what was drawn.
}

// A frame that asks nothing of its window or the model.
bool Quiet(const FrameOutcome& out) {
    return out.BeatCount == 0 && !out.PlayError && out.Beeps == 0 && !out.ErrorItemVisible &&
           out.CloseDialog == HighlightTarget::None && out.ReopenDialog == HighlightTarget::None &&
           !out.HighlightEnded && !out.ClearSolveError && !out.CutOffFrontText &&
           !out.CutOffRearText && !out.SavedView && !out.CurrentView;
}

} // namespace

void FrameMemo::Key(const kes::Model& m, const DrawState& s, std::vector<unsigned char>& key) {
    KeyWriter k(key);
    PutDesignAndView(k, m);
    k.Put(static_cast<const kes::Operating&>(m));
    k.Put(m.Points);
    PutScreen(k, m);
    PutDrawState(k, s);
}

bool FrameMemo::Repeats(const kes::Model& m, const DrawState& s) {
    Key(m, s, due_);
    // The steam dots are scattered afresh every frame.
    return settled_ && !m.SteamDisplayOn && due_ == settled_key_;
}

void FrameMemo::Drawn(const kes::Model& m, const DrawState& s, const FrameOutcome& out) {
    undoButtonTop_ = out.UndoButtonTop;
    Key(m, s, after_);
    // Drawing from due_ left everything as it found it: the same inputs
    // would draw the same frame again.
    settled_ = !m.SteamDisplayOn && Quiet(out) && after_ == due_;
    if (settled_) settled_key_.swap(due_);
}

bool RunTickIfChanged(kes::Model& m, DrawState& s, QImage& image, FrameOutcome& out,
                      FrameMemo& memo) {
    PrepareFrame(m, s);
    if (memo.Repeats(m, s)) {
        out.UndoButtonTop = memo.UndoButtonTop();
        return false;
    }
    DrawFrame(m, s, image, out);
    memo.Drawn(m, s, out);
    return true;
}
