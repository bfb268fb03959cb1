#include "gui/platform/raster/ResourceSet.h"

#include <algorithm>

namespace gui {

void ResourceSet::add(int id, const std::uint8_t* bytes, std::size_t size) {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [id](const ResourceData& e) { return e.id == id; }),
                   entries_.end());
    entries_.push_back({id, bytes, size});
}

ResourceSet ResourceSet::without(int id) const {
    ResourceSet copy;
    for (const ResourceData& entry : entries_) {
        if (entry.id != id) copy.entries_.push_back(entry);
    }
    return copy;
}

const ResourceData* ResourceSet::find(int id) const {
    for (const ResourceData& entry : entries_) {
        if (entry.id == id) return &entry;
    }
    return nullptr;
}

}  // namespace gui
