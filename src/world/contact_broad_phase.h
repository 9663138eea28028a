// The broad phase of the contact test: finds the pairs of objects whose
// contact boxes overlap without box-testing every pair, by sorting the boxes
// along x and sweeping. The order of the last call is the starting point of
// the next, so the sort is about one pass while objects move little. The pairs come out as (i, j), i < j, in the order a
// plain double loop over the two-list view would meet them.
#pragma once

#include <algorithm>
#include <span>
#include <vector>

#include "world/box_sweep_avx.h"
#include "world/step_lanes.h"
#include "world/world_map.h"

namespace vorlund {

// Two objects of the two-list view, by index, first < second.
struct ContactPair {
  int first;
  int second;
  friend constexpr bool operator<(const ContactPair& a, const ContactPair& b) {
    return a.first != b.first ? a.first < b.first : a.second < b.second;
  }
};

class ContactBroadPhase {
 public:
  ContactBroadPhase();

  // Collects the overlapping pairs of the boxes of the objects of the
  // two-list view, by index. Storage is kept between calls, so that steady
  // stepping allocates nothing.
  void find(std::span<const WorldBox> boxes);
  // The pairs of the last `find`, valid until the next one.
  std::span<const ContactPair> pairs() const { return pairs_; }

  // The same search in parts, for a sweep split over threads: `sort` orders
  // the boxes along x (false when a box is not a number: nothing may be
  // swept then, and `find` tests every pair), and `sweep` calls
  // meet(first, second) for the overlapping pairs of the sorted boxes
  // [begin, end), in no particular order. Any thread may sweep a range of
  // its own between one sort and the next.
  // `owners`, when given, names the object of each box (any distinct
  // addresses): when objects came or went since the last sort, the ones
  // still there keep their place in the order, under their new index, and
  // the sort stays about one pass instead of starting afresh.
  bool sort(std::span<const WorldBox> boxes, std::span<const void* const> owners = {});
  int sortedCount() const { return static_cast<int>(extents_.size()); }
  template <class Meet>
  void sweep(int begin, int end, Meet meet) const {
    // Boxes overlap only where their x ranges do: each box meets the ones
    // that start before it ends, among those that start no earlier than it.
    // The lanes find the same boxes in the same order, four at a time.
    const std::size_t n = extents_.size();
    const StepLanes* const lanes = columnsFilled_ ? stepLanes() : nullptr;
    const SweepColumns boxes = lanes != nullptr ? columns() : SweepColumns{};
    int later[kSweepRoom];
    for (std::size_t a = static_cast<std::size_t>(begin); a < static_cast<std::size_t>(end); ++a) {
      const Extent& ea = extents_[a];
      // Most boxes of a sparse world end before the next one starts (the
      // padding starts past all): they need no call of the lanes.
      if (lanes != nullptr && !(boxes.minX[a + 1] < boxes.maxX[a])) continue;
      const int found = lanes != nullptr ? lanes->laterOverlaps(boxes, static_cast<int>(a), later, kSweepRoom) : -1;
      if (found >= 0) {
        for (int k = 0; k < found; ++k) {
          const int other = extents_[static_cast<std::size_t>(later[k])].index;
          meet(std::min(ea.index, other), std::max(ea.index, other));
        }
        continue;
      }
      for (std::size_t b = a + 1; b < n && extents_[b].box.min.x < ea.box.max.x; ++b) {
        const Extent& eb = extents_[b];
        if (boxesOverlap(ea.box, eb.box)) meet(std::min(ea.index, eb.index), std::max(ea.index, eb.index));
      }
    }
  }

 private:
  struct Extent {
    WorldBox box;
    int index;
  };
  // Boxes one box may overlap that the lanes hand over at once; more (a
  // crowd heaped in one place) are swept one by one.
  static constexpr int kSweepRoom = 256;
  // Fewer boxes than this are swept one by one: copying them into the
  // lanes' columns costs more than the lanes save (ten walkers spend a
  // fifth less on their contacts without them).
  static constexpr std::size_t kLeastBoxesForLanes = 32;
  // New objects carried into the last order, past which sorting afresh is
  // cheaper: each one may move past every box in the insertion pass.
  static constexpr std::size_t kMostCarriedNew = 8;
  void findAllPairs(std::span<const WorldBox> boxes);
  // Renames the last order's extents to the objects of `owners` and adds the
  // new ones at its end; false (and nothing changed) when too many are new
  // for an insertion pass to place them cheaply.
  bool carryOrderOver(std::span<const WorldBox> boxes, std::span<const void* const> owners);
  // Copies the sorted boxes into columns_ for the lanes.
  void fillColumns();
  SweepColumns columns() const;
  // Puts pairs_ of `count` objects in (first, second) order.
  void orderPairs(int count);

  std::vector<Extent> extents_;
  // The owners of the last sort by index, and carryOrderOver's scratch: the
  // new index of each old one (-1: gone), and which new ones it placed.
  std::vector<const void*> owners_;
  std::vector<int> newIndex_;
  std::vector<char> placed_;
  // The sorted boxes as six columns of extents_.size() + kSweepPadding
  // rows (lower x, upper x, lower y, ...), filled after each sort when the
  // vector path has lanes and there are boxes enough.
  std::vector<double> columns_;
  bool columnsFilled_ = false;
  std::vector<ContactPair> pairs_;
  std::vector<ContactPair> ordered_;    // the other half of orderPairs' swap
  std::vector<std::size_t> bucketEnd_;  // per first index: its bucket's start, its end once filled
};

}  // namespace vorlund
