// Where the renderer finds the instrument when no --plugin is given: beside
// its own executable first (an installed or copied pair), then where the
// build put it.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace render {

// The library's file name on this platform.
constexpr const char* kDefaultPluginFileName = "Orrelune.so";

// The places looked at, in order.
std::vector<std::string> defaultPluginCandidates();

// The first candidate that exists, or nothing with `error` listing them all.
std::optional<std::string> findDefaultPlugin(std::string& error);

}  // namespace render
