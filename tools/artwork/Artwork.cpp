#include "tools/artwork/Artwork.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "gui/PanelLayout.h"
#include "tools/artwork/PixelFont.h"

namespace artwork {
namespace {

// Section titles over their brackets, and the caption under every parameter's control.
struct Section {
    const char* title;
    int bracketLeft;
    int bracketRight;
};
constexpr Section kSections[] = {{"ATTACK", 12, 208}, {"BODY", 230, 422}, {"MASTER", 445, 633}};
constexpr int kTitleTop = 9;      // titles fill rows 9 to 15
constexpr int kBracketRow = 21;
constexpr int kBracketTickEnd = 31;
constexpr int kCaptionTop = 65;   // captions fill rows 65 to 70

const char* const kCaptions[] = {"BRIGHT", "TONE",  "DECAY",    "VELOCITY", "LOWCUT", "TONE",
                                 "DECAY",  "VELOCITY", "DECAY", "VELOCITY", "VOLUME", "CHORUS"};

// The product and maker label fills x 653 to 759, rows 28 to 55.
constexpr int kLabelLeft = 653;
constexpr int kLabelRight = 759;
constexpr int kLabelTop = 28;
constexpr int kLabelBottom = 55;
constexpr const char* kProductLine = "QV's Orrelune";
constexpr const char* kMakerLine = "Quorvel";
constexpr int kMakerScale = 2;
constexpr int kLabelLineGap = 5;

// Switch plate, outline and lamp.
constexpr Rgb kOutline{22, 26, 30};
constexpr int kLampLeft = 6;   // columns 6 to 18
constexpr int kLampWidth = 13;
constexpr int kLampTop = 3;
constexpr int kLampHeight = 6;
constexpr Rgb kLitCentre{255, 246, 176};
constexpr Rgb kLitEdge{236, 146, 34};
constexpr Rgb kDarkCentre{170, 170, 164};
constexpr Rgb kDarkEdge{82, 84, 86};

// The knob body: cyan, lit from the upper left, with a darker rim.
constexpr Rgb kKnobLit{150, 228, 240};
constexpr Rgb kKnobShade{22, 92, 112};
constexpr double kRimWidth = 1.3;
constexpr double kPointerInner = 3.0;
constexpr double kPointerOuter = 10.0;
constexpr double kPointerHalfWidth = 0.9;
constexpr int kSubsamples = 4;  // per axis, for the pointer's soft edge

int centredLeft(int centre, const std::string& text, int scale = 1) { return centre - textWidth(text, scale) / 2; }

// The plate of the switch follows the panel under it. The two switches stand
// at different places on the gradient, so the plate takes the average of the
// two; either differs from its own surroundings by a few levels at most.
Rgb plateColorAt(int column, int row) {
    const panel::ControlPlace& first = panel::kControls[0];
    const panel::ControlPlace& second = panel::kControls[1];
    return mix(panelGradientAt(first.left + column, first.top + row),
               panelGradientAt(second.left + column, second.top + row), 0.5);
}

Rgb lampColorAt(int column, int row, bool lit) {
    const double cx = (kLampWidth - 1) / 2.0;
    const double cy = (kLampHeight - 1) / 2.0;
    const double dx = (column - cx) / (cx + 0.5);
    const double dy = (row - cy) / (cy + 0.5);
    const double distance = std::min(1.0, std::sqrt(dx * dx + dy * dy));
    return lit ? mix(kLitCentre, kLitEdge, distance) : mix(kDarkCentre, kDarkEdge, distance);
}

Canvas drawSwitchFrame(bool lit) {
    Canvas frame(panel::kSwitchWidth, panel::kSwitchHeight);
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            const bool edge = x == 0 || y == 0 || x == frame.width() - 1 || y == frame.height() - 1;
            frame.set(x, y, edge ? kOutline : plateColorAt(x, y));
        }
    }
    for (int y = 0; y < kLampHeight; ++y) {
        for (int x = 0; x < kLampWidth; ++x) frame.set(kLampLeft + x, kLampTop + y, lampColorAt(x, y, lit));
    }
    return frame;
}

// Distance from the point to the pointer's segment, for a pointer at `degrees`.
double distanceToPointer(double px, double py, double degrees) {
    const double radians = degrees * std::numbers::pi / 180.0;
    const double ux = std::sin(radians);
    const double uy = -std::cos(radians);  // screen rows grow downward
    const double along = std::clamp((px - kKnobCentre) * ux + (py - kKnobCentre) * uy, kPointerInner, kPointerOuter);
    const double nearestX = kKnobCentre + ux * along;
    const double nearestY = kKnobCentre + uy * along;
    return std::hypot(px - nearestX, py - nearestY);
}

// Share of the pixel that the pointer covers.
double pointerCoverage(int x, int y, double degrees) {
    int covered = 0;
    for (int sy = 0; sy < kSubsamples; ++sy) {
        for (int sx = 0; sx < kSubsamples; ++sx) {
            const double px = x + (sx + 0.5) / kSubsamples;
            const double py = y + (sy + 0.5) / kSubsamples;
            if (distanceToPointer(px, py, degrees) <= kPointerHalfWidth) ++covered;
        }
    }
    return static_cast<double>(covered) / (kSubsamples * kSubsamples);
}

Rgb knobBodyAt(int x, int y) {
    const double dx = (x + 0.5 - kKnobCentre) / kKnobRadius;
    const double dy = (y + 0.5 - kKnobCentre) / kKnobRadius;
    // 0 at the upper-left rim, 1 at the lower-right rim.
    const double shade = std::clamp((dx + dy) / (2.0 * std::numbers::sqrt2) + 0.5, 0.0, 1.0);
    Rgb body = mix(kKnobLit, kKnobShade, shade);
    const double radius = std::hypot(dx, dy) * kKnobRadius;
    if (radius > kKnobRadius - kRimWidth) body = mix(body, kKnobShade, 0.6);
    return body;
}

void drawSections(Canvas& canvas) {
    for (const Section& section : kSections) {
        const int centre = (section.bracketLeft + section.bracketRight) / 2;
        drawText(canvas, section.title, centredLeft(centre, section.title), kTitleTop, kWhite);
        for (int x = section.bracketLeft; x <= section.bracketRight; ++x) canvas.set(x, kBracketRow, kWhite);
        for (int y = kBracketRow; y <= kBracketTickEnd; ++y) {
            canvas.set(section.bracketLeft, y, kWhite);
            canvas.set(section.bracketRight, y, kWhite);
        }
    }
}

void drawCaptions(Canvas& canvas) {
    for (const panel::ControlPlace& place : panel::kControls) {
        const int width = place.kind == panel::ControlKind::Switch ? panel::kSwitchWidth : panel::kKnobSize;
        const std::string caption = kCaptions[place.paramIndex];
        drawText(canvas, caption, centredLeft(place.left + width / 2, caption), kCaptionTop, kWhite, 1,
                 LetterHeight::Caption);
    }
}

// Two lines centred in the label box: the product name small, the maker large.
void drawLabel(Canvas& canvas) {
    const int centreX = (kLabelLeft + kLabelRight + 1) / 2;
    const int blockHeight = kGlyphRows + kLabelLineGap + kGlyphRows * kMakerScale;
    const int top = kLabelTop + (kLabelBottom - kLabelTop + 1 - blockHeight) / 2;
    drawText(canvas, kProductLine, centredLeft(centreX, kProductLine), top, kWhite);
    drawText(canvas, kMakerLine, centredLeft(centreX, kMakerLine, kMakerScale), top + kGlyphRows + kLabelLineGap,
             kWhite, kMakerScale);
}

// The controls at rest, combined with the panel exactly as the editor draws them.
void drawControlsAtRest(Canvas& canvas) {
    const Canvas litSwitch = drawSwitchFrame(true);
    const Canvas mask = drawKnobMask();
    const Canvas minimum = drawKnobFrame(0);
    for (const panel::ControlPlace& place : panel::kControls) {
        if (place.kind == panel::ControlKind::Switch) {
            canvas.paste(litSwitch, place.left, place.top);
            continue;
        }
        for (int y = 0; y < panel::kKnobSize; ++y) {
            for (int x = 0; x < panel::kKnobSize; ++x) {
                const Rgb under = canvas.at(place.left + x, place.top + y);
                const Rgb m = mask.at(x, y);
                const Rgb f = minimum.at(x, y);
                canvas.set(place.left + x, place.top + y,
                           {static_cast<std::uint8_t>((under.red & m.red) | f.red),
                            static_cast<std::uint8_t>((under.green & m.green) | f.green),
                            static_cast<std::uint8_t>((under.blue & m.blue) | f.blue)});
            }
        }
    }
}

}  // namespace

bool onKnobDisc(int x, int y) {
    const double dx = x + 0.5 - kKnobCentre;
    const double dy = y + 0.5 - kKnobCentre;
    return dx * dx + dy * dy <= kKnobRadius * kKnobRadius;
}

Rgb panelGradientAt(int x, int y) {
    const double across = static_cast<double>(x) / (panel::kWidth - 1);
    const double down = static_cast<double>(y) / (panel::kHeight - 1);
    return mix(kGradientTopLeft, kGradientBottomRight, (across + down) / 2.0);
}

Canvas drawSwitch() {
    Canvas picture(panel::kSwitchWidth, panel::kSwitchHeight * 2);
    picture.paste(drawSwitchFrame(true), 0, 0);
    picture.paste(drawSwitchFrame(false), 0, panel::kSwitchFrameOffset);
    return picture;
}

// Outside the disc every pixel is black, so that OR-ing the frame onto the
// panel leaves the panel as it was there.
Canvas drawKnobFrame(int frame) {
    const double degrees = kKnobStartDegrees + kKnobSweepDegrees * frame / (panel::kKnobFrameCount - 1);
    Canvas picture(panel::kKnobSize, panel::kKnobSize, kBlack);
    for (int y = 0; y < panel::kKnobSize; ++y) {
        for (int x = 0; x < panel::kKnobSize; ++x) {
            if (!onKnobDisc(x, y)) continue;
            picture.set(x, y, mix(knobBodyAt(x, y), kWhite, pointerCoverage(x, y, degrees)));
        }
    }
    return picture;
}

Canvas drawKnobStrip() {
    Canvas strip(panel::kKnobSize, panel::kKnobSize * panel::kKnobFrameCount);
    for (int frame = 0; frame < panel::kKnobFrameCount; ++frame) strip.paste(drawKnobFrame(frame), 0, frame * panel::kKnobSize);
    return strip;
}

Canvas drawKnobMask() {
    Canvas mask(panel::kKnobSize, panel::kKnobSize, kWhite);
    for (int y = 0; y < panel::kKnobSize; ++y) {
        for (int x = 0; x < panel::kKnobSize; ++x) {
            if (onKnobDisc(x, y)) mask.set(x, y, kBlack);
        }
    }
    return mask;
}

Canvas drawPanel() {
    Canvas canvas(panel::kWidth, panel::kHeight);
    for (int y = 0; y < panel::kHeight; ++y) {
        for (int x = 0; x < panel::kWidth; ++x) canvas.set(x, y, panelGradientAt(x, y));
    }
    drawSections(canvas);
    drawCaptions(canvas);
    drawLabel(canvas);
    drawControlsAtRest(canvas);
    return canvas;
}

}  // namespace artwork
