// Writes what the editor shows and reports during the shared panel session,
// drawn by the in-memory window of the Linux build: one picture per stage and
// the automation the host heard. The instrument is linked in directly, so the
// picture is read straight from its editor's window.
//   orrelune-write-panel-reference <output folder>
#include <cstdio>
#include <string>
#include <vector>

#include "gui/PianoEditor.h"
#include "gui/platform/raster/RasterPlatform.h"
#include "instrument/PianoEffect.h"
#include "tests/windows/PanelSession.h"
#include "tests/windows/ReferencePerformance.h"

namespace {

std::vector<reference::AutomationReport> heard;

VstIntPtr VSTCALLBACK hostCallback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt) {
    if (opcode == audioMasterAutomate) heard.push_back({index, opt});
    return opcode == audioMasterVersion ? 2400 : 0;
}

gui::WindowEvent toEvent(const reference::PointerAction& action) {
    using Kind = reference::PointerAction::Kind;
    switch (action.kind) {
        case Kind::Activate: return {gui::WindowEventKind::MouseActivate, action.x, action.y};
        case Kind::Press: return {gui::WindowEventKind::ButtonDown, action.x, action.y};
        case Kind::Move: return {gui::WindowEventKind::MouseMove, action.x, action.y};
        case Kind::Release: return {gui::WindowEventKind::ButtonUp, action.x, action.y};
        case Kind::WheelForward: return {gui::WindowEventKind::Wheel, action.x, action.y, 1};
    }
    return {gui::WindowEventKind::MouseMove, action.x, action.y};
}

std::vector<uint8_t> pictureOf(const gui::RasterImage& image) {
    std::vector<uint8_t> bytes;
    for (int y = 0; y < image.height(); ++y) {
        const uint8_t* row = image.bytesAt(0, y);
        bytes.insert(bytes.end(), row, row + image.width() * 3);
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    PianoEffect effect(&hostCallback);
    auto* editor = static_cast<PianoEditor*>(effect.getEditor());
    int hostWindow = 0;
    if (!editor || !editor->open(&hostWindow)) {
        std::fprintf(stderr, "the editor could not be opened\n");
        return 1;
    }
    auto& window = dynamic_cast<gui::RasterWindow&>(*editor->getNativeWindow());
    window.paint();
    for (const auto& stage : reference::panelStages()) {
        for (const auto& action : stage.actions) window.send(toEvent(action));
        const auto picture = pictureOf(window.image());
        const std::string path = folder + "/" + reference::pictureFileName(stage);
        if (!reference::writeFile(path, picture.data(), picture.size())) {
            std::fprintf(stderr, "%s: cannot write the picture\n", path.c_str());
            return 1;
        }
    }
    editor->close();
    const auto automation = reference::encodeAutomation(heard);
    const std::string path = folder + "/" + reference::kAutomationFile;
    if (heard.empty() || !reference::writeFile(path, automation.data(), automation.size())) {
        std::fprintf(stderr, "%s: cannot write the automation the session produced\n", path.c_str());
        return 1;
    }
    return 0;
}
