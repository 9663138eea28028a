// The broad phase of the contact test: finds the pairs of objects whose
// contact boxes overlap without box-testing every pair, by sorting the boxes
// along x and sweeping. The order of the last call is the starting point of
// the next, so the sort is about one pass while objects move little. The pairs come out as (i, j), i < j, in the order a
// plain double loop over the two-list view would meet them.
#pragma once

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
