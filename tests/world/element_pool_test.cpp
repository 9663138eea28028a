#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include "world/element_pool.h"

namespace vorlund {
namespace {

struct alignas(64) Item {
  double value[5];
};
using Pool = ElementPool<Item, true>;

// Items are aligned and distinct across blocks; a freed item is the next one
// handed out; another size (a derived type) goes to the heap and back.
TEST(ElementPool, AlignedDistinctItemsAreReusedAndOtherSizesBypassIt) {
  std::vector<void*> items;
  std::set<void*> seen;
  for (std::size_t i = 0; i < Pool::kItemsPerBlock + 3; ++i) {
    void* p = Pool::allocate(sizeof(Item));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % alignof(Item), 0u);
    EXPECT_TRUE(seen.insert(p).second);
    items.push_back(p);
  }
  void* freed = items[7];
  Pool::release(freed, sizeof(Item));
  EXPECT_EQ(Pool::allocate(sizeof(Item)), freed);
  void* bigger = Pool::allocate(2 * sizeof(Item));
  EXPECT_EQ(seen.count(bigger), 0u);
  Pool::release(bigger, 2 * sizeof(Item));
  for (void* p : items) Pool::release(p, sizeof(Item));
}

}  // namespace
}  // namespace vorlund
