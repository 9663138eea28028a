// The development state of encoding 1: the property block that modifier
// letters change, the three angles of the next stick and the branch share.
// A copy travels along each path of the genotype and into each branch.
#pragma once

namespace vorlund {

// Start values of the property block; sticks decay back toward them.
constexpr double F1_START_LENGTH = 1.0;
constexpr double F1_START_CURVEDNESS = 0.0;
constexpr double F1_START_WEIGHT = 1.0;
constexpr double F1_START_FRICTION = 0.4;
constexpr double F1_START_SHARE4 = 0.25;  // muscle power, assimilation, stamina, ingestion
constexpr double F1_START_TWIST = 0.0;
constexpr double F1_START_ENERGY = 1.0;

// One R or r turns the frame of the following sticks by this angle (radians).
constexpr double F1_ROTATION_STEP = 0.7853;

struct F1Props {
  double length = F1_START_LENGTH;
  double curvedness = F1_START_CURVEDNESS;
  double weight = F1_START_WEIGHT;
  double friction = F1_START_FRICTION;
  double muscle = F1_START_SHARE4;
  double assimilation = F1_START_SHARE4;
  double stamina = F1_START_SHARE4;
  double ingestion = F1_START_SHARE4;
  double twist = F1_START_TWIST;
  double energy = F1_START_ENERGY;

  // Keeps muscle power, assimilation, stamina and ingestion summing to 1.
  void normalise();
  // Pulls the block back toward the start values, as each new stick does.
  void decay();
};

struct F1DevState {
  double rotation = 0;   // radians, about the stick's own axis
  double elevation = 0;  // radians; encoding 1 never changes it
  double turn = 0;       // radians, in the start end's x-y plane
  F1Props props;
  double share = 1.0;  // branch share, becomes the stick's movement range Z
};

// Applies a modifier letter to the state; false when `c` is not a modifier.
bool applyF1Modifier(F1DevState& state, char c);

}  // namespace vorlund
