// Steady-state stepping must not touch the heap: this program replaces the
// global allocation functions to count every allocation made while counting.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <new>

#include "core/random.h"
#include "sim/symulator.h"

namespace {

bool gCounting = false;
long gAllocations = 0;

// Out of line so that a debugger can stop on the allocations that count.
[[gnu::noinline]] void counted() { ++gAllocations; }

void* countedAlloc(std::size_t n) {
  if (gCounting) counted();
  if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t n) { return countedAlloc(n); }
void* operator new[](std::size_t n) { return countedAlloc(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
  if (gCounting) counted();
  return std::malloc(n == 0 ? 1 : n);
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
  if (gCounting) counted();
  return std::malloc(n == 0 ? 1 : n);
}
// Objects and their elements are aligned to cache lines, and come from these.
void* operator new(std::size_t n, std::align_val_t a) {
  if (gCounting) counted();
  const std::size_t align = static_cast<std::size_t>(a);
  if (void* p = std::aligned_alloc(align, (n + align - 1) / align * align)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n, std::align_val_t a) { return operator new(n, a); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace vorlund {
namespace {

// Creatures with muscles, neurons and receptors, so every part of the step runs.
constexpr const char* kGenotypes[] = {"X(X[|G:1],X[@T:1])", "XX(lX[|G:2,0:-1],lX[|G:-2,*:1])",
                                      "X(X(X[@S:1],X),X[|-1:1.5])"};

// With workers too: the pool is made before the steps, and the phases hand
// out their ranges without allocating.
TEST(SteadyState, ThousandStepsWithoutBirthsOrDeathsAllocateNothing) {
  for (int threads : {1, 3}) {
    SCOPED_TRACE(threads);
    seedRandom(5);
    symulator sim;
    sim.setStepThreads(threads);
    // So few creatures would not be shared at all.
    Life::minWorkToShare = threads > 1 ? 0 : Life::kMinWorkToShare;
    sim.evol.feed = 4;
    sim.worldRules().feede0 = 1000;  // balls that last: an eaten-up ball would be replaced
    sim.evol.MaxCreated = 3;
    for (const char* g : kGenotypes) {
      const przodek rec(&sim.geneticsContext(), g, "", "");
      ASSERT_NE(sim.createCreature(rec), nullptr) << g;
    }
    // Balls come one per step; let them all arrive and the world settle.
    for (int i = 0; i < 200; ++i) sim.jedenkrok();
    ASSERT_EQ(sim.creatures.size(), 3);
    ASSERT_EQ(sim.food.size(), 4);

    gAllocations = 0;
    gCounting = true;
    for (int i = 0; i < 1000; ++i) sim.jedenkrok();
    gCounting = false;
    EXPECT_EQ(gAllocations, 0);
    EXPECT_EQ(sim.creatures.size(), 3);  // nothing was born or died
    Life::minWorkToShare = Life::kMinWorkToShare;
    EXPECT_EQ(sim.stepCount, 1200);
  }
}

}  // namespace
}  // namespace vorlund
