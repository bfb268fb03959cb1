// Writes the instrument's panel as the editor draws it in memory, with every
// control at the values of a program of the built plug-in library: a way to
// see the editor without a host.
//   orrelune-panel <plug-in library> <output .png or .bmp> [program 0-7]
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "gui/PianoEditor.h"
#include "gui/platform/raster/RasterPlatform.h"
#include "host/AudioEffectX.h"
#include "tools/artwork/BmpWriter.h"
#include "tools/artwork/PngWriter.h"
#include "tools/host/Plugin.h"

namespace {

constexpr int kParameterCount = 12;

// Stands in for the instrument inside this process: it answers the
// parameter values read from the loaded library.
class ValueMirror : public AudioEffectX {
public:
    explicit ValueMirror(const float (&values)[kParameterCount]) : AudioEffectX(nullptr, 1, kParameterCount) {
        std::copy(std::begin(values), std::end(values), values_);
    }
    float getParameter(VstInt32 index) override {
        return index >= 0 && index < kParameterCount ? values_[index] : 0.0f;
    }
    void processReplacing(float**, float**, VstInt32) override {}

private:
    float values_[kParameterCount] = {};
};

artwork::Canvas toCanvas(const gui::RasterImage& image) {
    artwork::Canvas canvas(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const gui::Color c = image.pixel(x, y);
            canvas.set(x, y, {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                              static_cast<std::uint8_t>(c >> 16)});
        }
    }
    return canvas;
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

int fail(const std::string& message) {
    std::fprintf(stderr, "orrelune-panel: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: %s <plug-in library> <output .png or .bmp> [program 0-7]\n", argv[0]);
        return 2;
    }
    const std::string libraryPath = argv[1];
    const std::string outputPath = argv[2];
    int program = 0;
    if (argc == 4) {
        char* end = nullptr;
        program = static_cast<int>(std::strtol(argv[3], &end, 10));
        if (*end != '\0' || program < 0 || program > 7) return fail(std::string("no program ") + argv[3] + " (0 to 7)");
    }
    if (!endsWith(outputPath, ".png") && !endsWith(outputPath, ".bmp")) {
        return fail(outputPath + ": the output name must end in .png or .bmp");
    }

    std::string error;
    auto library = vsthost::PluginLibrary::open(libraryPath, error);
    if (!library) return fail(libraryPath + ": " + error);
    vsthost::Host host;
    auto plugin = vsthost::Plugin::create(*library, host, error);
    if (!plugin) return fail(libraryPath + ": " + error);
    if (plugin->effect()->numParams != kParameterCount) {
        return fail(libraryPath + ": not the instrument (it has " + std::to_string(plugin->effect()->numParams) +
                    " parameters, not 12)");
    }
    plugin->dispatch(effSetProgram, 0, program);
    float values[kParameterCount];
    for (int i = 0; i < kParameterCount; ++i) values[i] = plugin->getParameter(i);

    gui::RasterPlatform platform(gui::embeddedResources());
    ValueMirror mirror(values);
    PianoEditor editor(&mirror, platform);
    editor.syncAllControls();
    int hostWindow = 0;
    if (!editor.open(&hostWindow)) return fail("the editor window could not be created");
    auto& window = dynamic_cast<gui::RasterWindow&>(*editor.getNativeWindow());
    window.paint();

    const artwork::Canvas canvas = toCanvas(window.image());
    const auto bytes = endsWith(outputPath, ".png") ? artwork::encodePng(canvas) : artwork::encodeBmp24(canvas);
    if (!artwork::writeFile(outputPath, bytes, error)) return fail(error);
    editor.close();
    return 0;
}
