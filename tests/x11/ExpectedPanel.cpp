#include "tests/x11/ExpectedPanel.h"

#include "gui/PianoEditor.h"
#include "gui/platform/raster/RasterPlatform.h"
#include "host/AudioEffectX.h"

namespace x11test {
namespace {

// An effect that only answers the values it was given, for the panel to sync to.
class ValueMirror : public AudioEffectX {
public:
    explicit ValueMirror(const std::vector<float>& values)
        : AudioEffectX(nullptr, 1, kParameterCount), values_(values) {}
    float getParameter(VstInt32 index) override {
        return index >= 0 && index < static_cast<VstInt32>(values_.size()) ? values_[index] : 0.0f;
    }
    void processReplacing(float**, float**, VstInt32) override {}

private:
    std::vector<float> values_;
};

}  // namespace

std::vector<gui::Color> expectedPanel(const std::vector<float>& values) {
    gui::RasterPlatform platform(gui::embeddedResources());
    ValueMirror mirror(values);
    PianoEditor editor(&mirror, platform);
    editor.syncAllControls();
    int memoryParent = 0;
    if (!editor.open(&memoryParent)) return {};
    auto& window = dynamic_cast<gui::RasterWindow&>(*editor.getNativeWindow());
    window.paint();
    std::vector<gui::Color> pixels;
    pixels.reserve(static_cast<std::size_t>(kPanelWidth) * kPanelHeight);
    for (int y = 0; y < kPanelHeight; ++y) {
        for (int x = 0; x < kPanelWidth; ++x) pixels.push_back(window.image().pixel(x, y));
    }
    editor.close();
    return pixels;
}

}  // namespace x11test
