// What the serial phases of the physics step read of every object, packed in
// object order: its contact box, the positions of its stick ends, its centre
// and its energy. Each object's own thread copies them in the phases of the
// shared step (box, ends and centre after the force phase, energy after the
// motion phase), so the serial phases read a few packed lines instead of
// pulling each object's and end's lines, which that thread writes again in
// the next phase, over to their own core. Owned by the world (Life).
#pragma once

#include <atomic>
#include <cstdint>
#include <span>
#include <vector>

#include "core/lists.h"
#include "world/org.h"
#include "world/step_workers.h"
#include "world/store_if_changed.h"
#include "world/world_map.h"

namespace vorlund {

class StepSnapshot {
 public:
  StepSnapshot();

  // Makes room for `objects` as they are now and forgets the energies.
  // Serial; allocates only when the world holds more objects or ends than
  // ever before.
  void layout(const listaduo<org>& objects);
  // The same at the start of a step, keeping the last layout's ends while
  // the same objects stand at the same indices: only the lists' own
  // pointers are compared, no object's line is read. An object whose ends
  // came or went since is left out by copyShape, which marks the copy
  // incomplete, and the contact phase then lays out afresh.
  void renewLayout(const listaduo<org>& objects);
  // Copies the box, the end positions and the centre of object `index` of
  // the layout, and in a shared step its contact side and energy. Any
  // thread, each object by one. An object that no longer fits the layout
  // (its ends came or went) is left out and marks the copy incomplete.
  void copyShape(int index, const org& o);
  // Copies the energy of object `index`; once every object's is in, the
  // serial code marks them fresh.
  void copyEnergy(int index, const org& o) {
    const std::size_t i = static_cast<std::size_t>(index);
    if (i < energies_.size()) storeForReaders(energies_[i], o.energy, shared_);
  }
  // Whether the step is shared between threads: the copies then keep lines
  // that did not change as they are (see store_if_changed.h).
  void setShared(bool shared) { shared_ = shared; }
  // True when the layout still fits `objects` (no object or end came or went
  // since it was made).
  bool fits(const listaduo<org>& objects) const;
  // The same, known without a look at any object, once copyShape has been
  // called for every object of `objects` since layout(): the serial phase
  // then need not pull every object's line over from the thread that copied it.
  bool copiedAll(const listaduo<org>& objects) const {
    return static_cast<std::size_t>(objects.size()) == boxes_.size() && !misfit_.load(std::memory_order_relaxed);
  }

  std::span<const WorldBox> boxes() const { return boxes_; }
  // Asks for the lines of every end position, for a thread about to read
  // many of them that other threads copied: fetched together rather than
  // one miss after another.
  void prefetchPositions() const {
    const char* const from = reinterpret_cast<const char*>(positions_.data());
    const char* const to = from + positions_.size() * sizeof(Vec3);
    for (const char* line = from; line < to; line += kCacheLineBytes) __builtin_prefetch(line, 0);
  }
  // The objects of the layout, by index, as addresses that name them.
  std::span<const void* const> owners() const { return owners_; }
  // The positions of object `index`'s ends, in list order.
  const Vec3* positions(int index) const { return positions_.data() + first_[static_cast<std::size_t>(index)]; }
  // The ends of object `index` themselves, as copied with the positions.
  ses* const* ends(int index) const { return ends_.data() + first_[static_cast<std::size_t>(index)]; }
  // Where object `index`'s ends start among all the layout's ends.
  int firstEnd(int index) const { return first_[static_cast<std::size_t>(index)]; }
  int endTotal() const { return static_cast<int>(positions_.size()); }
  // Object `index`'s contact side and energy as copyShape found them, in a
  // shared step: what the ranges applying the contacts read of each other's
  // objects while those move.
  int contactSide(int index) const { return contactSides_[static_cast<std::size_t>(index)]; }
  double contactEnergy(int index) const { return contactEnergies_[static_cast<std::size_t>(index)]; }
  // How many ends object `index` had when the layout was made.
  int endCount(int index) const {
    return first_[static_cast<std::size_t>(index) + 1] - first_[static_cast<std::size_t>(index)];
  }

  // The centres and energies, valid while energiesFresh(): from the motion
  // phase until anything else may have changed an object or the lists.
  std::span<const Vec3> centers() const { return centers_; }
  std::span<const double> energies() const { return energies_; }
  bool energiesFresh() const { return energiesFresh_; }
  void setEnergiesFresh(bool fresh) { energiesFresh_ = fresh; }

 private:
  std::vector<WorldBox> boxes_;
  std::vector<const void*> owners_;
  std::vector<Vec3> centers_;
  std::vector<double> energies_;
  std::vector<std::int16_t> contactSides_;
  std::vector<double> contactEnergies_;
  // Where each object's ends start in positions_; one more entry for the end.
  std::vector<int> first_;
  std::vector<Vec3> positions_;
  std::vector<ses*> ends_;
  bool energiesFresh_ = false;
  bool shared_ = false;
  // Set by a copyShape that left its object out; any thread may set it, and
  // it is read once the phase's threads are joined.
  std::atomic<bool> misfit_{false};
};

}  // namespace vorlund
