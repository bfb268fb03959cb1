#include "engine/ParameterBlock.h"

namespace {

bool isValidIndex(int index)
{
    return index >= 0 && index < ParameterBlock::kCount;
}

}  // namespace

ParameterBlock::ParameterBlock()
{
    for (auto& value : values_) {
        value.store(kInitialValue, std::memory_order_relaxed);
    }
}

float ParameterBlock::get(int index) const
{
    if (!isValidIndex(index)) {
        return 0.0f;
    }
    return values_[static_cast<unsigned>(index)].load(std::memory_order_relaxed);
}

void ParameterBlock::set(int index, float value)
{
    if (!isValidIndex(index)) {
        return;
    }
    values_[static_cast<unsigned>(index)].store(value, std::memory_order_relaxed);
}

void ParameterBlock::load(std::span<float, kCount> values) const
{
    for (unsigned i = 0; i < kCount; ++i) {
        values[i] = values_[i].load(std::memory_order_relaxed);
    }
}

void ParameterBlock::store(std::span<const float, kCount> values)
{
    for (unsigned i = 0; i < kCount; ++i) {
        values_[i].store(values[i], std::memory_order_relaxed);
    }
}
