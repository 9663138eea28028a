// What a creature's network senses in the simulator's world: the ground of the
// world map and every object of the two object lists (living creatures, then food).
#pragma once

#include <atomic>
#include <span>
#include <vector>

#include "core/lists.h"
#include "world/neuro_net.h"
#include "world/org.h"
#include "world/store_if_changed.h"
#include "world/world_map.h"

namespace vorlund {

class WorldSenses : public NeuroSurroundings {
 public:
  WorldSenses(const world& ground, const listaduo<org>& objects);

  bool insideGround(const Vec3& p, Vec3& q) const override { return ground_.insideGround(p, q); }
  int objectCount() const override { return objects_.size(); }
  const org* object(int i) const override { return objects_.get(i); }
  double smellSum(const Vec3& at, const org* owner) const override;

  // Between these two calls nothing may move, add, remove or feed an object:
  // smell is then summed from a packed copy of the objects that smell (every
  // network of one step reads it; the copy is taken once, without allocating
  // in steady state). Outside, smell reads the objects themselves.
  void freezeObjects();
  // The same from packed centres and energies of the objects, in list order
  // (the step's own copies, which the objects still hold).
  void freezeObjects(std::span<const Vec3> centers, std::span<const double> energies);
  void thawObjects() { frozen_ = false; }

  // The copy written by the step's own threads as they finish each object,
  // so that freezing it takes no serial pass over the objects:
  // `startSources(count)` makes room for objects [0, count) (serial),
  // `setSource(i, ...)` fills slot i with object i (any thread, each slot by
  // one), and `freezeSetSources()` freezes the slots when each holds the
  // object now at its index, which gives the same copy as freezeObjects:
  // the slots themselves when every one smells, else those that smell packed
  // in order. Otherwise it returns false and changes nothing: the caller
  // freezes another way.
  void startSources(std::size_t count);
  void setSource(std::size_t i, const org* o, const Vec3& center, double energy) {
    if (i >= slots_.source.size()) return;
    storeForReaders(slots_.x[i], center.x, sharedSources_);
    storeForReaders(slots_.y[i], center.y, sharedSources_);
    storeForReaders(slots_.z[i], center.z, sharedSources_);
    storeForReaders(slots_.energy[i], energy, sharedSources_);
    storeForReaders(slots_.source[i], o, sharedSources_);
    // Stored once a step: the flag's line is the one every setSource reads,
    // and a world whose exhausted creatures live on has dozens of them.
    if (!(energy > 0) && !silentSource_.load(std::memory_order_relaxed))
      silentSource_.store(true, std::memory_order_relaxed);
  }
  bool freezeSetSources();
  // Whether several threads set the slots (see store_if_changed.h).
  void setSharedSources(bool shared) { sharedSources_ = shared; }

 private:
  // Packs the objects 0 .. count) that smell; `centerOf(i)` and `energyOf(i)`
  // give object i's centre and energy.
  template <class Center, class Energy>
  void packSources(std::size_t count, Center centerOf, Energy energyOf);

  const world& ground_;
  const listaduo<org>& objects_;
  // Smell sources, one column per field, so that terms go several at a time.
  struct SourceColumns {
    std::vector<double> x, y, z, energy;
    std::vector<const org*> source;
    void reserve(std::size_t n);
    void resize(std::size_t n);
    void setRow(std::size_t n, const Vec3& at, double e, const org* o) {
      x[n] = at.x;
      y[n] = at.y;
      z[n] = at.z;
      energy[n] = e;
      source[n] = o;
    }
  };
  SourceColumns packed_;  // the objects that smell, in list order
  SourceColumns slots_;   // object i at slot i, set by the motion phase
  // What smell is summed from while frozen: packed_, or slots_ when every slot smells.
  const SourceColumns* frozenFrom_ = &packed_;
  bool frozen_ = false;
  // The slots of startSources wait to be frozen, once (and no other freeze came since).
  bool sourcesStarted_ = false;
  bool sharedSources_ = false;
  // A slot was given an object without smell; set by any thread, read once they are joined.
  std::atomic<bool> silentSource_{false};
};

}  // namespace vorlund
