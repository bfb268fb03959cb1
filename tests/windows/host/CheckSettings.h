// Where the Windows checks find what they test: the DLL, the Linux build's
// reference renderings and the committed bitmap files. Set from the command line.
#pragma once

#include <string>

struct CheckSettings {
    std::string library;          // the Orrelune.dll under test
    std::string referenceFolder;  // written by orrelune-write-reference from the Linux library
    std::string resourceFolder;   // the BMP files the DLL's bitmap resources come from
};

CheckSettings& checkSettings();
