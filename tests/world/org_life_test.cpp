// A creature's body and life: reading and writing format 0, building, its start
// in the world, growth, metabolism, measured performance, splitting and death.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "core/random.h"
#include "genepool/listaprz.h"
#include "life_test_support.h"
#include "support/message_capture.h"
#include "world/energy.h"
#include "world/format0.h"
#include "world/org.h"
#include "world/org_life.h"
#include "world/sim_settings.h"
#include "world/world_map.h"

namespace vorlund {
namespace {

using test_support::MessageCapture;

constexpr const char* kOneStick = "/*0*/\np:\np:1\nj:0, 1";

std::string f0(const std::string& body) { return "/*0*/\n" + body; }

TEST(Format0, ReadsDefaultsOfTwoEndsAndOneStick) {
  org o(nullptr, kOneStick);
  ASSERT_EQ(o.Build(), ORG_BUILD_OK);
  ASSERT_EQ(o.sesCount(), 2);
  ASSERT_EQ(o.estCount(), 1);
  EXPECT_EQ(o.getSes(0)->p, Vec3(0, 0, 0));
  EXPECT_EQ(o.getSes(1)->p, Vec3(1, 0, 0));
  const est* k = o.getEst(0);
  EXPECT_EQ(k->e[0], o.getSes(0));
  EXPECT_EQ(k->e[1], o.getSes(1));
  EXPECT_EQ(o.getSes(1)->owner, k);
  EXPECT_EQ(o.getSes(0)->owner, nullptr);
  EXPECT_DOUBLE_EQ(k->len, 1.0);
  EXPECT_EQ(k->rest0, Vec3(1, 0, 0));
  EXPECT_EQ(o.sticks0, 1);
}

TEST(Format0, SkipsForeignLinesAndReadsBlanksAfterPrefixAndNamedKeys) {
  org o(nullptr, f0("# comment\nx:1\np: 1, 2, 3\n p:7\np:vol=5, m=2\nj:0,1,mz=0.5\n"));
  o.Build();
  ASSERT_EQ(o.sesCount(), 2);  // " p:7" does not start at the line start
  EXPECT_EQ(o.getSes(0)->p, Vec3(1, 2, 3));
  EXPECT_DOUBLE_EQ(o.getSes(1)->v.x, 5.0);
  EXPECT_DOUBLE_EQ(o.getSes(1)->m, 2.0);
  ASSERT_EQ(o.estCount(), 1);
  EXPECT_DOUBLE_EQ(o.getEst(0)->zakz, 0.5);
  EXPECT_DOUBLE_EQ(o.getEst(0)->ruch, 0.25);
}

TEST(Format0, CorrectsInputNamingNeuronOutsideTheList) {
  MessageCapture log;
  org o(nullptr, f0("p:\np:1\nj:0,1\nneu:0\ninp:0, 0, 1, 5\ninp:0, 2, 0.5\n"));
  o.Build();
  ASSERT_EQ(o.neuroCount(), 1);
  neuro* n = o.getNeuro(0);
  EXPECT_EQ(n->place, o.getEst(0));
  EXPECT_EQ(n->kto, &o);
  ASSERT_EQ(n->inputCount(), 2);
  EXPECT_EQ(log.count("illegal neuron input (corrected)"), 1);
  EXPECT_EQ(n->input(0)->conn, 0);
  EXPECT_EQ(n->input(0)->srcNeuron, n);
  // A receptor reads the neuron's stick.
  EXPECT_EQ(n->input(1)->typ, WEJ_TOUCH);
  EXPECT_EQ(n->input(1)->srcStick, o.getEst(0));
  EXPECT_DOUBLE_EQ(n->input(1)->w, 0.5);
}

TEST(Format0, RejectsRecordsNamingMissingElementsAndReadsTheRest) {
  MessageCapture log;
  org o(nullptr, "/*0*/\n"
        "p:\np:1\n"
        "j:0, 2\n"     // no stick end 2
        "j:1, 1\n"     // both ends the same: a stick of no length
        "j:0\n"        // no second end
        "j:s2=1\n"     // no first end
        "j:-1, 1\n"
        "j:1, 0\n"     // the one good stick
        "neu:3\n"      // no stick 3
        "neu:\n"       // no stick at all
        "neu:5\n"      // the good neuron, on the good stick (records count as written)
        "inp:1\n"      // no neuron 1
        "inp:w=2\n"    // no neuron at all
        "inp:2, 1\n"  // the good input, of the good neuron
        "p:x=inf\np:m=1e999\n"  // refused stick ends 2 and 3...
        "j:3, 0\n");  // ...so no stick reaches one
  EXPECT_EQ(o.Build(), ORG_BUILD_OK);
  EXPECT_EQ(o.sesCount(), 2);
  ASSERT_EQ(o.estCount(), 2);
  EXPECT_EQ(o.getEst(0)->e[0], o.getSes(1));
  EXPECT_EQ(o.getEst(0)->e[1], o.getSes(1));
  EXPECT_EQ(o.getEst(0)->len, 0.0);
  EXPECT_EQ(o.getEst(1)->e[0], o.getSes(1));
  ASSERT_EQ(o.neuroCount(), 1);
  EXPECT_EQ(o.getNeuro(0)->place, o.getEst(1));
  EXPECT_EQ(o.getNeuro(0)->inputCount(), 1);
  EXPECT_EQ(log.countContaining("ignored"), 11);
  for (const auto& e : log.entries) EXPECT_EQ(e.level, LOG_WARNING);
  // Warnings name each record by its own number among its kind, as written.
  for (const char* named : {"stick 0 from stick end 0 to 2", "stick 2 from stick end 0 to -1", "neuron 1 on stick -1",
                            "input 1 of neuron -1", "stick end 2 ignored", "stick end 3 ignored",
                            "stick 6 from stick end 3 to 0"})
    EXPECT_EQ(log.countContaining(named), 1) << named;
  EXPECT_DOUBLE_EQ(o.energyWeight, 2.0);
}

TEST(Format0, WritesAgainstDefaultElementsAndEmptyBodyAsNothing) {
  org o(nullptr, kOneStick);
  o.Build();
  EXPECT_EQ(writeFormat0(o), "\np:\np:1\nj:0, 1\n");

  org rich(nullptr, f0("p:\np:1, 2, fr=0.1\nj:0, 1, m=0.5\nneu:0, 1\ninp:0, 1, 2\ninp:0, conn=0\n"));
  rich.Build();
  const std::string text = writeFormat0(rich);
  EXPECT_EQ(text, "\np:\np:1, 2, fr=0.1\nj:0, 1, 0.5\nneu:0, 1\ninp:0, 1, 2\ninp:0\n");
  // What is written reads back into the same body.
  org again(nullptr, f0(text));
  again.Build();
  EXPECT_EQ(writeFormat0(again), text);

  // An empty body (written as nothing, see converters_test) has a zero box and centre.
  org empty(nullptr, "/*0*/\n");
  empty.Build();
  empty.bboxMin = empty.bboxMax = Vec3(5, 5, 5);
  empty.computeBoundingBox();
  EXPECT_EQ(empty.bboxMin, kZeroVec);
  EXPECT_EQ(empty.bboxMax, kZeroVec);
  EXPECT_EQ(empty.meanPosition(), kZeroVec);
}

TEST(PositionMap, MarksRecordsFillsGapsAndRejectsOverflow) {
  MessageCapture log;
  const std::string text = "/*0*/\np:\np:1\nj:0, 1\np:D=999\n";
  org o(nullptr, text);
  o.allocatePositionMap();
  o.Build();
  ASSERT_EQ(o.posMap.size(), text.size() + 1);
  EXPECT_EQ(log.count("debuginfo overflow"), 1);
  const std::size_t firstP = text.find("p:");
  const std::size_t stick = text.find("j:");
  EXPECT_EQ(o.posMap[0], 0);  // before the first record nothing is known
  EXPECT_EQ(o.posMap[firstP], POSMAP_SES + 1);
  EXPECT_EQ(o.posMap[firstP + 1], POSMAP_SES + 1);
  EXPECT_EQ(o.posMap[stick], POSMAP_EST + 0);
  EXPECT_EQ(o.posMap[text.size()], POSMAP_EST + 0);
}

TEST(OrgBuild, BallHasOneEndAndBallEnergyGrowingCreatureStartsOnGrowingEnergy) {
  SimSettings settings;
  settings.feede0 = 33;
  Genetics g{nullptr, &settings, nullptr};
  org ball(&g, "*");
  EXPECT_EQ(ball.Build(), ORG_BUILD_OK);
  EXPECT_EQ(ball.typ, ORG_FOOD);
  ASSERT_EQ(ball.sesCount(), 1);
  EXPECT_DOUBLE_EQ(ball.getSes(0)->wchl, 0.25);
  EXPECT_DOUBLE_EQ(ball.energy, 33);
  EXPECT_DOUBLE_EQ(ball.energyWeight, 33);

  settings.grow = 3;
  org o(&g, f0("p:\np:1\np:2\nj:0,1\nj:1,2"));
  o.flags = ORG_GROWING;
  o.Build();
  EXPECT_DOUBLE_EQ(o.startEnergy, 200);
  EXPECT_DOUBLE_EQ(o.energy, 3);
  EXPECT_DOUBLE_EQ(o.grownEnergy, 3);
}

TEST(OrgBuild, ClearCallsReleaseHooksOnceAndEmptiesTheBody) {
  org o(nullptr, kOneStick);
  o.Build();
  int calls = 0;
  o.releaseHooks.push_back({[](void* arg) { ++*static_cast<int*>(arg); }, &calls});
  o.releaseHooks.push_back({[](void* arg) { EXPECT_EQ(arg, nullptr); }, nullptr});
  o.Clear();
  o.Clear();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(o.sesCount(), 0);
  EXPECT_EQ(o.estCount(), 0);
}

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

using testing_life::onOneAndTwoThreads;
using testing_life::World;

const char* kFourSticks = "p:\np:1\np:2\np:3\np:4\nj:0,1\nj:1,2\nj:2,3\nj:3,4";

TEST(Energy, GrowingCreatureIsFullGrownOnSchedule) {
  World w;
  w.rules.grow = 10;
  w.rules.e_meta = 1;
  org* c = w.creature("p:\np:1\nj:0,1", {10, 10, 30}, ORG_GROWING | ORG_STATS);
  for (int step = 1; step <= 8; ++step) w.life.go();
  EXPECT_TRUE(c->flags & ORG_GROWING);
  EXPECT_DOUBLE_EQ(c->energy, 90);
  EXPECT_NEAR(c->getEst(0)->rest.x, 0.9, 1e-12);
  // Growing creatures neither age nor pay metabolism.
  EXPECT_EQ(c->wiek, 0);
  w.life.go();
  EXPECT_FALSE(c->flags & ORG_GROWING);
  EXPECT_DOUBLE_EQ(c->energy, 100);
  EXPECT_DOUBLE_EQ(c->getEst(0)->rest.x, 1.0);
  EXPECT_EQ(c->prevCenter, c->center);
  // From now on it lives on its energy.
  w.life.go();
  EXPECT_EQ(c->wiek, 1);
  EXPECT_DOUBLE_EQ(c->energy, 100 - 0.01);

  // Without starting energy the sticks still grow to a finite full length.
  World empty;
  empty.rules.grow = 1;
  empty.rules.Energy0 = 0;
  org* e = empty.creature("p:\np:1\nj:0,1", {10, 10, 30}, ORG_GROWING);
  empty.life.go();
  EXPECT_FALSE(e->flags & ORG_GROWING);
  EXPECT_EQ(e->getEst(0)->rest, Vec3(1, 0, 0));
}

TEST(Energy, IdleMetabolismPerStickAtLeastOneWithAndWithoutAging) {
  World w;
  w.rules.e_meta = 1;
  org* c = w.creature(kFourSticks, {10, 10, 30});
  org* ball = w.ball({30, 30, 30}, 10);
  const double start = c->energy;
  for (int i = 0; i < 100; ++i) w.life.go();
  EXPECT_NEAR(c->energy, start - 4, 1e-9);
  EXPECT_DOUBLE_EQ(ball->energy_m, 0.01);  // an object without sticks pays for one
  EXPECT_EQ(c->wiek, 100);
  EXPECT_EQ(c->lifespan, 100);

  // Aging doubles the cost every 1000 x aging steps of age.
  SimSettings s;
  s.e_meta = 1;
  s.aging = 1;
  for (auto [age, factor] : {std::pair{0, 1.0}, {1000, 2.0}, {2000, 4.0}}) {
    c->lifespan = c->wiek = age;
    c->energy_m = 0;
    metabolismAndAge(*c, s);
    EXPECT_NEAR(c->energy_m, factor * 4 * 0.01, 1e-9) << "age " << age;
    EXPECT_EQ(c->wiek, age + 1);
  }
  // A huge age does not overflow into an infinite cost.
  c->lifespan = 1e9;
  c->energy_m = 0;
  metabolismAndAge(*c, s);
  EXPECT_TRUE(std::isfinite(c->energy_m));
}

TEST(Energy, MeasurementCountsEveryPeriodAndWholeVerticalUnits) {
  SimSettings s;
  s.testvel = 4;
  World w;
  org* c = w.creature("p:", {0, 0, 0});
  c->center = c->prevCenter = Vec3(0, 0, 10);
  double sumZ = 0;
  for (int step = 1; step <= 16; ++step) {
    c->wiek = step;
    c->center = Vec3(3.0 * step / 16, 4.0 * step / 16, 10 - 2.5 * step / 16);
    sumZ += c->center.z;
    const bool period = measurePerformance(*c, s);
    EXPECT_EQ(period, step == 16);
    if (step == 15) {
      EXPECT_EQ(c->distance, 0);
    }
  }
  EXPECT_EQ(c->drogawiek, 16);
  EXPECT_NEAR(c->distance, 5, 1e-12);
  EXPECT_NEAR(c->velocity, 5.0 / 16, 1e-12);
  EXPECT_NEAR(c->c_velocity, 5.0 / 16, 1e-12);
  EXPECT_EQ(c->sumVZ, 2);  // sank 2.5: counts 2
  EXPECT_EQ(c->vertvel, 2.0 / 16);
  EXPECT_EQ(c->lastVZ, 0);  // 2 / 16 in whole numbers
  EXPECT_EQ(c->prevCenter, c->center);

  // Sinking 0.9 per period is no vertical movement at all.
  for (int step = 17; step <= 32; ++step) {
    c->wiek = step;
    c->center.z -= 0.9 / 16;
    sumZ += c->center.z;
    measurePerformance(*c, s);
  }
  EXPECT_EQ(c->sumVZ, 2);
  // The vertical position averages over the whole age.
  EXPECT_NEAR(c->vertpos, sumZ / 32, 1e-9);
}

TEST(Energy, MeasuringStartsAsEnablestatsSays) {
  SimSettings s;
  s.testvel = 2;
  World w;
  org* c = w.creature("p:", {0, 0, 0});
  // Freezing: a creature that keeps moving is never measured.
  c->flags = ORG_WAITSTILL;
  for (int step = 1; step <= 40; ++step) {
    c->wiek = step;
    c->center.x += 0.01;
    measurePerformance(*c, s);
  }
  EXPECT_EQ(c->flags, ORG_WAITSTILL);
  EXPECT_EQ(c->drogawiek, 0);
  // Once it stands still it is measured from the next period on.
  c->wiek = 44;
  measurePerformance(*c, s);
  EXPECT_EQ(c->flags, ORG_STATS);
  // First move up: a period that sinks does not start it, one that rises does.
  c->flags = 0;
  c->wiek = 48;
  c->center.z -= 1;
  measurePerformance(*c, s);
  EXPECT_EQ(c->flags, 0);
  c->wiek = 52;
  c->center.z += 0.5;
  measurePerformance(*c, s);
  EXPECT_EQ(c->flags, ORG_STATS);
}

TEST(Energy, AssimilationDependsOnInclinationAndNeedsLength) {
  World w;
  org* level = w.creature("p:\np:1\nj:0,1,as=1");
  org* upright = w.creature("p:\np:z=1\nj:0,1,as=1");
  org* point = w.creature("p:\np:\nj:0,1,as=1");
  EXPECT_DOUBLE_EQ(assimilation(*level->getEst(0), 2), 2 * 0.005);
  EXPECT_DOUBLE_EQ(assimilation(*upright->getEst(0), 2), 2 * 2 * 0.005);
  EXPECT_EQ(assimilation(*point->getEst(0), 2), 0);
}

TEST(Energy, ZeroLengthStickStaysFiniteInWater) {
  World w;
  w.rules.sun = 1;
  w.life.world.vars.wrldwat = 20;
  org* c = w.creature("p:\np:\nj:0,1", {10, 10, 5});
  c->getSes(0)->v = {0.1, 0.2, 0};
  for (int i = 0; i < 50; ++i) w.life.go();
  EXPECT_TRUE(std::isfinite(c->energy));
  for (const auto& s : c->l_ses) {
    EXPECT_TRUE(testing_life::finite(s->p));
    EXPECT_TRUE(testing_life::finite(s->v));
  }
}

TEST(Energy, DeathLeavesRemainsOnlyWithCorpseEnergyAndOnlyUnderAutoKill) {
  for (double corpsen : {0.0, 5.0}) {
    World w;
    w.rules.AutoKill = 1;
    w.rules.corpsen = corpsen;
    org* c = w.creature("p:\np:1\np:2\np:3\nj:0,1\nj:1,2\nj:2,3", {10, 10, 30}, ORG_STATS, "dying");
    c->energy = -1;
    w.life.go();
    EXPECT_EQ(w.life.creatures.size(), 0);
    ASSERT_EQ(w.pool.size(), 1);
    EXPECT_EQ(w.pool.get(0)->popsiz, 1);
    EXPECT_EQ(w.pool.get(0)->lifespan, 1);
    if (corpsen == 0) {
      EXPECT_EQ(w.life.food.size(), 0);
    } else {
      ASSERT_EQ(w.life.food.size(), 1);
      const org* remains = w.life.food.get(0);
      EXPECT_EQ(remains->typ, ORG_FOOD);
      EXPECT_DOUBLE_EQ(remains->energy, 15);
      EXPECT_EQ(remains->estCount(), 3);
    }
  }
  // Without AutoKill only food goes.
  World w;
  org* c = w.creature("p:", {10, 10, 30});
  c->energy = -5;
  w.ball({30, 30, 30}, 0);
  w.life.go();
  EXPECT_EQ(w.life.creatures.size(), 1);
  EXPECT_EQ(w.life.food.size(), 0);
  EXPECT_EQ(w.pool.size(), 0);
}

// The motion phase lists the objects it leaves without energy, each range
// its own: all of them go, the creatures first and each kind in list order,
// as when every object is looked at.
TEST(Energy, EveryObjectLeftWithoutEnergyGoesInListOrderOnAnyThreadCount) {
  onOneAndTwoThreads([](World& w) {
    w.rules.AutoKill = 1;
    w.rules.corpsen = 5;
    const org* alive = w.creature("p:\np:1\nj:0,1", {10, 10, 30});
    w.creature("p:\np:1\nj:0,1", {14, 10, 30})->energy = -1;
    w.creature("p:\np:1\np:2\nj:0,1\nj:1,2", {18, 10, 30})->energy = -1;
    w.ball({30, 30, 30}, 0);
    const org* ball = w.ball({40, 30, 30}, 10);
    w.life.go();
    ASSERT_EQ(w.life.creatures.size(), 1);
    EXPECT_EQ(w.life.creatures.get(0), alive);
    ASSERT_EQ(w.life.food.size(), 3);
    EXPECT_EQ(w.life.food.get(0), ball);
    EXPECT_EQ(w.life.food.get(1)->estCount(), 1);  // the remains in the order the creatures died
    EXPECT_EQ(w.life.food.get(2)->estCount(), 2);
  });
}

// The step's death check reads the packed energies of the motion phase only
// while nothing could have changed them: a touch hook that may change objects
// and drains the creature must see it die in the same step.
TEST(Energy, TouchHookThatDrainsACreatureKillsItInTheSameStep) {
  World w;
  w.rules.AutoKill = 1;
  w.creature("p:", {10, 10, -0.1});
  w.life.touchHooks.push_back({[](void*, org* who, ses*) { who->energy = -1; }, nullptr});
  w.life.go();
  EXPECT_EQ(w.life.creatures.size(), 0);
}

}  // namespace
}  // namespace vorlund
