// Reading the text of one encoding-1 neuron ("[@1:2.5,T:1]"): its muscle
// control, its inputs and the settings of inertia, force and sigmoid.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vorlund {

// Segment types of a neuron: 0..4 are input kinds, the rest set a property.
constexpr int F1_SEG_NEURON = 0;
constexpr int F1_SEG_CONSTANT = 1;
constexpr int F1_SEG_TOUCH = 2;
constexpr int F1_SEG_EQUILIBRIUM = 3;
constexpr int F1_SEG_SMELL = 4;
constexpr int F1_SEG_INERTIA = 5;
constexpr int F1_SEG_FORCE = 6;
constexpr int F1_SEG_SIGMOID = 7;

// Neuron properties before any setter.
constexpr double F1_NEURON_INERTIA = 0.8;
constexpr double F1_NEURON_FORCE = 0.04;
constexpr double F1_NEURON_SIGMOID = 2.0;

struct F1NeuronInput {
  int type = 0;
  int conn = 0;  // relative neuron number, for type 0
  double weight = 0;
};

struct F1NeuronText {
  int control = 0;  // 0 none, 1 rotating ("@"), 2 bending ("|"), as written
  std::vector<F1NeuronInput> inputs;
  double inertia = F1_NEURON_INERTIA;
  double force = F1_NEURON_FORCE;
  double sigmoid = F1_NEURON_SIGMOID;
  // Where development goes on: after "]", or at the ")" or end that closed it.
  std::size_t end = 0;
};

// Reads the neuron whose "[" is at `open`. Never fails: characters without a
// meaning are skipped and an unclosed neuron ends at ")" or the end.
F1NeuronText readF1Neuron(const std::string& text, std::size_t open);

}  // namespace vorlund
