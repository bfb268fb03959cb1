// The four pictures of the instrument's panel: the panel face (101), the
// switch (102), the knob strip (103) and the knob mask (104).
#pragma once

#include "tools/artwork/Canvas.h"

namespace artwork {

// The panel background runs diagonally between these two colours.
constexpr Rgb kGradientTopLeft{89, 180, 196};
constexpr Rgb kGradientBottomRight{45, 126, 148};

// Lettering and brackets.
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

// The knob's disc: 24 pixels across, centred in its 26-by-26 frame.
constexpr double kKnobCentre = 13.0;
constexpr double kKnobRadius = 12.0;
// Whether the pixel (x, y) of a knob frame lies on the disc (judged at the pixel's centre).
bool onKnobDisc(int x, int y);

// The pointer of frame 0 points this many degrees left of straight up, and
// each frame turns it clockwise by the sweep over the 63 steps.
constexpr double kKnobStartDegrees = -140.0;
constexpr double kKnobSweepDegrees = 280.0;

Rgb panelGradientAt(int x, int y);

Canvas drawSwitch();      // 25 by 34: lamp lit above, lamp dark below
Canvas drawKnobFrame(int frame);
Canvas drawKnobStrip();   // 26 by 1664: frames 0 to 63, top to bottom
Canvas drawKnobMask();    // 26 by 26: black disc on white
Canvas drawPanel();       // 785 by 82, with every control at rest painted in

}  // namespace artwork
