// The broad phase of the contact test: finds the pairs of objects whose
// contact boxes overlap without box-testing every pair, by sorting the boxes
// along x and sweeping. The order of the last call is the starting point of
// the next, so the sort is about one pass while objects move little. The pairs come out as (i, j), i < j, in the order a
// plain double loop over the two-list view would meet them.
#pragma once

#include <algorithm>
#include <span>
#include <vector>

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
  bool sort(std::span<const WorldBox> boxes);
  int sortedCount() const { return static_cast<int>(extents_.size()); }
  template <class Meet>
  void sweep(int begin, int end, Meet meet) const {
    // Boxes overlap only where their x ranges do: each box meets the ones
    // that start before it ends, among those that start no earlier than it.
    const std::size_t n = extents_.size();
    for (std::size_t a = static_cast<std::size_t>(begin); a < static_cast<std::size_t>(end); ++a) {
      const Extent& ea = extents_[a];
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
  void findAllPairs(std::span<const WorldBox> boxes);
  // Puts pairs_ of `count` objects in (first, second) order.
  void orderPairs(int count);

  std::vector<Extent> extents_;
  std::vector<ContactPair> pairs_;
  std::vector<ContactPair> ordered_;    // the other half of orderPairs' swap
  std::vector<std::size_t> bucketEnd_;  // per first index: its bucket's start, its end once filled
};

}  // namespace vorlund
