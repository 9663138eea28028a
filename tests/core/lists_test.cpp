#include "core/lists.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

namespace vorlund {
namespace {

struct Item {
  int32_t key = 0;
  std::string tag;
};

constexpr ParamTab kItemTab[] = {
    paramHeader("Item", 1, 2, nullptr),
    {"key", 0, "Key", "d", offsetof(Item, key), nullptr},
    {"tag", 0, "Tag", "s", offsetof(Item, tag), nullptr},
    paramEnd(),
};
static_assert(paramTableValid(kItemTab));

TEST(Lista_Cursor, RemovingCurrentElementContinuesWithFollower) {
  lista<int> l;
  int v[5] = {0, 1, 2, 3, 4};
  for (int& x : v) l.append(&x);
  std::vector<int> seen;
  l.setCursor(0);
  while (int* x = l.next()) {
    seen.push_back(*x);
    if (*x == 1) l.remove(x);
    if (*x == 3) l.removeAt(0);
  }
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(l.size(), 3);
  EXPECT_EQ(*l.get(0), 2);
  l.removeAt(7);  // ignored
  EXPECT_EQ(l.size(), 3);
}

TEST(Lista_Insert, MovesCursorAndClampsIndex) {
  lista<int> l;
  int v[4] = {0, 1, 2, 3};
  l.append(&v[0]);
  l.append(&v[1]);
  l.setCursor(1);
  l.insert(0, &v[2]);
  EXPECT_EQ(l.cursor(), 2);
  l.insert(50, &v[3]);
  EXPECT_EQ(l.get(3), &v[3]);
  EXPECT_EQ(l.find(&v[1]), 2);
  EXPECT_EQ(l.find(nullptr), -1);
  EXPECT_EQ(l.get(4), nullptr);  // reads past either end give nothing
  EXPECT_EQ(l.get(-1), nullptr);
}

struct Recorder {
  std::vector<std::string> events;
  static void added(void* self, int i) { static_cast<Recorder*>(self)->events.push_back("add " + std::to_string(i)); }
  static void before(void* self, int i) { static_cast<Recorder*>(self)->events.push_back("pre " + std::to_string(i)); }
  static void removed(void* self, int i) { static_cast<Recorder*>(self)->events.push_back("rem " + std::to_string(i)); }
  static void changed(void* self, int i) { static_cast<Recorder*>(self)->events.push_back("chg " + std::to_string(i)); }
};

TEST(Lista2_Sorted, EqualElementGoesAfterExistingOnesListenersHearItAndTextSortsDescending) {
  Item a{1, "a"}, b{2, "b"}, c{2, "c"}, d{0, "d"};
  param acc(kItemTab, nullptr);
  lista2<Item> l;
  Recorder r;
  l.addedListeners.add(Recorder::added, &r);
  l.changedListeners.add(Recorder::changed, &r);
  l.append(&c);
  l.append(&a);
  l.setSort(&acc, 0, false);
  EXPECT_EQ(l.get(0), &a);
  l.add(&b);  // equal to c: after it
  EXPECT_EQ(l.get(2), &b);
  l.add(&d);
  EXPECT_EQ(l.get(0), &d);
  EXPECT_EQ(r.events, (std::vector<std::string>{"chg -1", "add 2", "add 0"}));
  // Descending by text.
  l.setSort(&acc, 1, true);
  EXPECT_EQ(l.get(0), &d);
  EXPECT_EQ(l.get(3), &a);
}

TEST(Lista2_Changed, ResortsMovedElementOrNotifiesInPlace) {
  Item a{1, "a"}, b{2, "b"}, c{3, "c"};
  param acc(kItemTab, nullptr);
  lista2<Item> l;
  l.setSort(&acc, 0, false);
  l.add(&a);
  l.add(&b);
  l.add(&c);
  Recorder r;
  l.addedListeners.add(Recorder::added, &r);
  l.beforeRemovalListeners.add(Recorder::before, &r);
  l.removedListeners.add(Recorder::removed, &r);
  l.changedListeners.add(Recorder::changed, &r);
  a.key = 5;
  l.changed(0);
  EXPECT_EQ(l.get(2), &a);
  b.key = 2;
  l.changed(0);
  l.changed(-7);
  EXPECT_EQ(r.events, (std::vector<std::string>{"pre 0", "rem 0", "add 2", "chg 0", "chg -1"}));
  r.events.clear();
  l.clear();
  EXPECT_EQ(r.events, (std::vector<std::string>{"pre 2", "rem 2", "pre 1", "rem 1", "pre 0", "rem 0"}));
  EXPECT_EQ(l.capacity(), 0);
}

TEST(Listaduo, AddressesBothListsAndRemovesFromTheHolder) {
  Item a, b, c;
  lista2<Item> first, second;
  first.append(&a);
  second.append(&b);
  second.append(&c);
  listaduo<Item> both(first, second);
  EXPECT_EQ(both.size(), 3);
  EXPECT_EQ(both.get(0), &a);
  EXPECT_EQ(both.get(2), &c);
  EXPECT_EQ(both.find(&c), 2);
  Recorder r;
  second.removedListeners.add(Recorder::removed, &r);
  both.remove(&b);
  EXPECT_EQ(second.size(), 1);
  EXPECT_EQ(r.events, (std::vector<std::string>{"rem 0"}));
  both.remove(&a);
  EXPECT_EQ(first.size(), 0);
}

}  // namespace
}  // namespace vorlund
