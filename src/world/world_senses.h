// What a creature's network senses in the simulator's world: the ground of the
// world map and every object of the two object lists (living creatures, then food).
#pragma once

#include <array>
#include <span>
#include <vector>

#include "core/lists.h"
#include "world/neuro_net.h"
#include "world/org.h"
#include "world/step_workers.h"
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
  // packed as they go, so that freezing it takes no serial pass over the
  // objects. Each part of the step (one per thread) copies stretches of
  // consecutive objects: `setSourceParts(parts)` makes room for that many
  // parts (not while stepping); `startSources(count)` starts a copy of
  // objects [0, count) (serial); `openSourceStretch(part, begin)` starts the
  // part's next stretch at object `begin`, and `setSource(part, i, ...)`
  // copies object i, the stretch's next one. `freezeSetSources()` freezes
  // the stretches when, in order, they cover every object once, each the
  // object now at its index: smell then sums as from freezeObjects.
  // Otherwise it returns false and changes nothing: the caller freezes
  // another way.
  void setSourceParts(int parts);
  void startSources(std::size_t count);
  void openSourceStretch(int part, int begin) {
    if (part < 0 || static_cast<std::size_t>(part) >= parts_.size()) return;  // the freeze then fails
    PartSources& p = parts_[static_cast<std::size_t>(part)];
    if (p.used == kStretchesPerPart || begin < 0 || static_cast<std::size_t>(begin) > count_) {
      p.broken = true;
      return;
    }
    SourceStretch& s = p.stretches[static_cast<std::size_t>(p.used++)];
    s.begin = begin;
    s.given = 0;
    s.smelling = 0;
    // Room for every object up to the last: grows only for a bigger world.
    const std::size_t room = count_ - static_cast<std::size_t>(begin);
    if (s.columns.source.size() < room) s.columns.resize(room);
  }
  void setSource(int part, std::size_t i, const org* o, const Vec3& center, double energy) {
    if (i >= objectAt_.size() || part < 0 || static_cast<std::size_t>(part) >= parts_.size()) return;
    storeForReaders(objectAt_[i], o, sharedSources_);
    PartSources& p = parts_[static_cast<std::size_t>(part)];
    if (p.broken) return;
    SourceStretch* const s = p.used > 0 ? &p.stretches[static_cast<std::size_t>(p.used - 1)] : nullptr;
    if (s == nullptr || static_cast<std::size_t>(s->begin + s->given) != i) {
      p.broken = true;
      return;
    }
    ++s->given;
    // Objects without energy have no smell, whoever asks.
    if (!(energy > 0)) return;
    s->columns.setRow(s->smelling++, center, energy, o, sharedSources_);
  }
  bool freezeSetSources();
  // Whether several threads copy the sources (see store_if_changed.h).
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
    // Row n; `othersRead` keeps unchanged values as they are (see store_if_changed.h).
    void setRow(std::size_t n, const Vec3& at, double e, const org* o, bool othersRead = false) {
      storeForReaders(x[n], at.x, othersRead);
      storeForReaders(y[n], at.y, othersRead);
      storeForReaders(z[n], at.z, othersRead);
      storeForReaders(energy[n], e, othersRead);
      storeForReaders(source[n], o, othersRead);
    }
  };
  // The first `count` rows of some columns.
  struct SourceView {
    const SourceColumns* columns = nullptr;
    std::size_t count = 0;
  };
  // Objects [begin, begin + given) as one part copied them, the `smelling`
  // ones packed in its columns.
  struct SourceStretch {
    SourceColumns columns;
    int begin = 0;
    int given = 0;
    std::size_t smelling = 0;
  };
  // A part of a shared step copies its creatures and then its food.
  static constexpr int kStretchesPerPart = 2;
  // What one part copied, on cache lines of its own.
  struct alignas(kCacheLineBytes) PartSources {
    std::array<SourceStretch, kStretchesPerPart> stretches;
    int used = 0;
    bool broken = false;  // more stretches than room, or an object out of turn
  };
  static constexpr std::size_t kMostViews = static_cast<std::size_t>(kStretchesPerPart) * kMaxStepThreads;

  SourceColumns packed_;  // the objects that smell, in list order
  std::vector<PartSources> parts_;
  std::vector<const org*> objectAt_;  // object i as its part copied it
  std::size_t count_ = 0;              // the objects startSources made room for
  // What smell is summed from while frozen: packed_, or the stretches in object order.
  std::array<SourceView, kMostViews> views_{};
  std::size_t viewCount_ = 0;
  bool frozen_ = false;
  // The stretches of startSources wait to be frozen, once (and no other freeze came since).
  bool sourcesStarted_ = false;
  bool sharedSources_ = false;
};

}  // namespace vorlund
