// The pictures a module carries, by resource number. On Windows they live in
// the library's resources; elsewhere the build compiles the same BMP files
// into the library, and this set lists them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gui {

struct ResourceData {
    int id;
    const std::uint8_t* bytes;  // a whole BMP file; not owned
    std::size_t size;
};

class ResourceSet {
public:
    // Adds or replaces the resource with this number.
    void add(int id, const std::uint8_t* bytes, std::size_t size);
    // The same set without the resource with this number.
    ResourceSet without(int id) const;
    // The resource with this number, or null.
    const ResourceData* find(int id) const;

private:
    std::vector<ResourceData> entries_;
};

// The pictures compiled into this library.
const ResourceSet& embeddedResources();

}  // namespace gui
