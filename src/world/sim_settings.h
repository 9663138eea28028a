// The simulation rules the creature model, network and energy rules read,
// with their starting defaults. One instance belongs to the simulator; the
// "Simulation rules" table binds to these fields (ints are 32-bit "d").
#pragma once

#include <cstdint>
#include <type_traits>

namespace vorlund {

// enablestats values: when performance measuring starts.
constexpr int32_t STATS_ON_CREATION = 0;
constexpr int32_t STATS_ON_FIRST_MOVE_UP = 1;
constexpr int32_t STATS_ON_FREEZING = 2;

struct SimSettings {
  int32_t model = 1;        // 0 limited motion (old), 1 low damping
  int32_t oldneurons = 0;   // old neuron state update and muscle rule
  int32_t descol = 0;       // destructive collisions
  int32_t debug = 0;        // internal validity checking
  int32_t AutoKill = 0;     // death when the energy is used up
  int32_t enablestats = STATS_ON_FREEZING;
  int32_t testvel = 4;      // position testing period is 2^testvel steps
  double Energy0 = 100;     // starting energy per stick
  double grow = 0;          // energy per step during growth (0: no growing phase)
  double corpsen = 0;       // energy of one dead stick (0: no remains)
  double e_meta = 1;        // idle metabolism per stick in 100 steps
  int32_t aging = 0;        // idle metabolism doubles after aging x 1000 steps (0: never)
  double em_stat = 20;      // muscle static work in 100 steps
  double em_dyn = 20;       // muscle dynamic work in 100 steps
  double sun = 0.5;         // assimilation energy
  double feede0 = 10;       // energy of a new energy ball
};

static_assert(std::is_standard_layout_v<SimSettings>);

}  // namespace vorlund
