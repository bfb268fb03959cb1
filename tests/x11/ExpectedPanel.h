// The panel as the in-memory (raster) backend draws it at given parameter
// values: what the X11 window must show, pixel for pixel.
#pragma once

#include <vector>

#include "gui/platform/platform.h"

namespace x11test {

constexpr int kPanelWidth = 785;
constexpr int kPanelHeight = 82;
constexpr int kParameterCount = 12;

// Colours row by row, `values` holding the twelve parameters.
std::vector<gui::Color> expectedPanel(const std::vector<float>& values);

}  // namespace x11test
