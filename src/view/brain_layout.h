// Where the brain view puts its neuron boxes: the three layouts (Random, Dumb
// array, Smart) over a network given as each neuron's source neurons, and the
// fit of a layout into a window.
#pragma once

#include <vector>

#include "view/view_random.h"

namespace vorlund {

class org;

// Side of a neuron box and the distance between grid cells, in layout units.
constexpr int kNeuronBoxSize = 50;
constexpr int kNeuronCellPitch = 70;
// The Random layout spreads boxes over a square of this side.
constexpr int kRandomLayoutSpread = 300;
// The fit keeps this many layout units around the layout.
constexpr int kFitMargin = 100;
// A window must be larger than this (each side, pixels) to be fitted.
constexpr int kFitMinWindow = 10;

struct NeuronBox {
  int x = 0, y = 0, w = kNeuronBoxSize, h = kNeuronBoxSize;
};

struct LayoutBounds {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // empty when x1 <= x0 or y1 <= y0
  bool empty() const { return x1 <= x0 || y1 <= y0; }
};

// For each neuron, the indices of the neurons feeding it (kind-0 inputs, in
// input order; indices outside the network are left out).
using NeuronSources = std::vector<std::vector<int>>;
NeuronSources neuronSources(const org& creature);

using LayoutFn = std::vector<NeuronBox> (*)(const NeuronSources& net, ViewRandom& rng);
struct BrainLayout {
  const char* name;
  LayoutFn fn;
};
int brainLayoutCount();
// Layout i; an index out of range gives the last one.
const BrainLayout& brainLayout(int i);

std::vector<NeuronBox> layoutRandom(const NeuronSources& net, ViewRandom& rng);
std::vector<NeuronBox> layoutDumbArray(const NeuronSources& net, ViewRandom& rng);
// Each neuron's sources one cell to its left; every neuron visited once, so
// cycles lay out; clusters that stay apart are stacked below each other.
std::vector<NeuronBox> layoutSmart(const NeuronSources& net, ViewRandom& rng);

LayoutBounds layoutBounds(const std::vector<NeuronBox>& boxes);

// Layout units to window pixels: pixel = unit * scale + offset.
struct LayoutFit {
  double scale = 1.0;
  int ox = 0, oy = 0;
};
LayoutFit fitLayout(const LayoutBounds& bounds, int windowW, int windowH);

}  // namespace vorlund
