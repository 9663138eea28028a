// The body elements of a simulated object: stick ends (`ses`), sticks (`est`),
// neurons (`neuro`) and neuron inputs (`wej`). Fields bound to the format-0
// parameter tables are 32-bit ints and doubles, and the types stay standard
// layout so the tables can use offsetof. Ends, sticks and neurons start on a
// cache line of their own (as objects do): when the step is shared between
// threads, two elements of objects in different ranges never share a line,
// which each thread's writes would otherwise pull to and fro between cores.
#pragma once

#include <cstdint>
#include <type_traits>

#include "world/element_pool.h"
#include "world/owning_list.h"
#include "world/step_trig.h"
#include "world/vec3.h"

namespace vorlund {

struct est;
struct neuro;
class org;

// Bits of ses::state.
constexpr uint16_t SES_SLIDING = 1;  // slid at the last ground contact
constexpr uint16_t SES_INWATER = 2;  // below the water level at the last step
constexpr uint16_t SES_ATE = 4;      // already ate in the current step

// Bits of est::muscles.
constexpr uint16_t EST_MUSCLE_ROTATE = 1;
constexpr uint16_t EST_MUSCLE_BEND = 2;
// Bits of est::sensors.
constexpr uint16_t EST_SENSOR_NEURON = 1;
constexpr uint16_t EST_SENSOR_TOUCH = 2;
constexpr uint16_t EST_SENSOR_EQUILIBRIUM = 4;
constexpr uint16_t EST_SENSOR_SMELL = 8;

// Muscle control kinds (neuro::typster).
constexpr int32_t NEURO_NO_MUSCLE = 0;
constexpr int32_t NEURO_MUSCLE_ROTATE = 1;
constexpr int32_t NEURO_MUSCLE_BEND = 2;
// Bit of neuro::overload.
constexpr uint16_t NEURO_OVERLOAD = 1;

// Input kinds (wej::typ).
constexpr int32_t WEJ_NEURON = 0;
constexpr int32_t WEJ_CONSTANT = 1;
constexpr int32_t WEJ_TOUCH = 2;
constexpr int32_t WEJ_EQUILIBRIUM = 3;
constexpr int32_t WEJ_SMELL = 4;

// Stick end: a point mass with an orientation frame.
struct alignas(64) ses {
  VORLUND_POOLED_ELEMENT(ses)
  Vec3 p;       // position
  Vec3 v;       // velocity per step; the record key "vol" lands in v.x
  Vec3 spin;    // angular velocity (angles per step, applied x, y, z)
  Vec3 force;   // accumulated in the current step
  Vec3 torque;  // accumulated in the current step
  Vec3 anchor;  // ground point held by static friction while in contact
  int16_t contact = 0;
  uint16_t state = 0;  // SES_* bits
  double m = 1.0;       // mass
  double buoy = 1.0;    // buoyancy coefficient
  double tarcie = 0.4;  // friction
  double wchl = 0.25;   // ingestion
  Frame o;              // orientation
  est* owner = nullptr;  // the stick whose second end this is; none for a root end
  Vec3 foodPos;          // where the last food this end ate from was
  int32_t devIndex = 0;  // index given by the encoding-1 development
  int32_t D = -1;        // debuginfo: a position in the genotype text
};

// Stick: a spring between two stick ends that may carry muscles.
struct alignas(64) est {
  VORLUND_POOLED_ELEMENT(est)
  ses* e[2] = {nullptr, nullptr};  // first and second end
  Vec3 r;                          // joint angles: x twist (rotating muscle), z bend (bending muscle)
  Vec3 r0;                         // rest values of r
  Vec3 prevDiff;                   // position error of the previous step
  Frame prevOrient{kZeroVec, kZeroVec, kZeroVec};  // orientation error of the previous step
  Frame frame;                     // relative to the first end's frame; rebuilt from r
  CosSinMemo angleTrig[3];         // cosines and sines of r's last values, per axis
  double len0 = 0;
  double len = 0;
  Vec3 rest;   // current rest vector first end -> second end, stick coordinates
  Vec3 rest0;  // full-grown rest vector
  double ruch = 0.25;   // muscle power
  double asym = 0.25;   // assimilation
  double odpor = 0.25;  // strength
  double zakz = 1.0;    // movement range of the bending muscle
  double strain = 0;    // spring force magnitude in the last step
  uint16_t muscles = 0;  // EST_MUSCLE_* bits
  uint16_t sensors = 0;  // EST_SENSOR_* bits
  Vec3 bend;             // joint loads of the last step
  int32_t s1 = -1;       // index of the first end
  int32_t s2 = -1;       // index of the second end
  int32_t D = -1;
};

// Neuron input. Its value changes at every network step, so it lies with its
// creature's body (see element_pool.h).
struct wej {
  VORLUND_POOLED_ITEM(wej)
  int32_t typ = WEJ_NEURON;
  double w = 1.0;     // weight
  int32_t n = -1;     // owning neuron's index (-1: not given)
  int32_t conn = 0;   // kind 0: source index relative to the owner
  neuro* srcNeuron = nullptr;  // kind 0: the source neuron
  est* srcStick = nullptr;     // other kinds: the owner neuron's stick
  double val = 0;              // value sensed in the last update
};

// Neuron; owns its inputs.
struct alignas(64) neuro {
  VORLUND_POOLED_ELEMENT(neuro)
  double stan = 0;   // output, -1..1
  double nstan = 0;  // state being computed, -10..10
  double vel = 0;    // rate of change of the state
  double sstan = 0;  // internal state, -10..10
  double in = 0.8;   // inertia
  double fo = 0.04;  // force
  double si = 2.0;   // sigmoid steepness
  double muscleVel = 0;
  int32_t typster = NEURO_NO_MUSCLE;
  OwningList<wej> l_wej;
  est* place = nullptr;  // the stick the neuron sits on
  org* kto = nullptr;    // the owning object
  uint16_t overload = 0;  // NEURO_OVERLOAD
  int32_t ownIndex = 0;
  int32_t estIndex = -1;  // stick index
  int32_t D = -1;

  int inputCount() const { return l_wej.size(); }
  wej* input(int i) const { return l_wej.get(i); }
  wej* addInput() { return l_wej.add(); }
};

static_assert(std::is_standard_layout_v<ses>);
static_assert(std::is_standard_layout_v<est>);
static_assert(std::is_standard_layout_v<wej>);
static_assert(std::is_standard_layout_v<neuro>);

}  // namespace vorlund
