// Writers of a developed encoding-4 organism: as format-0 records, and as an
// encoding-1 text that replays the stick modifiers.
#pragma once

#include <string>

#include "genetics/f4/f4_organism.h"

namespace vorlund {

// A replay loop of the encoding-1 writer writes at most this many letters.
constexpr int F4_MAX_REPLAY_LETTERS = 100;

// Format-0 input types of the link kinds (constant input, equilibrium).
constexpr int F0_INPUT_NEURON = 0;
constexpr int F0_INPUT_CONSTANT = 1;
constexpr int F0_INPUT_EQUILIBRIUM = 3;

// The format-0 records: stick ends, joints, neurons and their inputs.
std::string writeOrganismF0(const Organism& org);
// The encoding-1 text of the organism.
std::string writeOrganismF1(const Organism& org);

}  // namespace vorlund
