// The audio-thread operations allocate nothing. This executable replaces the
// global allocation functions with counting ones and renders a busy block.

#include "engine/SynthEngine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

namespace {

std::atomic<long> allocationCount{0};

void* countedAllocation(std::size_t size)
{
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

void* countedAlignedAllocation(std::size_t size, std::align_val_t alignment)
{
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    const auto align = static_cast<std::size_t>(alignment);
    const std::size_t rounded = (size + align - 1) / align * align;
    if (void* memory = std::aligned_alloc(align, rounded == 0 ? align : rounded)) {
        return memory;
    }
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return countedAllocation(size); }
void* operator new[](std::size_t size) { return countedAllocation(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return countedAllocation(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void* operator new(std::size_t size, std::align_val_t alignment) { return countedAlignedAllocation(size, alignment); }
void* operator new[](std::size_t size, std::align_val_t alignment) { return countedAlignedAllocation(size, alignment); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, std::align_val_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::align_val_t) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept { std::free(memory); }

namespace {

TEST(RealTime, TheAudioPathAllocatesNothing)
{
    auto engine = std::make_unique<SynthEngine>();
    engine->parameters().set(kBMode, 0.0f);  // the filter runs too
    engine->updateVoices(kUpdateAll);
    std::vector<float> output(512, 0.0f), scratchA(1024), scratchB(1024);

    const long before = allocationCount.load();
    for (int i = 0; i < 12; ++i) {
        engine->noteOn(40 + i, 110.0f + 20.0f * static_cast<float>(i), 0.7f, 8 * i);
    }
    engine->pitchBend(0.3f, 100);
    engine->noteOff(41, 200);
    engine->render(scratchA.data(), scratchB.data(), output.data(), 512);
    engine->noteOff(40, 0);
    engine->noteOff(45, 10);
    engine->pitchBend(-0.2f, 20);
    engine->render(scratchA.data(), scratchB.data(), output.data(), 512);
    engine->silenceAllVoices();
    engine->noteOn(60, 261.6f, 1.0f, 0);
    engine->render(scratchA.data(), scratchB.data(), output.data(), 512);
    const long after = allocationCount.load();

    EXPECT_EQ(after - before, 0);
    EXPECT_GT(before, 0) << "the counting allocator is not in use";
}

}  // namespace
