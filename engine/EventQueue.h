#pragma once

#include "engine/EngineEvent.h"

#include <array>
#include <cstdint>

// The fixed queue of timed requests gathered between two render calls.
// It never grows: a request that finds every slot taken is dropped, and the
// requests already queued stay as they are.
class EventQueue {
public:
    static constexpr int32_t kCapacity = 64;

    // The next free slot, counted as queued, or null when the queue is full.
    // The slot keeps its previous contents; the caller writes the fields its
    // request type uses.
    EngineEvent* append();

    bool isFull() const { return count_ >= kCapacity; }
    int32_t count() const { return count_; }
    const EngineEvent& operator[](int32_t index) const { return slots_[static_cast<unsigned>(index)]; }
    void clear() { count_ = 0; }

private:
    std::array<EngineEvent, kCapacity> slots_{};
    int32_t count_ = 0;
};
