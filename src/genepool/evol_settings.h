// The evolution side of the simulation rules: selection weights, fitness
// scaling, offspring shares and pool capacity, with their starting defaults.
// The "Simulation rules" table binds to these fields (ints are 32-bit "d").
#pragma once

#include <cstdint>
#include <type_traits>

namespace vorlund {

// delrule values: how genotypes are deleted when the pool is over capacity.
constexpr int32_t DELETE_RANDOMLY = 0;
constexpr int32_t DELETE_INV_PROPORTIONAL = 1;
constexpr int32_t DELETE_WORST = 2;

// cr_simi values: how similarity to coexisting genotypes reduces fitness.
constexpr int32_t SIMI_IGNORED = 0;
constexpr int32_t SIMI_LINEAR = 1;
constexpr int32_t SIMI_THRESHOLD = 2;

struct EvolSettings {
  int32_t capacity = 1000;  // max. individuals in the pool (0: no limit)
  int32_t delrule = DELETE_RANDOMLY;
  // Criteria weights.
  double cr_c = 0;  // constant added to fitness
  double cr_life = 1;
  double cr_v = 0;
  double cr_gl = -0.01;
  double cr_nnsiz = 0;
  double cr_di = 1;
  double cr_vpos = 0;
  double cr_vvel = 0;
  int32_t cr_norm = 0;   // normalise each criterion to 0..1 over the pool
  int32_t fitfun = 0;    // shift and scale the final fitness
  double fitm = 2;       // threshold: this many std. deviations below the mean
  double fitma = 1.5;    // the best genotype's final fitness
  int32_t cr_simi = SIMI_IGNORED;
  int32_t cr_energ = 0;  // divide fitness by the starting energy
  // Creation.
  int32_t MaxCreated = 1;  // creatures simulated at a time
  double p_nop = 40;       // share of unchanged offspring
  double p_mut = 40;       // share of mutated offspring
  double p_xov = 10;       // share of crossed-over offspring
  double xov_mins = 0;     // minimal similarity of crossover partners
  int32_t feed = 0;        // energy balls kept in the world
};
static_assert(std::is_standard_layout_v<EvolSettings>);

// The criteria weights in performance-vector order (lifespan, velocity,
// distance, body size, brain size, vertical velocity, vertical position).
constexpr double EvolSettings::*kCriteriaWeights[] = {
    &EvolSettings::cr_life, &EvolSettings::cr_v,     &EvolSettings::cr_di,  &EvolSettings::cr_gl,
    &EvolSettings::cr_nnsiz, &EvolSettings::cr_vvel, &EvolSettings::cr_vpos};

}  // namespace vorlund
