#include "tests/windows/PanelSession.h"

#include <cstring>

namespace reference {

namespace {

using Kind = PointerAction::Kind;

// A click as the system delivers it: activation, press and release in place.
std::vector<PointerAction> click(int x, int y) {
    return {{Kind::Activate, x, y}, {Kind::Press, x, y}, {Kind::Release, x, y}};
}

}  // namespace

const std::vector<PanelStage>& panelStages() {
    static const std::vector<PanelStage> stages = {
        {"opened", {}},
        // Inside the "A Mode" switch (left 24, top 39, 25 by 17).
        {"switch-clicked", click(36, 47)},
        // The "Volume" knob (left 551, top 34, 26 by 26) dragged up and out of
        // the window: the capture keeps the knob turning on negative positions,
        // and 167 pixels up is far past its maximum.
        {"knob-dragged",
         {{Kind::Activate, 564, 47},
          {Kind::Press, 564, 47},
          {Kind::Move, 564, 40},
          {Kind::Move, 564, 30},
          {Kind::Move, 566, -3},
          {Kind::Move, 570, -120},
          {Kind::Release, 570, -120}}},
        // The "Decay" knob (left 455, top 34) turned one step by the wheel.
        {"knob-wheeled", {{Kind::WheelForward, 468, 47}}},
    };
    return stages;
}

bool AutomationReport::operator==(const AutomationReport& other) const {
    return index == other.index && std::memcmp(&value, &other.value, sizeof value) == 0;
}

std::string pictureFileName(const PanelStage& stage) { return "panel-" + stage.name + ".bgr"; }

std::vector<uint8_t> encodeAutomation(const std::vector<AutomationReport>& reports) {
    std::vector<uint8_t> bytes(reports.size() * 8);
    for (std::size_t i = 0; i < reports.size(); ++i) {
        std::memcpy(&bytes[i * 8], &reports[i].index, 4);
        std::memcpy(&bytes[i * 8 + 4], &reports[i].value, 4);
    }
    return bytes;
}

std::vector<AutomationReport> decodeAutomation(const std::vector<uint8_t>& bytes) {
    std::vector<AutomationReport> reports(bytes.size() / 8);
    for (std::size_t i = 0; i < reports.size(); ++i) {
        std::memcpy(&reports[i].index, &bytes[i * 8], 4);
        std::memcpy(&reports[i].value, &bytes[i * 8 + 4], 4);
    }
    return reports;
}

}  // namespace reference
