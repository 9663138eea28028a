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

// Items are aligned and distinct across chunks; a freed item is the next one
// handed out; another size (a derived type) goes to the heap and back.
TEST(ElementPool, AlignedDistinctItemsAreReusedAndOtherSizesBypassIt) {
  std::vector<void*> items;
  std::set<void*> seen;
  for (std::size_t i = 0; i < Pool::kItemsPerChunk + 3; ++i) {
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

// Two bodies never share a chunk, even when made one right after the other
// with loose items in between; a body's chunk, once all its items are gone,
// is the one the next body starts on.
TEST(ElementPool, EachBodyHasChunksOfItsOwnWhichTheNextBodyReuses) {
  std::vector<void*> first, second;
  {
    const BodyRun run;
    for (std::size_t i = 0; i < Pool::kItemsPerChunk + 2; ++i) first.push_back(Pool::allocate(sizeof(Item)));
  }
  void* loose = Pool::allocate(sizeof(Item));
  {
    const BodyRun run;
    const BodyRun nested;  // a development inside another continues its run
    for (int i = 0; i < 3; ++i) second.push_back(Pool::allocate(sizeof(Item)));
  }
  std::set<ElementChunk*> firstChunks;
  for (void* p : first) {
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % alignof(Item), 0u);
    firstChunks.insert(ElementChunk::of(p));
  }
  EXPECT_EQ(firstChunks.size(), 2u);
  EXPECT_EQ(firstChunks.count(ElementChunk::of(loose)), 0u);
  for (void* p : second) {
    EXPECT_EQ(firstChunks.count(ElementChunk::of(p)), 0u);
    EXPECT_EQ(ElementChunk::of(p), ElementChunk::of(second[0]));
  }
  for (void* p : first) Pool::release(p, sizeof(Item));
  {
    const BodyRun run;
    void* p = Pool::allocate(sizeof(Item));
    EXPECT_TRUE(firstChunks.count(ElementChunk::of(p)) == 1) << "a freed body's chunk is reused";
    Pool::release(p, sizeof(Item));
  }
  for (void* p : second) Pool::release(p, sizeof(Item));
  Pool::release(loose, sizeof(Item));
}

}  // namespace
}  // namespace vorlund
