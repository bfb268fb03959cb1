// Draws the editor's four pictures and writes them as the BMP files that the
// build carries as resources 101 to 104.
//   orrelune-artwork <output folder>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/artwork/Artwork.h"
#include "tools/artwork/BmpWriter.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const std::vector<artwork::Rgb> blackAndWhite = {artwork::kBlack, artwork::kWhite};
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } files[] = {
        {"101_panel.bmp", artwork::encodeBmp24(artwork::drawPanel())},
        {"102_switch.bmp", artwork::encodeBmp24(artwork::drawSwitch())},
        {"103_knob_strip.bmp", artwork::encodeBmp24(artwork::drawKnobStrip())},
        {"104_knob_mask.bmp", artwork::encodeBmp8(artwork::drawKnobMask(), blackAndWhite)},
    };
    for (const auto& file : files) {
        std::string error;
        if (!artwork::writeFile(folder + "/" + file.name, file.bytes, error)) {
            std::fprintf(stderr, "orrelune-artwork: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}
