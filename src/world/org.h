// A simulated object: a creature, an energy ball or the remains of a
// creature. It is a genotype record (name, texts, performance) extended by a
// body of stick ends, sticks and neurons, which it owns.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "genepool/przodek.h"
#include "world/body.h"
#include "world/element_pool.h"
#include "world/owning_list.h"
#include "world/vec3.h"

namespace vorlund {

// Bits of org::flags.
constexpr uint16_t ORG_STATS = 1;      // performance is being measured
constexpr uint16_t ORG_GROWING = 2;    // growing phase
constexpr uint16_t ORG_WAITSTILL = 4;  // waiting to stand still before measuring

// org::typ values.
constexpr int16_t ORG_CREATURE = 0;
constexpr int16_t ORG_FOOD = 1;

// Position-map codes: the top two bits give the kind, the low 14 bits the index.
constexpr uint16_t POSMAP_SES = 0x8000;  // stick end, 1-based index
constexpr uint16_t POSMAP_EST = 0x4000;  // stick, 0-based index
constexpr uint16_t POSMAP_NEURO = 0xC000;  // neuron, 0-based index
constexpr uint16_t POSMAP_INDEX_MASK = 0x3FFF;

// A release hook: called with its argument whenever the body is cleared.
struct ReleaseHook {
  void (*fn)(void* arg);
  void* arg;
};

// A hook called with an object (the world's creature-started hooks and the like).
struct OrgHook {
  void (*fn)(void* arg, org* who);
  void* arg;
};
using OrgHookList = std::vector<OrgHook>;

// Build results.
constexpr int ORG_BUILD_OK = 0;
constexpr int ORG_BUILD_NO_ENCODING = 1;  // no usable conversion
constexpr int ORG_BUILD_INVALID = 2;      // the genetic manager rejected the genotype

// Aligned to a cache line, as its elements are (see body.h): objects of
// different ranges of a shared step never share one.
class alignas(64) org : public przodek {
 public:
  VORLUND_POOLED_ELEMENT(org)
  // An empty object that will be built from `genotype`. The texts are taken
  // as they are: no structural refresh, no name generation.
  explicit org(const Genetics* genetics, std::string genotype = {}, std::string name = {},
               std::string info = {});
  ~org() override;

  // --- body access ---
  int sesCount() const { return l_ses.size(); }
  int estCount() const { return l_est.size(); }
  int neuroCount() const { return l_neu.size(); }
  ses* getSes(int i) const { return l_ses.get(i); }
  est* getEst(int i) const { return l_est.get(i); }
  neuro* getNeuro(int i) const { return l_neu.get(i); }
  // Appends a default element and returns it. addEst links the stick to its
  // two ends (and the second end to the stick) when they are given.
  ses* addSes() { return l_ses.add(); }
  est* addEst(ses* first = nullptr, ses* second = nullptr);
  // The neuron belongs to this object (kto) and sits on `place` when given.
  neuro* addNeuro(est* place = nullptr);

  // --- position map (exists only when allocated before building) ---
  // One zeroed code per genotype character plus one.
  void allocatePositionMap();
  bool hasPositionMap() const { return !posMap.empty(); }
  // Stores a code at a text position; a position outside the text is reported
  // ("debuginfo overflow") and ignored.
  void setPosition(int position, uint16_t code);
  // Every zero code takes the nearest nonzero code before it.
  void fillPositionMap();

  // Makes the body from the genotype text through the genetic manager:
  // an energy ball for "*", else encoding 1 developed directly or after a
  // conversion, else format 0 read directly or after a conversion.
  // Returns ORG_BUILD_*; on failure the body stays empty.
  int Build();
  // Appends the records of a format-0 text to the body, then links the
  // network and sets the starting energy. Records naming an element that does
  // not exist are rejected with a warning; the rest is read.
  void readFormat0(const std::string& text);
  // startEnergy from energyWeight and Energy0; growing objects start on `grow`.
  void setStartingEnergy();
  // The rules in effect (the built-in defaults without a genetics context).
  const SimSettings& settings() const;

  // Links every neuron's inputs and zeroes the neuron states; an input naming
  // a neuron outside the list becomes a self-connection, with a warning.
  void InitNeuro();
  // Bounding box and mean position of the stick ends (zero for no ends).
  void computeBoundingBox();
  Vec3 meanPosition() const;

  // Calls and empties the release hooks, drops the position map and destroys the body.
  void Clear();

  // --- fields ---
  double energyWeight = 0;  // starting-energy multiplier (sum of per-stick shares)
  // Three cache lines for a shared step: what the serial phases read of
  // every object and its own thread seldom writes (the body, the kind); what
  // they read and its thread writes every step (position and energy), which
  // crosses between cores once a step; and the rest, which only its thread
  // touches while stepping.
  alignas(64) OwningList<ses> l_ses;
  OwningList<est> l_est;
  OwningList<neuro> l_neu;
  int16_t sticks0 = 0;  // sticks when built
  int16_t typ = ORG_CREATURE;
  uint16_t flags = 0;  // ORG_* bits
  alignas(64) Vec3 center;
  double energy = 0;
  alignas(64) Vec3 bboxMin, bboxMax;
  Vec3 prevCenter;
  int32_t wiek = 0;       // age in steps
  int32_t drogawiek = 0;  // steps over which distance was measured
  double lastVZ = 0, sumZ = 0, sumVZ = 0;
  double c_velocity = 0;
  double energy_p = 0;  // income of the current step
  double energy_m = 0;  // costs of the current step
  double energy_b = 0;  // balance of the last step
  double grownEnergy = 0;
  double startEnergy = 0;
  std::vector<uint16_t> posMap;  // empty: no position map
  std::vector<ReleaseHook> releaseHooks;
  // Tells this object apart from every other one of the process, also from a
  // later one at the same address (scripts hold on to objects by it).
  const uint64_t serial = nextSerial();

 private:
  static uint64_t nextSerial();
};

// The side an object takes in a contact: its type, but a growing creature
// counts as food.
inline int contactSide(const org& o) { return (o.flags & ORG_GROWING) ? ORG_FOOD : o.typ; }

}  // namespace vorlund
