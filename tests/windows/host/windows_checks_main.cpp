// The Windows test host's entry: GoogleTest's own options first, then
//   --library=<Orrelune.dll> --reference=<folder> --resources=<folder>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "tests/windows/host/CheckSettings.h"

CheckSettings& checkSettings() {
    static CheckSettings settings;
    return settings;
}

namespace {

bool takeOption(const char* argument, const char* name, std::string& target) {
    const std::size_t length = std::strlen(name);
    if (std::strncmp(argument, name, length) != 0 || argument[length] != '=') return false;
    target = argument + length + 1;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    CheckSettings& settings = checkSettings();
    for (int i = 1; i < argc; ++i) {
        if (!takeOption(argv[i], "--library", settings.library) &&
            !takeOption(argv[i], "--reference", settings.referenceFolder) &&
            !takeOption(argv[i], "--resources", settings.resourceFolder)) {
            std::fprintf(stderr, "unknown argument: %s\n", argv[i]);
            return 2;
        }
    }
    if (settings.library.empty() || settings.referenceFolder.empty() || settings.resourceFolder.empty()) {
        std::fprintf(stderr, "usage: %s --library=<dll> --reference=<folder> --resources=<folder>\n", argv[0]);
        return 2;
    }
    return RUN_ALL_TESTS();
}
