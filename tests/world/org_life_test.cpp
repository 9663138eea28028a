#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/random.h"
#include "genepool/listaprz.h"
#include "support/message_capture.h"
#include "world/org.h"
#include "world/org_life.h"
#include "world/sim_settings.h"
#include "world/world_map.h"

namespace vorlund {
namespace {

using test_support::MessageCapture;

// Four sticks in a row: ends 0..4 along x.
constexpr const char* kChain = "/*0*/\np:\np:1\np:2\np:3\np:4\nj:0,1\nj:1,2\nj:2,3\nj:3,4\nneu:0\nneu:3\ninp:1,0,1,-1\n";

struct LifeFixture : ::testing::Test {
  LifeFixture() {
    genetics.settings = &settings;
    w.vars.wrldsiz = 30;
    w.build();
  }
  std::unique_ptr<org> creature(const std::string& text) { return std::make_unique<org>(&genetics, text); }
  SimSettings settings;
  Genetics genetics;
  world w;
};

bool overlapXY(const org& a, const org& b) {
  // The margin of one unit around each box must stay free.
  return a.bboxMin.x - PLACE_MARGIN < b.bboxMax.x + PLACE_MARGIN &&
         a.bboxMax.x + PLACE_MARGIN > b.bboxMin.x - PLACE_MARGIN &&
         a.bboxMin.y - PLACE_MARGIN < b.bboxMax.y + PLACE_MARGIN &&
         a.bboxMax.y + PLACE_MARGIN > b.bboxMin.y - PLACE_MARGIN;
}

TEST_F(LifeFixture, Restart_PlacesCreaturesApartWhenThereIsRoom) {
  seedRandom(12345);
  MessageCapture log;
  std::vector<std::unique_ptr<org>> living;
  std::vector<org*> others;
  int started = 0;
  const OrgHook hook{[](void* arg, org*) { ++*static_cast<int*>(arg); }, &started};
  for (int i = 0; i < 6; ++i) {
    living.push_back(creature("/*0*/\np:\np:1\np:1,1\nj:0,1\nj:1,2"));
    EXPECT_EQ(restart(*living.back(), w, others, std::span<const OrgHook>(&hook, 1)), ORG_BUILD_OK);
    others.push_back(living.back().get());
  }
  EXPECT_EQ(started, 6);
  EXPECT_EQ(log.entries.size(), 0u);
  for (std::size_t i = 0; i < living.size(); ++i) {
    const org& a = *living[i];
    EXPECT_GE(a.bboxMin.x, 1.0 - 1e-9);
    EXPECT_LE(a.bboxMax.x, w.activeSize() - 1.0 + 1e-9);
    // Flat ground: the first free probe is 0.5, the body starts one unit above it.
    EXPECT_NEAR(a.bboxMin.z, 1.5, 1e-9);
    for (std::size_t j = i + 1; j < living.size(); ++j) EXPECT_FALSE(overlapXY(a, *living[j])) << i << " " << j;
  }
}

TEST_F(LifeFixture, Restart_ReportsWhenNoFreePlaceIsLeftAndCentresCreatureTooBig) {
  seedRandom(7);
  MessageCapture log;
  w.vars.wrldsiz = 10;
  w.build();
  auto blocker = creature("/*0*/\np:\np:7\nj:0,1");
  restart(*blocker, w, {}, {});
  auto late = creature("/*0*/\np:\np:7\nj:0,1");
  std::vector<org*> others{blocker.get()};
  restart(*late, w, others, {});
  EXPECT_EQ(log.count("Couldn't place the creature properly. Try to increase 'World Size' or decrease 'MaxCreated'."),
            1);
  // A creature too big for the world is centred.
  auto big = creature("/*0*/\np:\np:20\nj:0,1");
  restart(*big, w, {}, {});
  EXPECT_EQ(log.count("Creature is too big. You should increase 'World Size'."), 1);
  const double cx = (big->bboxMin.x + big->bboxMax.x) / 2, cy = (big->bboxMin.y + big->bboxMax.y) / 2;
  EXPECT_NEAR(cx, 5.0, 1e-9);
  EXPECT_NEAR(cy, 5.0, 1e-9);
}

TEST_F(LifeFixture, Restart_SetsMeasuringFlagsAndStartsNeuronsInRange) {
  seedRandom(3);
  settings.enablestats = STATS_ON_CREATION;
  settings.grow = 2;
  auto o = creature(kChain);
  o->wiek = 99;
  o->lifespan = 5;
  restart(*o, w, {}, {});
  EXPECT_EQ(o->flags, ORG_STATS | ORG_GROWING);
  EXPECT_EQ(o->wiek, 0);
  EXPECT_EQ(o->lifespan, 0);
  EXPECT_DOUBLE_EQ(o->energy, 2);
  EXPECT_EQ(o->center, o->meanPosition());
  for (const auto& n : o->l_neu) {
    EXPECT_GE(n->stan, -0.5);
    EXPECT_LT(n->stan, 0.5);
    EXPECT_EQ(n->stan, n->sstan);
    EXPECT_EQ(n->vel, 0);
  }
  settings.enablestats = STATS_ON_FREEZING;
  settings.grow = 0;
  restart(*o, w, {}, {});
  EXPECT_EQ(o->flags, ORG_WAITSTILL);
  // The turn keeps the stick lengths.
  EXPECT_NEAR((o->getSes(4)->p - o->getSes(0)->p).length(), 4.0, 1e-9);
}

TEST_F(LifeFixture, Split_SurvivorKeepsMoreThanHalfTheSticks) {
  auto a = creature(kChain);
  a->Build();
  a->energy = 50;
  SplitResult r = Split(*a, a->getEst(3), nullptr);
  ASSERT_TRUE(r.part);
  EXPECT_EQ(r.survivor, a.get());
  EXPECT_EQ(a->estCount(), 3);
  EXPECT_EQ(a->sesCount(), 4);
  EXPECT_EQ(r.part->sesCount(), 1);
  EXPECT_EQ(r.part->typ, ORG_FOOD);
  EXPECT_EQ(a->typ, ORG_CREATURE);
  // The neuron on the broken stick went with it, and the input reading it too.
  ASSERT_EQ(a->neuroCount(), 1);
  EXPECT_EQ(a->getNeuro(0)->inputCount(), 0);
  EXPECT_DOUBLE_EQ(a->energy, 40);
  EXPECT_DOUBLE_EQ(r.part->energy, 10);
}

TEST_F(LifeFixture, Split_WithoutSurvivorBothBecomeFoodAndPerformanceIsFoldedOnce) {
  listaprz pool(&genetics);
  auto a = creature(kChain);
  a->Build();
  a->lifespan = 12;
  a->energy = 10;
  int released = 0;
  a->releaseHooks.push_back({[](void* arg) { ++*static_cast<int*>(arg); }, &released});
  SplitResult r = Split(*a, a->getEst(1), &pool);
  ASSERT_TRUE(r.part);
  EXPECT_EQ(released, 1);
  EXPECT_EQ(r.survivor, nullptr);
  EXPECT_EQ(a->estCount(), 1);
  EXPECT_EQ(r.part->estCount(), 2);
  EXPECT_EQ(a->typ, ORG_FOOD);
  EXPECT_EQ(r.part->typ, ORG_FOOD);
  ASSERT_EQ(pool.size(), 1);
  EXPECT_EQ(pool.get(0)->popsiz, 1);
  EXPECT_DOUBLE_EQ(pool.get(0)->lifespan, 12);
  EXPECT_DOUBLE_EQ(a->energy + r.part->energy, 10);
  // Every stick of each part joins ends of that part.
  for (org* part : {a.get(), r.part.get()})
    for (const auto& k : part->l_est) {
      EXPECT_GE(part->l_ses.find(k->e[0]), 0);
      EXPECT_GE(part->l_ses.find(k->e[1]), 0);
    }
  // The neuron on stick 3 moved with it.
  ASSERT_EQ(r.part->neuroCount(), 1);
  EXPECT_EQ(r.part->getNeuro(0)->kto, r.part.get());
}

TEST_F(LifeFixture, Split_MovesThePartDepthFirstInBodyOrder) {
  // A fork at end 1: the branch through ends 2 and 3 goes before the stick to end 4.
  auto a = creature("/*0*/\np:\np:1\np:2\np:3\np:1,1\nj:0,1\nj:1,2\nj:2,3\nj:1,4\n");
  a->Build();
  const std::vector<ses*> ends = {a->getSes(1), a->getSes(2), a->getSes(3), a->getSes(4)};
  const std::vector<est*> sticks = {a->getEst(1), a->getEst(2), a->getEst(3)};
  SplitResult r = Split(*a, a->getEst(0), nullptr);
  ASSERT_TRUE(r.part);
  std::vector<ses*> movedEnds;
  for (const auto& s : r.part->l_ses) movedEnds.push_back(s.get());
  std::vector<est*> movedSticks;
  for (const auto& k : r.part->l_est) movedSticks.push_back(k.get());
  EXPECT_EQ(movedEnds, ends);
  EXPECT_EQ(movedSticks, sticks);
}

TEST_F(LifeFixture, Split_GrowingCreatureNeverSurvivesAndCyclesEnd) {
  auto a = creature("/*0*/\np:\np:1\np:2\nj:0,1\nj:1,2\nj:2,1\n");
  a->flags = ORG_GROWING;
  a->Build();
  SplitResult r = Split(*a, a->getEst(0), nullptr);
  ASSERT_TRUE(r.part);
  EXPECT_EQ(r.survivor, nullptr);
  EXPECT_EQ(a->flags & ORG_GROWING, 0);
  EXPECT_EQ(r.part->sesCount(), 2);
  // A stick that is not in the body splits nothing.
  est stranger;
  EXPECT_FALSE(Split(*a, &stranger, nullptr).part);
}

}  // namespace
}  // namespace vorlund
