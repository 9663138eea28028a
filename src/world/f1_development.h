// The hand-over point between the creature model and the encoding-1
// development: the builder calls developF1 to fill an empty body.
#pragma once

#include <string>

namespace vorlund {

class org;
struct SimSettings;

// Develops an encoding-1 genotype body (no marker) into the empty body of
// `creature`: adds stick ends, sticks, neurons and inputs, adds each stick's
// energy share to creature.energyWeight and, when the creature has a position
// map, marks element positions through creature.setPosition. The caller runs
// InitNeuro afterwards. `settings.grow` decides whether sticks start small.
void developF1(org& creature, const std::string& body, const SimSettings& settings);

}  // namespace vorlund
