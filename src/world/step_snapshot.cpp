#include "world/step_snapshot.h"

#include "world/store_if_changed.h"

namespace vorlund {

namespace {
// Room reserved up front for a crowded world.
constexpr std::size_t kReservedObjects = 256;
constexpr std::size_t kReservedEnds = 4096;
}  // namespace

StepSnapshot::StepSnapshot() {
  boxes_.reserve(kReservedObjects);
  contactSides_.reserve(kReservedObjects);
  contactEnergies_.reserve(kReservedObjects);
  first_.reserve(kReservedObjects + 1);
  positions_.reserve(kReservedEnds);
}

void StepSnapshot::layout(const listaduo<org>& objects) {
  const int count = objects.size();
  boxes_.resize(static_cast<std::size_t>(count));
  owners_.resize(static_cast<std::size_t>(count));
  centers_.resize(static_cast<std::size_t>(count));
  energies_.resize(static_cast<std::size_t>(count));
  contactSides_.resize(static_cast<std::size_t>(count));
  contactEnergies_.resize(static_cast<std::size_t>(count));
  energiesFresh_ = false;
  misfit_.store(false, std::memory_order_relaxed);
  first_.resize(static_cast<std::size_t>(count) + 1);
  int ends = 0;
  for (int i = 0; i < count; ++i) {
    const org* const o = objects.get(i);
    first_[static_cast<std::size_t>(i)] = ends;
    owners_[static_cast<std::size_t>(i)] = o;
    ends += o->sesCount();
  }
  first_[static_cast<std::size_t>(count)] = ends;
  positions_.resize(static_cast<std::size_t>(ends));
  ends_.resize(static_cast<std::size_t>(ends));
}

void StepSnapshot::renewLayout(const listaduo<org>& objects) {
  const int count = objects.size();
  bool same = static_cast<std::size_t>(count) == owners_.size();
  for (int i = 0; same && i < count; ++i) same = owners_[static_cast<std::size_t>(i)] == objects.get(i);
  if (!same) {
    layout(objects);
    return;
  }
  energiesFresh_ = false;
  misfit_.store(false, std::memory_order_relaxed);
}

void StepSnapshot::copyShape(int index, const org& o) {
  const std::size_t i = static_cast<std::size_t>(index);
  // An object that changed since the layout is left out; the contact phase
  // then lays out and copies everything afresh.
  if (i >= boxes_.size() || first_[i + 1] - first_[i] != o.sesCount()) {
    misfit_.store(true, std::memory_order_relaxed);
    return;
  }
  // Corner by corner: a box made on the stack first is reloaded in halves
  // that straddle its stores, and waits for them.
  storeForReaders(boxes_[i].min, o.bboxMin, shared_);
  storeForReaders(boxes_[i].max, o.bboxMax, shared_);
  storeForReaders(centers_[i], o.center, shared_);
  if (shared_) {
    storeIfChanged(contactSides_[i], static_cast<std::int16_t>(vorlund::contactSide(o)));
    storeIfChanged(contactEnergies_[i], o.energy);
  }
  Vec3* p = positions_.data() + first_[i];
  ses** e = ends_.data() + first_[i];
  for (const auto& s : o.l_ses) {
    storeForReaders(*p++, s->p, shared_);
    storeForReaders(*e++, s.get(), shared_);
  }
}

bool StepSnapshot::fits(const listaduo<org>& objects) const {
  const int count = objects.size();
  if (static_cast<std::size_t>(count) != boxes_.size()) return false;
  for (int i = 0; i < count; ++i)
    if (first_[static_cast<std::size_t>(i) + 1] - first_[static_cast<std::size_t>(i)] != objects.get(i)->sesCount())
      return false;
  return true;
}

}  // namespace vorlund
