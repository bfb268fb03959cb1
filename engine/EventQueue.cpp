#include "engine/EventQueue.h"

EngineEvent* EventQueue::append()
{
    if (isFull()) {
        return nullptr;
    }
    EngineEvent* slot = &slots_[static_cast<unsigned>(count_)];
    ++count_;
    return slot;
}
