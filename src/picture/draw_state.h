// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the mechanism drawing keeps from one frame to the next (steam,
// exhaust beats, cut-off read-outs, the error indicator, the dimension
// highlight) and what one frame asks its window to do afterwards.
// HighlightedDimension and the cut-off texts live in the model's screen
// state, because the dialogs and the reverse-arm controls write them; the
// drawing only reads the model and hands its changes back in FrameOutcome.

#include "model/model.h"
#include "picture/cylinder_outlines.h"
#include "picture/drawn_items.h"

#include <QPoint>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct DrawState {
    CylinderOutlines Outlines;
    // The driver angle the points were solved at: the tick advances the
    // model's angle before the frame is drawn, and the read-outs belong to
    // the picture.
    std::optional<float> SolvedDriverAngle;

    // Steam: the phase of each end is 0 until its port first opens, then 'E'
    // (admission and expansion) or 'C' (exhaust and compression).
    char FrontPhase = 0;
    char RearPhase = 0;
    float FrontSteamPressure = 20.0f;
    float RearSteamPressure = 20.0f;
    bool FrontBeatArmed = false;
    bool RearBeatArmed = false;
    float FrontBeatPressure = 0.0f; // pressure at that end's last beat
    float RearBeatPressure = 0.0f;

    // Cut-off read-outs: frames each text stays up, and the previous frame's values.
    int CutOffFrontHold = 0;
    int CutOffRearHold = 0;
    float PrevPistonTravel = 0.0f;
    float PrevFrontSteamOpen = 0.0f;
    float PrevRearSteamOpen = 0.0f;

    // Dimension highlight.
    int HighlightFrameCount = 0;
    int HighlightBlinkCount = 0;
    bool HighlightReturnToFrame = false;

    int ErrorBlinkCount = 0;

    // The steam dots' generator is reseeded from the clock every frame unless
    // a test or benchmark fixes the seed.
    std::optional<uint32_t> FixedSeed;
    uint32_t RandomState = 1;
    // Dots are gathered here and painted in batches; kept between frames so a
    // frame allocates nothing once it has grown.
    std::vector<QPoint> DotBuffer;
    // What the last frame drew, item by item, for its window to present
    // only what changed and for the next frame to clear only where it drew;
    // kept between frames like the dots. DrawnImageKey is the cache key of
    // the image as that frame left it.
    DrawnItems Drawn;
    qint64 DrawnImageKey = 0;
};

// A mouse click in the picture ends the highlight at the next frame.
constexpr int HighlightClickFrameCount = 1005;
constexpr int HighlightFrames = 1000;

enum class HighlightTarget { None, Frame, Cylinder };

// What one frame asks of its window once the picture is drawn.
struct FrameOutcome {
    // Exhaust beats in the order they fired; each may first set the output
    // volume (the low word the left channel, the high word the right).
    struct Beat {
        std::optional<uint32_t> Volume;
    };
    std::array<Beat, 2> Beats{};
    int BeatCount = 0;

    bool PlayError = false;
    int Beeps = 0; // from zero spans
    // The menu bar's error item: shown, hidden, or left as it is.
    std::optional<bool> ErrorItemVisible;
    // Top of the UnDo button beside the undo line; nullopt hides it.
    std::optional<int> UndoButtonTop;

    HighlightTarget CloseDialog = HighlightTarget::None;
    HighlightTarget ReopenDialog = HighlightTarget::None;
    bool HighlightEnded = false;

    // Changes to the model, made by ApplyFrameOutcome once the frame is drawn.
    bool ClearSolveError = false; // the error indicator has run its course
    std::optional<std::string> CutOffFrontText;
    std::optional<std::string> CutOffRearText;
    std::optional<kes::View> SavedView;   // the view a highlight returns to
    std::optional<kes::View> CurrentView; // the highlight's view, or the return
};
