// A user's session with the editor, the same on every platform: open it, click
// a switch, drag a knob past the window's edge, turn a knob with the wheel. The
// Linux side plays it on the in-memory window and keeps the pictures and the
// automation the host heard; the Windows test host plays it with window
// messages on a real window and compares.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/VstAbi.h"

namespace reference {

// The panel's size in pixels.
inline constexpr int kPanelWidth = 785;
inline constexpr int kPanelHeight = 82;

struct PointerAction {
    enum class Kind { Activate, Press, Move, Release, WheelForward };
    Kind kind;
    int x;  // window pixels; may lie outside while a button is held
    int y;
};

// A picture of the panel is taken after each stage.
struct PanelStage {
    std::string name;
    std::vector<PointerAction> actions;
};

const std::vector<PanelStage>& panelStages();

// What the host heard through audioMasterAutomate.
struct AutomationReport {
    VstInt32 index;
    float value;
    bool operator==(const AutomationReport& other) const;
};

// Reference files: a picture is rows top to bottom of blue, green, red bytes;
// the automation file holds index and value pairs, four bytes each.
std::string pictureFileName(const PanelStage& stage);
inline constexpr const char* kAutomationFile = "automation.bin";
std::vector<uint8_t> encodeAutomation(const std::vector<AutomationReport>& reports);
std::vector<AutomationReport> decodeAutomation(const std::vector<uint8_t>& bytes);

}  // namespace reference
