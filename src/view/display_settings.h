// The settings of the software views: "World Display" (labels, charts,
// pointer and quality of the software world view) and "Neuron Display" (the
// brain view's layout and connection style). Both tables join the interface
// settings chain. Their choice lists are built once from the "Creature" table
// and the list of brain layouts, so they follow those lists without edits here.
#pragma once

#include <cstdint>
#include <type_traits>

#include "core/param.h"

namespace vorlund {

// Quality levels of the software world view; each draws everything of the lower ones.
constexpr int32_t QUALITY_LOW = 0;         // the world outline and the sticks
constexpr int32_t QUALITY_SHADOWS = 1;     // grid, boundaries, stick shadows, contact marks
constexpr int32_t QUALITY_ATTRIBUTES = 2;  // stick attributes and specks
constexpr int32_t QUALITY_NEURONS = 3;     // neurons and receptors on the sticks
constexpr int32_t QUALITY_CONNECTIONS = 4; // the connections between neurons

struct WorldDisplayFields {
  // Labels and charts: 0 off, k shows creature parameter k - 1.
  int32_t w3_la1 = 1;
  int32_t w3_la2 = 0;
  int32_t w3_ch1 = 0;
  int32_t w3_ch2 = 0;
  int32_t w3_ptr = 1;
  int32_t w3_qual = QUALITY_CONNECTIONS;
};
static_assert(std::is_standard_layout_v<WorldDisplayFields>);

constexpr int32_t NN_LINES_STRAIGHT = 0;
constexpr int32_t NN_LINES_RIGHT_ANGLE = 1;

struct NeuronDisplayFields {
  int32_t nn_layout = 2;  // index into the brain layouts (Smart)
  int32_t nn_lines = NN_LINES_RIGHT_ANGLE;
};
static_assert(std::is_standard_layout_v<NeuronDisplayFields>);

// The tables, built on first use and then kept for the whole run.
const ParamEntry* worldDisplayTable();
const ParamEntry* neuronDisplayTable();

// Whether creature parameter `index` (0-based) holds a number and so can be charted.
bool creatureParamIsNumeric(int index);

// The "World Display" accessor. A chart set to a property that is not a
// number is refused (it stays off), since a text cannot be plotted.
class WorldDisplayParams : public param {
 public:
  explicit WorldDisplayParams(WorldDisplayFields* fields) : param(worldDisplayTable(), fields) {}

 protected:
  int setLocal(int i, std::string_view text) override;
};

class NeuronDisplayParams : public param {
 public:
  explicit NeuronDisplayParams(NeuronDisplayFields* fields) : param(neuronDisplayTable(), fields) {}
};

}  // namespace vorlund
