// Writes what the Linux build of the plug-in plays and saves, for the Windows
// checks to compare against: one raw float file per performance and the two
// chunks of an edited state.
//   orrelune-write-reference <plug-in library> <output folder>
#include <cstdio>
#include <string>

#include "tests/windows/ReferencePerformance.h"

namespace {

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    return !bytes.empty() && reference::writeFile(path, bytes.data(), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <plug-in library> <output folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[2];
    std::string error;
    auto library = vsthost::PluginLibrary::open(argv[1], error);
    if (!library) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    for (const auto& performance : reference::performances()) {
        const auto samples = reference::render(*library, performance, error);
        const std::string path = folder + "/" + reference::audioFileName(performance);
        if (samples.empty() || !reference::writeFile(path, samples.data(), samples.size() * sizeof(float))) {
            std::fprintf(stderr, "%s: cannot write the rendering of %s %s\n", path.c_str(), performance.name.c_str(),
                         error.c_str());
            return 1;
        }
    }
    const auto state = reference::saveEditedState(*library, error);
    if (!writeBytes(folder + "/" + reference::kBankChunkFile, state.bank) ||
        !writeBytes(folder + "/" + reference::kProgramChunkFile, state.program)) {
        std::fprintf(stderr, "%s: cannot write the saved chunks %s\n", folder.c_str(), error.c_str());
        return 1;
    }
    return 0;
}
