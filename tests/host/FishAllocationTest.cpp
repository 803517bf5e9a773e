// The frame path allocates nothing: the fish pass, the pellet pass, feed clicks, touches and
// zooms are run under a global operator new that counts.
//
// The replacement operators below are global for the whole test binary. They only count and
// pass every request on to malloc and free, so every other test sees ordinary allocation.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "OsMesa.h"
#include "fish/School.h"
#include "scene/ViewLayout.h"

namespace {
std::atomic<long> newCalls{0};

void* countedAllocNoThrow(std::size_t size) noexcept {
    newCalls.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size ? size : 1);
}

void* countedAlloc(std::size_t size) {
    if (void* p = countedAllocNoThrow(size)) return p;
    throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t size) { return countedAlloc(size); }
void* operator new[](std::size_t size) { return countedAlloc(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return countedAllocNoThrow(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return countedAllocNoThrow(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

int* volatile escape = nullptr;

TEST(FishAllocation, FramesInSteadyStateAllocateNothing) {
    OsMesaContext gl(64, 64);
    ASSERT_TRUE(gl.ok());
    School school;
    const TankBox tank = {-54.0f, 54.0f, 21.0f, -21.0f, -50.0f, 0.0f};
    school.placeFish(tank);
    school.setUpPellets();
    const int counts[SpeciesCount] = {2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    GLuint skins[SpeciesCount];
    glGenTextures(SpeciesCount, skins);
    auto frame = [&](int n) {
        if (n % 7 == 0) school.dropPellet(float(n % 60) - 30.0f, float(n % 20) - 10.0f);
        if (n % 13 == 0) school.fish(n % 20).touch();
        if (n % 17 == 0) school.fish(n % 20).resize(2.0f, n % 2 == 0);
        school.fishPass(counts, skins, n % 50 < 40 ? FeedFishCmd : 1035);
        school.drawKeptFish();
        school.pelletPass();
    };
    for (int n = 0; n < 20; ++n) frame(n);  // warm up
    glFinish();

    const long before = newCalls.load();
    for (int n = 20; n < 220; ++n) frame(n);
    for (int n = 0; n < 200; ++n) school.simulateFishPass(counts, FeedFishCmd);
    const long after = newCalls.load();
    glFinish();
    EXPECT_EQ(after - before, 0);

    // The counter does count (so a zero above means something).
    const long probeBefore = newCalls.load();
    escape = new int(5);
    EXPECT_EQ(newCalls.load() - probeBefore, 1);
    delete escape;
}

}  // namespace
