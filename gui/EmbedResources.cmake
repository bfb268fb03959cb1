# Turns BMP files into a C++ source that lists them as the library's resources,
# for builds whose platform has no resource section to carry them.
#   cmake -DOUTPUT=<file.cpp> -DRESOURCES="<id>=<path>;..." -P EmbedResources.cmake
set(body "")
set(entries "")
foreach(resource ${RESOURCES})
  string(REPLACE "=" ";" parts "${resource}")
  list(GET parts 0 id)
  list(GET parts 1 path)
  file(READ "${path}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  # Break the single line every 32 bytes so the source stays readable by tools.
  string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){32})" "\\1\n" bytes "${bytes}")
  string(APPEND body "const std::uint8_t resource${id}[] = {\n${bytes}\n};\n")
  string(APPEND entries "        set.add(${id}, resource${id}, sizeof resource${id});\n")
endforeach()

file(WRITE "${OUTPUT}" "// Generated from the BMP files in resources/; do not edit.
#include <cstdint>

#include \"gui/platform/raster/ResourceSet.h\"

namespace {
${body}}  // namespace

namespace gui {

const ResourceSet& embeddedResources() {
    static const ResourceSet resources = [] {
        ResourceSet set;
${entries}        return set;
    }();
    return resources;
}

}  // namespace gui
")
