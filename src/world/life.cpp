#include "world/life.h"

#include <algorithm>
#include <utility>

#include "genepool/listaprz.h"
#include "world/muscle.h"
#include "world/validity_checker.h"

namespace vorlund {

namespace {
// Room for the boxes of the teleport test, so that the step does not allocate.
constexpr std::size_t kReservedBoxes = 64;
// Room for the first touches of one range in one step; a step where more
// ends land at once grows it for good.
constexpr std::size_t kReservedTouches = 512;
// Room for the ends within eating range in one range of the contact phase;
// as above, a crowd that needs more grows it once.
constexpr std::size_t kReservedEndContacts = 1024;

// Room for what the step keeps per object (the buckets that order the
// touching pairs, the marks of the objects they touch) in a crowded world;
// a bigger world grows them once.
constexpr std::size_t kReservedObjects = 256;
// And per end (the marks of the ends that ate).
constexpr std::size_t kReservedEnds = 4096;

// What one object costs in a phase, about: its ends, sticks and neurons.
int workOf(const org& o) { return 1 + o.sesCount() + o.estCount() + o.neuroCount(); }
}  // namespace

template <class PartPhase>
void Life::forEachPart(StepPhase kind, PartPhase phase) {
  const bool creaturesOnly = kind == StepPhase::Muscles || kind == StepPhase::Networks;
  const int count = creaturesOnly ? creatures.size() : all.size();
  if (!sharesStep()) {
    RangeStretches whole;
    whole.end[0] = count;
    phase(0, whole);
    return;
  }
  const auto weight = [this](int i) { return workOf(*all.get(i)); };
  const int threads = workers_->threads();
  // The force phase takes the motion phase's split of the food, and leaves
  // it to that phase to move: a ball then stays on one core from its forces
  // to its motion, instead of its lines going over to another in between.
  const bool twoStretches = !(creaturesOnly || food.size() == 0);
  const bool borrowed = kind == StepPhase::Forces && twoStretches;
  PhaseBalance& balance = balances_[static_cast<std::size_t>(borrowed ? StepPhase::Motion : kind)];
  struct Split {
    PartPhase* phase;
    const StepPartition* first;
    const StepPartition* food;  // none: one stretch per range
    int foodStart;
  };
  Split split{&phase, nullptr, nullptr, 0};
  // One stretch of objects per range where there is nothing else to split
  // (the creatures-only phases, a world without food).
  if (!twoStretches) {
    split.first = &balance.ranges(count, threads, weight);
  } else {
    // Each thread keeps the creatures the networks give it in every phase,
    // so that no creature's lines go from one core to another between
    // phases; the split of the food evens the threads' times out. A range
    // is then two stretches, its creatures and its food.
    const int living = creatures.size();
    split.first = &balances_[static_cast<std::size_t>(StepPhase::Networks)].ranges(living, threads, weight);
    split.food = &balance.ranges(food.size(), threads, [&weight, living](int i) { return weight(living + i); });
    split.foodStart = living;
  }
  workers_->run(
      partPerRange_,
      [](void* c, int part, int, int) {
        const Split& s = *static_cast<const Split*>(c);
        RangeStretches own;
        own.begin[0] = s.first->begin[part];
        own.end[0] = s.first->begin[part + 1];
        if (s.food != nullptr) {
          own.begin[1] = s.foodStart + s.food->begin[part];
          own.end[1] = s.foodStart + s.food->begin[part + 1];
          own.count = 2;
        }
        (*s.phase)(part, own);
      },
      &split);
  if (!borrowed) balance.adjust(workers_->lastTimes());
}

template <class RangePhase>
void Life::forEachRange(StepPhase kind, RangePhase phase) {
  forEachPart(kind, [&phase](int part, const RangeStretches& own) {
    for (int k = 0; k < own.count; ++k) phase(part, own.begin[k], own.end[k]);
  });
}

template <class Phase>
void Life::forEachObject(StepPhase kind, Phase phase) {
  forEachRange(kind, [this, &phase](int part, int begin, int end) {
    for (int i = begin; i < end; ++i) phase(*all.get(i), part, i);
  });
}

void Life::setStepThreads(int threads) {
  workers_.reset();
  balances_ = {};
  if (threads > 1) workers_ = std::make_unique<StepWorkers>(threads);
  partPerRange_ = unitPartition(stepThreads());
  snapshot_.setShared(threads > 1);
  senses_.setSharedSources(threads > 1);
  senses_.setSourceParts(stepThreads());
  rangeBroadPhases_.clear();
  rangeBroadPhases_.resize(threads > 1 ? static_cast<std::size_t>(stepThreads()) : 0);
  touched_.resize(2 * static_cast<std::size_t>(stepThreads()));
  for (auto& t : touched_) t.reserve(kReservedTouches);
  spent_.resize(static_cast<std::size_t>(stepThreads()));
  for (auto& range : spent_) range.reserve(kReservedObjects);
  spentOrdered_.reserve(kReservedObjects * spent_.size());
  doomed_.reserve(spentOrdered_.capacity());
  endContacts_.resize(static_cast<std::size_t>(stepThreads()));
  for (auto& c : endContacts_) c.reserve(kReservedEndContacts);
  touching_.resize(static_cast<std::size_t>(stepThreads()));
  for (auto& t : touching_) t.reserve(kReservedEndContacts);
  touchingOrdered_.reserve(kReservedEndContacts * touching_.size());
  touchingScratch_.reserve(touchingOrdered_.capacity());
  touchingBuckets_.reserve(kReservedObjects + 1);
  rangeContacts_.clear();
  rangeContacts_.resize(threads > 1 ? static_cast<std::size_t>(stepThreads()) : 0);
  for (RangeContacts& r : rangeContacts_) {
    r.ordered.reserve(touchingOrdered_.capacity());
    r.scratch.reserve(touchingOrdered_.capacity());
    r.buckets.reserve(kReservedObjects + 1);
    r.ateIn.reserve(kReservedEnds);
  }
}

Life::Life(const SimSettings& rules, listaprz* pool)
    : all(creatures, food), rules_(&rules), pool_(pool) {
  world.setInhabitants(this);
  otherBoxes_.reserve(kReservedBoxes);
  setStepThreads(1);
}

Life::~Life() {
  world.setInhabitants(nullptr);
  removeAllObjects();
}

void Life::moveToFood(org* o) {
  const int index = creatures.find(o);
  if (index < 0) return;
  std::unique_ptr<org> taken = creatures.release(index);
  taken->typ = ORG_FOOD;
  food.adopt(std::move(taken));
}

void Life::killCreature(org* o) {
  const int index = creatures.find(o);
  if (index < 0) return;
  o->flags &= static_cast<uint16_t>(~ORG_GROWING);
  std::unique_ptr<org> dead = creatures.release(index);
  ++diedTotal;
  if (pool_ != nullptr) pool_->foldPerformance(*dead);
  if (rules().corpsen > 0 && dead->estCount() > 0) {
    dead->typ = ORG_FOOD;
    dead->energy = dead->estCount() * rules().corpsen;
    food.adopt(std::move(dead));
  }
}

void Life::removeAllLiving() { creatures.clear(); }

void Life::removeAllObjects() {
  creatures.clear();
  food.clear();
}

void Life::check(std::string_view label) const { checkValidity(all, rules().debug != 0, label); }

// The phases that touch one object only (muscles, bookkeeping, sticks,
// motion) are split over the workers; the ones that couple objects (contacts,
// deaths, hooks, the teleport test, which reads the other creatures' boxes)
// run on this thread in object order. Without breaks, each range of the
// motion phase handles the contacts of its own objects, in that order.
void Life::go() {
  const SimSettings& s = rules();
  // Only a step that may be shared weighs its work. The force phase weighs
  // it as it goes; until then the last step's weight decides whether to
  // share (any split gives the same results).
  const bool weighs = workers_ != nullptr;
  snapshot_.renewLayout(all);
  const int living = creatures.size();
  const auto muscles = [&s, living](org& o, int index) {
    if (index < living && !(o.flags & (ORG_GROWING | ORG_WAITSTILL))) driveMuscles(o, s);
  };
  const bool teleports = world.boundaries() == BOUNDARY_TELEPORT;
  if (s.debug == 0 && !teleports) {
    // No check looks in between and no object reads another: each object
    // goes through its muscles, bookkeeping and sticks in one go, and the
    // workers meet once instead of three times. Its last springs may wait
    // for the next object's sticks: nothing of the next one touches its own.
    const std::size_t ranges = weighs ? static_cast<std::size_t>(workers_->threads()) : 0;
    std::fill_n(rangeWork_.begin(), ranges, 0L);
    forEachRange(StepPhase::Forces, [&](int part, int begin, int end) {
      StickGroup springs;
      long work = 0;
      for (int index = begin; index < end; ++index) {
        org& o = *all.get(index);
        if (weighs) work += workOf(o);
        o.energy_p = o.energy_m = 0;
        muscles(o, index);
        bookkeeping(o);
        sticks(o, springs);
        snapshot_.copyShape(index, o);
      }
      flushSticks(springs);
      rangeWork_[static_cast<std::size_t>(part)] += work;
    });
    if (weighs) {
      stepWork_ = 0;
      for (std::size_t part = 0; part < ranges; ++part) stepWork_ += rangeWork_[part];
    }
  } else {
    if (weighs) {
      stepWork_ = 0;
      for (int i = 0; i < all.size(); ++i) stepWork_ += workOf(*all.get(i));
    }
    for (int i = 0; i < all.size(); ++i) all.get(i)->energy_p = all.get(i)->energy_m = 0;
    forEachObject(StepPhase::Muscles, [&](org& o, int, int index) { muscles(o, index); });
    check("go() #1");
    if (teleports)
      for (loopIndex = 0; loopIndex < all.size(); ++loopIndex) bookkeeping(*all.get(loopIndex));
    else
      forEachObject(StepPhase::Bookkeeping, [this](org& o, int, int) { bookkeeping(o); });
    forEachRange(StepPhase::Sticks, [this](int, int begin, int end) {
      StickGroup springs;
      for (int index = begin; index < end; ++index) {
        sticks(*all.get(index), springs);
        snapshot_.copyShape(index, *all.get(index));
      }
      flushSticks(springs);
    });
  }
  check("go() #2");
  // Without breaks the contacts change only the objects they touch, and
  // nothing looks in between (no check; the touch hooks hear only after the
  // motion): in a shared step each range applies them to its own objects
  // before it moves them.
  const bool defer = sharesStep() && s.descol == 0 && s.debug == 0;
  const bool deferred = contacts(defer);
  check("go() #3");
  damp = s.model == 1 ? DAMP_LOW : DAMP_LIMITED;
  senses_.startSources(static_cast<std::size_t>(all.size()));
  for (auto& range : spent_) range.clear();
  if (deferred)
    motionAfterDeferredContacts();
  else
    forEachRange(StepPhase::Motion, [this](int part, int begin, int end) { motion(part, begin, end); });
  // The contact phase left a layout that fits (it lays one out afresh after
  // any break), and motion adds or removes nothing: from here the packed
  // energies hold until a hook or a death may change an object.
  snapshot_.setEnergiesFresh(true);
  callTouchHooks();
  check("go() #3");
  deaths();
  for (const StepHook& h : stepHooks)
    if (h.fn != nullptr && h.changesObjects) snapshot_.setEnergiesFresh(false);
  callStepHooks();
  check("go() #4");
}

void Life::motionAfterDeferredContacts() {
  // Each range applies the contacts to its own objects, in pair order as
  // ever, and then moves them: no range waits for another, nor writes the
  // lines of objects another moves.
  forEachPart(StepPhase::Motion, [this](int part, const RangeStretches& own) {
    applyOwnEndContacts(own, rangeContacts_[static_cast<std::size_t>(part)]);
    for (int k = 0; k < own.count; ++k) motion(part, own.begin[k], own.end[k]);
  });
}

void Life::deaths() {
  if (snapshot_.energiesFresh()) {
    // Nothing changed an object since the motion phase booked every energy:
    // the objects it listed as left without energy are all that may die,
    // and most steps it listed none. They go as below, in object order,
    // without a look at any other object.
    spentOrdered_.clear();
    for (const auto& range : spent_) spentOrdered_.insert(spentOrdered_.end(), range.begin(), range.end());
    if (spentOrdered_.empty()) return;
    snapshot_.setEnergiesFresh(false);
    std::sort(spentOrdered_.begin(), spentOrdered_.end());
    // The objects themselves, before any removal moves the indices: the
    // creatures come first.
    doomed_.clear();
    for (int index : spentOrdered_) doomed_.push_back(all.get(index));
    const auto creaturesDoomed = static_cast<std::size_t>(
        std::lower_bound(spentOrdered_.begin(), spentOrdered_.end(), creatures.size()) - spentOrdered_.begin());
    for (std::size_t k = 0; k < creaturesDoomed; ++k) killCreature(doomed_[k]);
    for (std::size_t k = creaturesDoomed; k < doomed_.size(); ++k) food.removeAt(food.find(doomed_[k]));
    return;
  }
  if (rules().AutoKill) {
    for (int i = 0; i < creatures.size();) {
      org* o = creatures.get(i);
      if (o->energy <= 0) {
        killCreature(o);
        i = 0;
      } else {
        ++i;
      }
    }
  }
  for (int i = 0; i < food.size();) {
    if (food.get(i)->energy <= 0) {
      food.removeAt(i);
      i = 0;
    } else {
      ++i;
    }
  }
}

std::vector<TouchEvent>& Life::touchesOf(int part, int begin) {
  // A range that begins among the food holds food only, and every range
  // after it too; one that begins among the creatures comes before those
  // whether or not it reaches into the food.
  const std::size_t foodLists = begin >= creatures.size() ? touched_.size() / 2 : 0;
  return touched_[foodLists + static_cast<std::size_t>(part)];
}

void Life::callTouchHooks() {
  // The lists follow the object order (see touched_), and so do the ends within each.
  for (auto& range : touched_) {
    for (const TouchEvent& e : range)
      for (std::size_t i = 0; i < touchHooks.size(); ++i) {
        const TouchHook hook = touchHooks[i];
        if (hook.fn == nullptr) continue;
        if (hook.changesObjects) snapshot_.setEnergiesFresh(false);  // such a hook may change anything
        hook.fn(hook.arg, e.who, e.end);
      }
    range.clear();
  }
}

void Life::callStepHooks() {
  // By index: a hook may register another one while it runs.
  for (std::size_t i = 0; i < stepHooks.size(); ++i) {
    const StepHook h = stepHooks[i];
    if (h.fn != nullptr) h.fn(h.arg);
  }
}

void Life::updateNetworks() {
  // A network step moves and feeds nothing, so every network smells the same objects.
  // The motion phase set the sources as it went; when an object changed
  // since, they are packed here.
  if (!snapshot_.energiesFresh() || !senses_.freezeSetSources()) {
    if (snapshot_.energiesFresh() && snapshot_.fits(all))
      senses_.freezeObjects(snapshot_.centers(), snapshot_.energies());
    else
      senses_.freezeObjects();
  }
  // Only the step that made them may use them.
  snapshot_.setEnergiesFresh(false);
  const SimSettings& s = rules();
  forEachObject(StepPhase::Networks, [this, &s](org& o, int, int) {
    if (!(o.flags & (ORG_GROWING | ORG_WAITSTILL))) updateNetwork(o, senses_, s);
  });
  senses_.thawObjects();
}

}  // namespace vorlund
