#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "life_test_support.h"
#include "world/contact_broad_phase.h"

namespace vorlund {
namespace {

using Pairs = std::vector<std::pair<int, int>>;

Pairs everyOverlappingPair(const listaduo<org>& all) {
  Pairs out;
  for (int i = 0; i < all.size(); ++i)
    for (int j = i + 1; j < all.size(); ++j) {
      const org& a = *all.get(i);
      const org& b = *all.get(j);
      if (boxesOverlap({a.bboxMin, a.bboxMax}, {b.bboxMin, b.bboxMax})) out.push_back({i, j});
    }
  return out;
}

Pairs found(const ContactBroadPhase& phase) {
  Pairs out;
  for (const ContactPair& p : phase.pairs()) out.push_back({p.first, p.second});
  return out;
}

TEST(ContactBroadPhase, FindsTheOverlappingPairsOfAPlainDoubleLoopInItsOrder) {
  testing_life::World w;
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> where(0, 12), size(0, 1.5);
  // Whole numbers make boxes that start together or only touch.
  const auto box = [&](org& o) {
    const Vec3 p(std::round(where(rng)), where(rng), where(rng) / 4);
    o.bboxMin = p;
    o.bboxMax = p + Vec3(std::round(size(rng) * 2), size(rng) + 0.1, size(rng) + 0.1);
  };
  for (int i = 0; i < 60; ++i) box(*w.ball({}));
  ContactBroadPhase phase;
  // Boxes that move, then a changed crowd: the order kept from the last call must not matter.
  for (int round = 0; round < 4; ++round) {
    if (round == 3) w.ball({})->bboxMin.x = NAN;
    for (int i = 0; i < w.life.all.size() && round < 3; ++i) box(*w.life.all.get(i));
    phase.find(w.life.all);
    const Pairs expected = everyOverlappingPair(w.life.all);
    EXPECT_EQ(found(phase), expected) << "round " << round;
    if (round == 0) {
      EXPECT_GE(expected.size(), 10u);
    }
  }
}

}  // namespace
}  // namespace vorlund
