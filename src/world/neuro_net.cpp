#include "world/neuro_net.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "world/org.h"

namespace vorlund {

namespace {

double touchValue(const est& k, const NeuroSurroundings& world) {
  const ses* a = k.e[0];
  const ses* b = k.e[1];
  if (a == nullptr || b == nullptr) return 0;
  if (b->contact) return (b->anchor - b->p).length();
  double val = NEURO_TOUCH_FREE;
  Vec3 u = b->p - a->p;
  Vec3 q = b->p + u;
  Vec3 corrected;
  for (int i = 0; i < NEURO_TOUCH_PROBES; ++i) {
    if (!world.insideGround(q, corrected)) break;
    val += NEURO_TOUCH_STEP;
    u = u * 0.5;
    q -= u;
  }
  return val;
}

// The state's rate of change as a finite number. Inertia above 1 makes it grow
// without bound, and a body description may give any inertia and force; the
// state itself stays in its range, so only the rate needs keeping: an overflow
// holds at the largest number, and an undefined one (two overflows against
// each other) stops.
double finiteRate(double vel) {
  if (std::isnan(vel)) return 0;
  constexpr double kLargest = std::numeric_limits<double>::max();
  return std::clamp(vel, -kLargest, kLargest);
}

double equilibriumValue(const est& k) {
  if (k.e[0] == nullptr || k.e[1] == nullptr) return 0;
  const Vec3 d = k.e[0]->p - k.e[1]->p;
  const double len = d.length();
  // A stick of no length has no inclination.
  return len > 0 ? d.z / len : 0;
}

double smellValue(const est& k, const org* owner, const NeuroSurroundings& world) {
  if (k.e[1] == nullptr) return 0;
  return NEURO_SMELL_SCALE * world.smellSum(k.e[1]->p, owner);
}

double sigmoid(double state, double steepness) {
  const double x = state * steepness;
  if (x < NEURO_SIGMOID_CUTOFF) return -1.0;
  return 2.0 / (1.0 + std::exp(-x)) - 1.0;
}

}  // namespace

double NeuroSurroundings::smellSum(const Vec3& at, const org* owner) const {
  double sum = 0;
  const int count = objectCount();
  for (int i = 0; i < count; ++i) {
    const org* o = object(i);
    if (o == nullptr || o == owner || !(o->energy > 0)) continue;
    sum += smellTerm(o->center, o->energy, at);
  }
  return sum;
}

namespace {
// inputValue's body, inlined into the network update's loop over every input.
[[gnu::always_inline]] inline double valueOf(wej& input, const neuro& owner, const NeuroSurroundings& world) {
  const est* k = owner.place;
  switch (input.typ) {
    case WEJ_NEURON:
      input.val = input.srcNeuron != nullptr ? input.srcNeuron->stan : 0;
      return input.w * input.val;
    case WEJ_CONSTANT:
      input.val = 1;
      return input.w;
    case WEJ_TOUCH:
      input.val = k != nullptr ? touchValue(*k, world) : 0;
      return input.w * input.val;
    case WEJ_EQUILIBRIUM:
      input.val = k != nullptr ? equilibriumValue(*k) : 0;
      return input.w * input.val;
    case WEJ_SMELL:
      // Smell is not weighted.
      input.val = k != nullptr ? smellValue(*k, owner.kto, world) : 0;
      return input.val;
    default:
      return 0;
  }
}
}  // namespace

double inputValue(wej& input, const neuro& owner, const NeuroSurroundings& world) {
  return valueOf(input, owner, world);
}

void updateNetwork(org& creature, const NeuroSurroundings& world, const SimSettings& settings) {
  // First every new state from the outputs of the previous step...
  for (const auto& n : creature.l_neu) {
    double sum = 0;
    for (const auto& in : n->l_wej) sum += valueOf(*in, *n, world);
    if (settings.oldneurons) {
      n->vel = finiteRate(n->vel + NEURO_OLD_GAIN * (sum - n->stan));
      n->nstan = NEURO_OLD_KEEP * n->sstan + n->vel;
    } else {
      n->vel = finiteRate(n->in * n->vel + (sum - n->sstan) * n->fo);
      n->nstan = n->sstan + n->vel;
    }
    n->nstan = std::clamp(n->nstan, -NEURO_STATE_LIMIT, NEURO_STATE_LIMIT);
  }
  // ...then the outputs, so that no neuron sees another's output of this step.
  for (const auto& n : creature.l_neu) {
    n->sstan = n->nstan;
    n->stan = sigmoid(n->sstan, n->si);
  }
}

}  // namespace vorlund
