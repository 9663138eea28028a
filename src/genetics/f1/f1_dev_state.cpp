#include "genetics/f1/f1_dev_state.h"

namespace vorlund {

namespace {

// Targets and rates of the modifier letters: upper case moves the value a share
// of the way toward the upper target, lower case toward the lower one.
constexpr double LENGTH_HI = 3.0, LENGTH_LO = 0.33, LENGTH_RATE = 0.3;
constexpr double CURVE_HI = 2.0, CURVE_LO = -2.0, CURVE_RATE = 0.25;
constexpr double WEIGHT_HI = 2.0, WEIGHT_LO = 0.5, WEIGHT_RATE = 0.3;
constexpr double FRICTION_HI = 4.0, FRICTION_RATE = 0.2;
constexpr double SHARE4_HI = 1.0, SHARE4_UP_RATE = 0.8, SHARE4_DOWN_RATE = 0.4;
constexpr double TWIST_HI = 1.58, TWIST_LO = -1.58, TWIST_RATE = 0.3;
constexpr double ENERGY_HI = 10.0, ENERGY_RATE = 0.1;

// Decay of each new stick toward the start values.
constexpr double DECAY_LENGTH_KEEP = 0.5;
constexpr double DECAY_CURVE_KEEP = 0.66;
constexpr double DECAY_TWIST_KEEP = 0.66;
constexpr double DECAY_FRICTION_KEEP = 0.8;
constexpr double DECAY_SHARE4_KEEP = 0.8;
constexpr double DECAY_WEIGHT_RATE = 0.5;

double toward(double v, double target, double rate) { return v + (target - v) * rate; }

void raiseShare(double& v) { v = toward(v, SHARE4_HI, SHARE4_UP_RATE); }
void lowerShare(double& v) { v -= v * SHARE4_DOWN_RATE; }

}  // namespace

void F1Props::normalise() {
  const double sum = muscle + assimilation + stamina + ingestion;
  // The four only shrink by a share of themselves, so the sum stays positive;
  // the guard keeps a degenerate block from turning into NaNs.
  if (!(sum > 0)) return;
  muscle /= sum;
  assimilation /= sum;
  stamina /= sum;
  ingestion /= sum;
}

void F1Props::decay() {
  length = DECAY_LENGTH_KEEP * length + (1 - DECAY_LENGTH_KEEP) * F1_START_LENGTH;
  curvedness *= DECAY_CURVE_KEEP;
  twist *= DECAY_TWIST_KEEP;
  friction = DECAY_FRICTION_KEEP * friction + (1 - DECAY_FRICTION_KEEP) * F1_START_FRICTION;
  assimilation = DECAY_SHARE4_KEEP * assimilation + (1 - DECAY_SHARE4_KEEP) * F1_START_SHARE4;
  stamina = DECAY_SHARE4_KEEP * stamina + (1 - DECAY_SHARE4_KEEP) * F1_START_SHARE4;
  muscle = DECAY_SHARE4_KEEP * muscle + (1 - DECAY_SHARE4_KEEP) * F1_START_SHARE4;
  ingestion = DECAY_SHARE4_KEEP * ingestion + (1 - DECAY_SHARE4_KEEP) * F1_START_SHARE4;
  weight = toward(weight, F1_START_WEIGHT, DECAY_WEIGHT_RATE);
  normalise();
}

bool applyF1Modifier(F1DevState& state, char c) {
  F1Props& p = state.props;
  switch (c) {
    case 'R': state.rotation += F1_ROTATION_STEP; break;
    case 'r': state.rotation -= F1_ROTATION_STEP; break;
    case 'L': p.length = toward(p.length, LENGTH_HI, LENGTH_RATE); break;
    case 'l': p.length = toward(p.length, LENGTH_LO, LENGTH_RATE); break;
    case 'C': p.curvedness = toward(p.curvedness, CURVE_HI, CURVE_RATE); break;
    case 'c': p.curvedness = toward(p.curvedness, CURVE_LO, CURVE_RATE); break;
    case 'W': p.weight = toward(p.weight, WEIGHT_HI, WEIGHT_RATE); break;
    case 'w': p.weight = toward(p.weight, WEIGHT_LO, WEIGHT_RATE); break;
    case 'F': p.friction = toward(p.friction, FRICTION_HI, FRICTION_RATE); break;
    case 'f': p.friction -= p.friction * FRICTION_RATE; break;
    case 'M': raiseShare(p.muscle); p.normalise(); break;
    case 'm': lowerShare(p.muscle); p.normalise(); break;
    case 'A': raiseShare(p.assimilation); p.normalise(); break;
    case 'a': lowerShare(p.assimilation); p.normalise(); break;
    case 'S': raiseShare(p.stamina); p.normalise(); break;
    case 's': lowerShare(p.stamina); p.normalise(); break;
    case 'I': raiseShare(p.ingestion); p.normalise(); break;
    case 'i': lowerShare(p.ingestion); p.normalise(); break;
    case 'Q': p.twist = toward(p.twist, TWIST_HI, TWIST_RATE); break;
    case 'q': p.twist = toward(p.twist, TWIST_LO, TWIST_RATE); break;
    case 'E': p.energy = toward(p.energy, ENERGY_HI, ENERGY_RATE); break;
    case 'e': p.energy -= p.energy * ENERGY_RATE; break;
    default: return false;
  }
  return true;
}

}  // namespace vorlund
