// A creature's entry into the world (turn, placement, start) and the split of
// a body when a stick is broken off. The living-creature and food lists stay
// with their owner: these functions get what they need as arguments.
#pragma once

#include <memory>
#include <span>

#include "world/org.h"

namespace vorlund {

class world;
class listaprz;

// Attempts at a random free place before giving up.
constexpr int PLACE_ATTEMPTS = 50;
// Free space kept around every creature's box in x and y when placing.
constexpr double PLACE_MARGIN = 1.0;

// Clears, builds and turns the object at random, places it in the world clear
// of the `others` (the other living creatures) and starts it. Returns the
// build result (ORG_BUILD_*); a failed build leaves an empty body, placed anyway.
int restart(org& o, const world& w, std::span<org* const> others, std::span<const OrgHook> startedHooks);

// Resets age, measurements and energy flows, recomputes box and centre, gives
// every neuron a random state and calls the creature-started hooks.
void Start(org& o, std::span<const OrgHook> startedHooks);

struct SplitResult {
  std::unique_ptr<org> part;  // the new object made of the broken-off part
  org* survivor = nullptr;    // the part that lives on as the creature, if any
};

// Breaks stick `k` out of `a`; the part beyond it becomes a new object. The
// caller adds `part` to the living creatures, then moves each of the two that
// is not the survivor to the food (Split already made it food, typ 1). With no
// survivor a's performance is folded into `pool` (when given). Nothing happens
// (empty result) when k is not a stick of a.
SplitResult Split(org& a, est* k, listaprz* pool);

}  // namespace vorlund
