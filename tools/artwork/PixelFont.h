// The lettering of the artwork: a 5-by-7 pixel font of capitals, the few small
// letters the maker's label needs, and the apostrophe. Titles and the label
// use the full seven rows; captions use a six-row cut of the capitals.
#pragma once

#include <string>

#include "tools/artwork/Canvas.h"

namespace artwork {

constexpr int kGlyphRows = 7;
constexpr int kCaptionRows = 6;

enum class LetterHeight { Full, Caption };

// Width in pixels of `text` drawn at `scale` (one blank column between letters, also scaled).
int textWidth(const std::string& text, int scale = 1);

// Draws `text` with its top-left corner at (x, y), each font pixel a
// scale-by-scale block. Characters the font lacks are drawn as blanks.
void drawText(Canvas& canvas, const std::string& text, int x, int y, Rgb color, int scale = 1,
              LetterHeight height = LetterHeight::Full);

}  // namespace artwork
