// What --list prints: the plug-in's identity, its programs and its
// parameters with their current values.
#pragma once

#include <ostream>
#include <string>

#include "tools/host/Plugin.h"

namespace render {

void printPluginListing(vsthost::Plugin& plugin, const std::string& path, std::ostream& out);

}  // namespace render
