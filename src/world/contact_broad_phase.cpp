#include "world/contact_broad_phase.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "world/pair_order.h"

namespace vorlund {

namespace {

// Room reserved up front for the objects and the overlapping pairs of a crowded world.
constexpr std::size_t kReservedObjects = 256;
constexpr std::size_t kReservedPairs = 1024;

}  // namespace

ContactBroadPhase::ContactBroadPhase() {
  extents_.reserve(kReservedObjects);
  columns_.reserve(6 * (kReservedObjects + kSweepPadding));
  bucketEnd_.reserve(kReservedObjects + 1);
  pairs_.reserve(kReservedPairs);
  ordered_.reserve(kReservedPairs);
}

void ContactBroadPhase::find(std::span<const WorldBox> boxes) {
  pairs_.clear();
  if (!sort(boxes)) {
    findAllPairs(boxes);
    return;
  }
  sweep(0, sortedCount(), [this](int first, int second) { pairs_.push_back({first, second}); });
  orderPairs(static_cast<int>(boxes.size()));
}

bool ContactBroadPhase::carryOrderOver(std::span<const WorldBox> boxes, std::span<const void* const> owners) {
  const std::size_t before = owners_.size(), now = owners.size();
  if (extents_.size() != before) return false;  // the last sort stopped half way
  newIndex_.assign(before, -1);
  placed_.assign(now, 0);
  // The lists keep their order as objects go, and add new ones at their
  // ends: one walk over both pairs up the objects still there. A run of
  // changes it cannot follow leaves objects unmatched, which are then taken
  // as gone and new; any start gives the same order, only more slowly.
  std::size_t kept = 0;
  for (std::size_t i = 0, j = 0; i < before && j < now;) {
    if (owners_[i] == owners[j]) {
      newIndex_[i++] = static_cast<int>(j);
      placed_[j++] = 1;
      ++kept;
    } else if (i + 1 < before && owners_[i + 1] == owners[j]) {
      ++i;
    } else {
      ++j;
    }
  }
  if (now - kept > kMostCarriedNew) return false;
  std::size_t k = 0;
  for (const Extent& e : extents_) {
    const int index = newIndex_[static_cast<std::size_t>(e.index)];
    if (index >= 0) extents_[k++] = {e.box, index};
  }
  extents_.resize(k);
  for (std::size_t j = 0; j < now; ++j)
    if (!placed_[j]) extents_.push_back({boxes[j], static_cast<int>(j)});
  return true;
}

bool ContactBroadPhase::sort(std::span<const WorldBox> boxes, std::span<const void* const> owners) {
  const int count = static_cast<int>(boxes.size());
  const auto before = [](const Extent& a, const Extent& b) {
    return a.box.min.x != b.box.min.x ? a.box.min.x < b.box.min.x : a.index < b.index;
  };
  // A box that is not a number overlaps nothing, but it cannot be sorted either.
  const auto sortable = [](const WorldBox& box) { return !std::isnan(box.min.x) && !std::isnan(box.max.x); };
  // The same objects: the last order still holds every index once. Objects
  // that came or went (a ball eaten or added, every few steps in a crowd)
  // are carried over when their owners are known; otherwise the indices
  // after the change name other objects and the order starts afresh.
  bool carried = extents_.size() == static_cast<std::size_t>(count);
  if (!owners.empty()) {
    carried = carried && std::equal(owners.begin(), owners.end(), owners_.begin(), owners_.end());
    if (!carried) carried = carryOrderOver(boxes, owners);
    owners_.assign(owners.begin(), owners.end());
  } else {
    owners_.clear();  // the order no longer follows the last owners
  }
  if (!carried) {
    extents_.clear();
    for (int i = 0; i < count; ++i) {
      if (!sortable(boxes[static_cast<std::size_t>(i)])) return false;
      extents_.push_back({boxes[static_cast<std::size_t>(i)], i});
    }
    // Unsorted, an insertion sort would cost n * n / 4 moves.
    std::sort(extents_.begin(), extents_.end(), before);
    fillColumns();
    return true;
  }
  // Each box is brought up to date where it lies, then moved back among the
  // ones before it: an insertion sort, next to no work on the nearly sorted
  // order of the last step. Any starting order gives the one order of `before`.
  for (std::size_t i = 0; i < extents_.size(); ++i) {
    Extent& slot = extents_[i];
    const WorldBox& box = boxes[static_cast<std::size_t>(slot.index)];
    if (!sortable(box)) return false;
    slot.box = box;
    if (i == 0 || !before(slot, extents_[i - 1])) continue;
    const Extent e = slot;
    std::size_t j = i;
    for (; j > 0 && before(e, extents_[j - 1]); --j) extents_[j] = extents_[j - 1];
    extents_[j] = e;
  }
  fillColumns();
  return true;
}

void ContactBroadPhase::fillColumns() {
  columnsFilled_ = stepLanes() != nullptr && extents_.size() >= kLeastBoxesForLanes;
  if (!columnsFilled_) return;
  const std::size_t rows = extents_.size() + kSweepPadding;
  columns_.resize(6 * rows);
  double* const c = columns_.data();
  for (std::size_t i = 0; i < extents_.size(); ++i) {
    const WorldBox& box = extents_[i].box;
    c[i] = box.min.x;
    c[rows + i] = box.max.x;
    c[2 * rows + i] = box.min.y;
    c[3 * rows + i] = box.max.y;
    c[4 * rows + i] = box.min.z;
    c[5 * rows + i] = box.max.z;
  }
  // Padding starts past every box, which ends the lanes' sweep there.
  for (std::size_t i = extents_.size(); i < rows; ++i)
    for (std::size_t column = 0; column < 6; ++column) c[column * rows + i] = std::numeric_limits<double>::infinity();
}

SweepColumns ContactBroadPhase::columns() const {
  const std::size_t rows = extents_.size() + kSweepPadding;
  const double* const c = columns_.data();
  return {c, c + rows, c + 2 * rows, c + 3 * rows, c + 4 * rows, c + 5 * rows, static_cast<int>(extents_.size())};
}

void ContactBroadPhase::orderPairs(int count) { orderByPair(pairs_, ordered_, bucketEnd_, count); }

void ContactBroadPhase::findAllPairs(std::span<const WorldBox> boxes) {
  pairs_.clear();
  const int count = static_cast<int>(boxes.size());
  for (int i = 0; i < count; ++i)
    for (int j = i + 1; j < count; ++j)
      if (boxesOverlap(boxes[static_cast<std::size_t>(i)], boxes[static_cast<std::size_t>(j)])) pairs_.push_back({i, j});
}

}  // namespace vorlund
