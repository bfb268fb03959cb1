// Where everything sits on the instrument's panel. The editor places its
// controls from this table and the artwork generator paints the same places
// into the panel picture, so the two cannot drift apart.
#pragma once

namespace panel {

constexpr int kWidth = 785;
constexpr int kHeight = 82;

// The pictures' resource numbers.
constexpr int kPanelResource = 101;
constexpr int kSwitchResource = 102;
constexpr int kKnobStripResource = 103;
constexpr int kKnobMaskResource = 104;

// A switch picture holds two 25-by-17 frames, one above the other: lamp lit
// (values up to 0.5), then lamp dark.
constexpr int kSwitchWidth = 25;
constexpr int kSwitchHeight = 17;
constexpr int kSwitchFrameOffset = kSwitchHeight;

// The knob strip holds 64 frames of 26 by 26, minimum at the top.
constexpr int kKnobSize = 26;
constexpr int kKnobFrameCount = 64;

enum class ControlKind { Switch, Knob };

struct ControlPlace {
    ControlKind kind;
    int left;
    int top;
    int paramIndex;
};

// In list order: the two switches ("A Mode", "B Mode"), then the knobs left to
// right: the attack section (A Tone, A Decay, A Vel), the body section (B Tone,
// B Decay, B Vel) and the master section (Decay, Velocity, Volume, Chorus).
// Within a section the knobs stand 48 pixels apart; each switch sits 47 pixels
// left of its section's first knob and 5 pixels lower.
constexpr ControlPlace kControls[] = {
    {ControlKind::Switch, 24, 39, 0}, {ControlKind::Switch, 240, 39, 4},
    {ControlKind::Knob, 71, 34, 1},   {ControlKind::Knob, 119, 34, 2},  {ControlKind::Knob, 167, 34, 3},
    {ControlKind::Knob, 287, 34, 5},  {ControlKind::Knob, 335, 34, 6},  {ControlKind::Knob, 383, 34, 7},
    {ControlKind::Knob, 455, 34, 8},  {ControlKind::Knob, 503, 34, 9},  {ControlKind::Knob, 551, 34, 10},
    {ControlKind::Knob, 599, 34, 11},
};

}  // namespace panel
