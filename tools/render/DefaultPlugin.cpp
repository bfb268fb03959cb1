#include "tools/render/DefaultPlugin.h"

#include <unistd.h>

#include <climits>

namespace render {

namespace {

std::optional<std::string> executableFolder() {
    char path[PATH_MAX + 1] = {};
    const ssize_t length = ::readlink("/proc/self/exe", path, PATH_MAX);
    if (length <= 0) return std::nullopt;
    std::string executable(path, static_cast<std::size_t>(length));
    const std::size_t slash = executable.rfind('/');
    if (slash == std::string::npos) return std::nullopt;
    return executable.substr(0, slash);
}

}  // namespace

std::vector<std::string> defaultPluginCandidates() {
    std::vector<std::string> candidates;
    if (std::optional<std::string> folder = executableFolder()) {
        candidates.push_back(*folder + "/" + kDefaultPluginFileName);
    }
#ifdef ORRELUNE_BUILT_PLUGIN_PATH
    candidates.push_back(ORRELUNE_BUILT_PLUGIN_PATH);
#endif
    return candidates;
}

std::optional<std::string> findDefaultPlugin(std::string& error) {
    const std::vector<std::string> candidates = defaultPluginCandidates();
    std::string places;
    for (const std::string& candidate : candidates) {
        if (::access(candidate.c_str(), F_OK) == 0) return candidate;
        places += (places.empty() ? "" : ", ") + candidate;
    }
    error = std::string("no plug-in given and no ") + kDefaultPluginFileName + " found (looked at " +
            (places.empty() ? std::string("nothing") : places) + "); build it or pass --plugin PATH";
    return std::nullopt;
}

}  // namespace render
