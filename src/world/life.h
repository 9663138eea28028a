// The world part of the simulator: the living creatures and the food (energy
// balls and remains), each list owning its objects, the world map, the hook
// lists through which the world announces what happens, and the physics step
// `go` that moves all of it by one time step. The simulator derives from it.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "core/lists.h"
#include "world/contact_broad_phase.h"
#include "world/step_snapshot.h"
#include "world/neuro_net.h"
#include "world/org.h"
#include "world/org_list.h"
#include "world/sim_settings.h"
#include "world/stick_group.h"
#include "world/step_workers.h"
#include "world/world_inhabitants.h"
#include "world/world_map.h"
#include "world/world_senses.h"

namespace vorlund {

class listaprz;

// Called after every step with its argument (null when none was given).
struct StepHook {
  void (*fn)(void* arg);
  void* arg;
  // False for a hook that only looks (a scene exporter): the step's packed
  // copies of the objects then stay good for the networks that follow.
  bool changesObjects = true;
};
// Called with the hitting and the hit object when a stick is broken off.
struct HitHook {
  void (*fn)(void* arg, org* hitter, org* hit);
  void* arg;
};
// Called with the object and its stick end when the end first touches the ground.
struct TouchHook {
  void (*fn)(void* arg, org* who, ses* end);
  void* arg;
  // False for a hook that only listens (the touch sounds), as for StepHook.
  bool changesObjects = true;
};

// Velocity damping per step of the two motion models.
constexpr double DAMP_LIMITED = 0.9;  // model 0, "Limited motion (old)"
constexpr double DAMP_LOW = 0.99;     // model 1, "Low damping (new)"
// Every object's bounding box is widened by this on each side for the contact test.
constexpr double CONTACT_BOX_MARGIN = 1.0;

// A stick end's first touch of the ground, heard by the touch hooks after the motion phase.
struct TouchEvent {
  org* who;
  ses* end;
};

// Two ends of a pair of objects whose contact boxes overlap, within eating
// range, with their distance as the contact test measured it.
struct EndContact {
  int a;    // end of the pair's first object
  int b;    // end of its second object
  Vec3 dv;  // a's position minus b's
  double dist;
};
// A pair of objects (first < second) with ends in reach: its end contacts
// are [begin, end) of the list of range `part`.
struct TouchingPair {
  int first;
  int second;
  int part;
  int begin;
  int end;
};
// The objects of `all` that one range of a phase owns: one stretch, or its
// creatures and then its food.
struct RangeStretches {
  int begin[2] = {0, 0};
  int end[2] = {0, 0};
  int count = 1;
  bool holds(int index) const {
    for (int k = 0; k < count; ++k)
      if (index >= begin[k] && index < end[k]) return true;
    return false;
  }
};

class Life : public WorldInhabitants {
 public:
  // `rules` and `pool` are observed and must outlive the world; without a
  // pool a death folds nothing.
  explicit Life(const SimSettings& rules, listaprz* pool = nullptr);
  ~Life() override;
  Life(const Life&) = delete;
  Life& operator=(const Life&) = delete;

  // --- objects ---
  OrgList creatures;   // living creatures
  OrgList food;        // energy balls and remains
  listaduo<org> all;   // creatures first, then food
  int loopIndex = 0;   // position in `all` of the object being worked on (serial phases)
  double damp = DAMP_LOW;
  // Creatures started and died since the world was made; only charts read them.
  int64_t bornTotal = 0;
  int64_t diedTotal = 0;
  vorlund::world world;

  // --- hooks ---
  std::vector<StepHook> stepHooks;
  OrgHookList startedHooks;
  std::vector<HitHook> hitHooks;
  std::vector<TouchHook> touchHooks;

  const SimSettings& rules() const { return *rules_; }
  listaprz* genePool() const { return pool_; }
  void setGenePool(listaprz* pool) { pool_ = pool; }

  // Builds `o` from its genotype, places it clear of the other creatures,
  // starts it and makes it a living creature (energy balls join the food).
  // Returns the object, or null when its genotype does not build (the object
  // is then destroyed).
  org* startCreature(std::unique_ptr<org> o);
  // Takes ownership of an object that is already set up.
  org* addCreature(std::unique_ptr<org> o) { return creatures.adopt(std::move(o)); }
  org* addFood(std::unique_ptr<org> o) { return food.adopt(std::move(o)); }
  // A living creature becomes food (typ 1); nothing happens to food.
  void moveToFood(org* o);

  // The death of a living creature: it leaves the living list, its
  // performance is folded into its genotype record and it either stays as
  // remains (with `corpsen` and at least one stick) or is destroyed.
  void killCreature(org* o);

  // One physics step.
  void go();
  // One network step of every creature that is neither growing nor waiting
  // to stand still (the simulator runs it after `go`).
  void updateNetworks();
  // The validity check under `label`; nothing unless `debug` is on.
  void check(std::string_view label) const;

  // Every object is destroyed without recording its performance.
  void removeAllObjects();

  // Below this much work in all objects (ends, sticks and neurons; ten
  // walkers come to about 400) a step is too short to share and runs on the
  // calling thread: handing a phase to the workers and waiting for them takes
  // a microsecond or two, more than half of so small a phase.
  static constexpr long kMinWorkToShare = 1000;
  // The bar in use for every world of the process; tests lower it to 0 to
  // share even a small world's steps.
  static inline long minWorkToShare = kMinWorkToShare;

  // Threads the per-object phases of a step are split over (the calling one
  // included; 1 starts none). The pool is made here, not while stepping.
  void setStepThreads(int threads);
  int stepThreads() const { return workers_ ? workers_->threads() : 1; }
  // Whether this step is split over the workers (there are some, and it has
  // work enough for them).
  bool sharesStep() const { return workers_ && stepWork_ >= minWorkToShare; }

  // What the networks sense: this world's ground and objects.
  const NeuroSurroundings& senses() const { return senses_; }

  // --- WorldInhabitants ---
  bool anyLiving() const override { return creatures.size() > 0; }
  void removeAllLiving() override;

 private:
  // Sub-steps of `go`, each for one object (physics_*.cpp, energy.cpp).
  void bookkeeping(org& o);
  void teleport(org& o);
  // Adds the springs of o's sticks to `group`, which works them out four at
  // a time with those of the objects before (the AVX path; the other paths
  // work out o's sticks at once). flushSticks works out the last few.
  void sticks(org& o, StickGroup& group);
  void flushSticks(StickGroup& group);
  // The group's `count` sticks through the spring lanes of `kernel`, then
  // their pulls, four sticks at a time.
  template <int Lanes>
  using SpringKernel = void (*)(const SpringLane (&)[Lanes], const SpringRules&, double (&)[kSpringOutputs][Lanes]);
  template <int Lanes>
  void runSpringLanes(StickGroup& group, int count, SpringKernel<Lanes> kernel, const SpringRules& rules);
  // The pulls the lanes worked out (out[field][lane]) for the group's sticks
  // from `from` to `to`, at most four, added to their ends in stick order.
  template <int Lanes>
  void applySpringPulls(const StickGroup& group, int from, int to, const double (&out)[kSpringOutputs][Lanes]);
  // The contact phase. With `mayDefer` (no breaks possible, nothing looks
  // in between) it only finds the contacts and returns true: in the motion
  // phase each range then applies them to its own objects and moves those.
  bool contacts(bool mayDefer);
  // Finds the pairs of objects whose boxes overlap and their ends that lie
  // within eating range, over the workers: each range of the sweep fills
  // endContacts_ and touching_ of its own.
  void findEndContacts();
  // Every pair of objects tested, by range 0's lists: when a box is not a number.
  void scanAllPairs(std::span<const WorldBox> boxes);
  // Puts the pairs found in order: touchingOrdered_.
  void orderEndContacts();
  // Eats, breaks and pushes for the ends found, in pair order and within a
  // pair in end order; true when a stick was broken off and the phase has to
  // start again.
  bool applyEndContacts();
  // What one range of a shared motion phase keeps to apply the contacts to
  // its own objects: the pairs in order, and per end of the snapshot the
  // stamp of the last step it ate in. Apart on their cache lines.
  struct alignas(kCacheLineBytes) RangeContacts {
    std::vector<TouchingPair> ordered;
    std::vector<TouchingPair> scratch;  // the other half of orderByPair's swap
    std::vector<std::size_t> buckets;   // and its buckets
    std::vector<std::uint32_t> ateIn;
    std::uint32_t stamp = 0;
  };
  // Eats and pushes for the pairs found (no breaks: the step defers only
  // without destructive collisions), but writes only the ends and energies
  // of the objects `own` holds. Every end and object so sees the same
  // operations in the same order as applyEndContacts gives it, while every
  // range reads only the snapshot's copies of the others' objects.
  void applyOwnEndContacts(const RangeStretches& own, RangeContacts& mine);
  // Moves the ends of objects [begin, end) of `all` and books each one's
  // energy balance (and its packed copy). The ends that first touched the
  // ground go to touchesOf(part, begin); their hooks are called after the
  // phase, in object order.
  void motion(int part, int begin, int end);
  // The motion phase after a deferred contact phase (see contacts).
  void motionAfterDeferredContacts();
  void callTouchHooks();
  // The phases split over the workers; each keeps ranges of its own.
  enum class StepPhase { Forces, Muscles, Bookkeeping, Sticks, Contacts, Motion, Networks, Count };
  // Runs `phase` for every object of `all` (every living creature for the
  // muscles and the networks) over the workers, each object in exactly one range.
  template <class Phase>
  void forEachObject(StepPhase kind, Phase phase);
  // The same, for a phase that takes its whole range at once: phase(part,
  // begin, end). A range over all objects may come as two calls of the same
  // part, its creatures and then its food (see life.cpp).
  template <class RangePhase>
  void forEachRange(StepPhase kind, RangePhase phase);
  // The same again, with one call per range: phase(part, stretches).
  template <class PartPhase>
  void forEachPart(StepPhase kind, PartPhase phase);
  void deaths();
  void callStepHooks();
  // Breaks stick `k` out of `victim` after `hitter` hit it. False when nothing broke.
  bool breakStick(org& hitter, org& victim, est* k);

  const SimSettings* rules_;
  listaprz* pool_;
  WorldSenses senses_{world, all};
  // Reused by the teleport test so that the step allocates nothing.
  std::vector<WorldBox> otherBoxes_;
  ContactBroadPhase contactBroadPhase_;
  // A shared step's sweep: each range sorts the boxes itself, in a broad
  // phase of its own, while the others do the same. The sort is the same
  // everywhere, and no thread waits for one, nor reads its lines from
  // another core. Apart on their cache lines.
  struct alignas(kCacheLineBytes) RangeBroadPhase : ContactBroadPhase {};
  std::vector<RangeBroadPhase> rangeBroadPhases_;
  StepSnapshot snapshot_;
  std::unique_ptr<StepWorkers> workers_;  // none: one thread
  StepPartition partPerRange_;             // one item per thread, for the phases that split their own items
  std::array<PhaseBalance, static_cast<std::size_t>(StepPhase::Count)> balances_;
  long stepWork_ = 0;  // the work of all objects, weighed in the last step
  std::array<long, kMaxStepThreads> rangeWork_{};  // what each range of the force phase weighed
  // Per range of the motion phase: the objects it left without energy that
  // may die (any with AutoKill, else food), by index; read once its threads
  // are joined, and then gathered in object order.
  std::vector<RangeList<int>> spent_;
  std::vector<int> spentOrdered_;
  std::vector<org*> doomed_;
  // Per range of the motion phase and stretch (its creatures, its food):
  // the ends that first touched the ground. The lists of the creatures'
  // stretches come first, each kind in range order, so that read in turn
  // they name the ends in object order however the ranges were cut.
  std::vector<RangeList<TouchEvent>> touched_;
  std::vector<TouchEvent>& touchesOf(int part, int begin);
  // Per range of the contact phase's sweep, the end contacts and the pairs
  // they belong to; then all those pairs in the order (first, second).
  std::vector<RangeList<EndContact>> endContacts_;
  std::vector<RangeList<TouchingPair>> touching_;
  std::vector<TouchingPair> touchingOrdered_;
  std::vector<TouchingPair> touchingScratch_;   // the other half of orderByPair's swap
  std::vector<std::size_t> touchingBuckets_;    // and its buckets
  std::vector<RangeContacts> rangeContacts_;    // per range of a shared motion phase
};

}  // namespace vorlund
