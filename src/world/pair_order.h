// Puts items of distinct object pairs (fields `first` and `second`, indices
// below `count`) in the order (first, second), without a general sort: they
// are counted into buckets by first index, then an insertion sort moves them
// only inside a bucket, among the few neighbours of one object. A general
// sort of a crowd's hundreds of pairs cost a per cent of its step. The pairs
// are distinct, so any sort gives this order.
#pragma once

#include <cstddef>
#include <vector>

namespace vorlund {

// `scratch` and `bucketEnd` are kept by the caller between calls, so that
// steady stepping allocates nothing; `items` is swapped with `scratch`.
template <class Item>
void orderByPair(std::vector<Item>& items, std::vector<Item>& scratch, std::vector<std::size_t>& bucketEnd,
                 int count) {
  const auto before = [](const Item& a, const Item& b) {
    return a.first != b.first ? a.first < b.first : a.second < b.second;
  };
  bucketEnd.assign(static_cast<std::size_t>(count) + 1, 0);
  for (const Item& p : items) ++bucketEnd[static_cast<std::size_t>(p.first) + 1];
  for (std::size_t i = 1; i < bucketEnd.size(); ++i) bucketEnd[i] += bucketEnd[i - 1];
  scratch.resize(items.size());
  for (const Item& p : items) scratch[bucketEnd[static_cast<std::size_t>(p.first)]++] = p;
  for (std::size_t i = 1; i < scratch.size(); ++i) {
    const Item p = scratch[i];
    std::size_t j = i;
    for (; j > 0 && before(p, scratch[j - 1]); --j) scratch[j] = scratch[j - 1];
    scratch[j] = p;
  }
  items.swap(scratch);
}

}  // namespace vorlund
