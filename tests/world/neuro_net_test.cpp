#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <tuple>
#include <vector>

#include "world/muscle.h"
#include "world/neuro_net.h"
#include "world/org.h"
#include "world/world_senses.h"

namespace vorlund {
namespace {

// A flat ground at z = 0 and a plain list of objects.
class FlatSurroundings : public NeuroSurroundings {
 public:
  bool insideGround(const Vec3& p, Vec3& q) const override {
    q = p;
    if (p.z >= 0) return false;
    q.z = 0;
    return true;
  }
  int objectCount() const override { return static_cast<int>(objects.size()); }
  const org* object(int i) const override { return objects[static_cast<std::size_t>(i)]; }
  std::vector<const org*> objects;
};

// One stick from A to B with neurons added by the test.
struct OneStick {
  OneStick(Vec3 a, Vec3 b) : c(std::make_unique<org>(nullptr, "X")) {
    ses* ea = c->addSes();
    ses* eb = c->addSes();
    ea->p = a;
    eb->p = b;
    k = c->addEst(ea, eb);
  }
  neuro* neuron(std::initializer_list<std::pair<int, double>> inputs) {
    neuro* n = c->addNeuro(k);
    for (auto [typ, w] : inputs) {
      wej* in = n->addInput();
      in->typ = typ;
      in->w = w;
    }
    return n;
  }
  std::unique_ptr<org> c;
  est* k;
};

std::unique_ptr<org> ballAt(Vec3 center, double energy) {
  auto b = std::make_unique<org>(nullptr, "*");
  b->center = center;
  b->energy = energy;
  return b;
}

TEST(NeuroNet, NeuronWithoutInputsDecaysAndSquashes) {
  OneStick s({0, 0, 1}, {1, 0, 1});
  neuro* n = s.neuron({});
  s.c->InitNeuro();
  n->sstan = 0.5;
  FlatSurroundings w;
  updateNetwork(*s.c, w, SimSettings{});
  EXPECT_DOUBLE_EQ(n->nstan, 0.48);
  EXPECT_DOUBLE_EQ(n->sstan, 0.48);
  EXPECT_DOUBLE_EQ(n->stan, 2.0 / (1.0 + std::exp(-0.96)) - 1.0);

  // Far below the cut-off the output is exactly -1; far above it nears 1.
  n->sstan = -10;
  n->si = 4;
  n->vel = 0;
  n->fo = 0;
  updateNetwork(*s.c, w, SimSettings{});
  EXPECT_EQ(n->stan, -1.0);
  n->sstan = 10;
  updateNetwork(*s.c, w, SimSettings{});
  EXPECT_GT(n->stan, 0.999999);
  EXPECT_LT(n->stan, 1.0 + 1e-15);
}

TEST(NeuroNet, EveryNeuronReadsTheOutputsOfThePreviousStep) {
  OneStick s({0, 0, 1}, {1, 0, 1});
  neuro* a = s.neuron({{WEJ_CONSTANT, 1.0}});
  neuro* b = s.neuron({{WEJ_NEURON, 2.0}});
  neuro* self = s.neuron({{WEJ_NEURON, 1.0}});
  b->input(0)->conn = -1;
  s.c->InitNeuro();
  self->stan = 0.3;
  a->stan = 0.25;
  FlatSurroundings w;
  updateNetwork(*s.c, w, SimSettings{});
  // b saw a's old output although a was updated before it.
  EXPECT_DOUBLE_EQ(b->input(0)->val, 0.25);
  EXPECT_DOUBLE_EQ(b->vel, 0.5 * 0.04);
  EXPECT_DOUBLE_EQ(self->input(0)->val, 0.3);
  EXPECT_DOUBLE_EQ(a->input(0)->val, 1.0);
  EXPECT_DOUBLE_EQ(a->nstan, 0.04);
}

TEST(NeuroNet, OldRuleAndStateLimit) {
  OneStick s({0, 0, 1}, {1, 0, 1});
  neuro* n = s.neuron({{WEJ_CONSTANT, 1.0}});
  s.c->InitNeuro();
  n->stan = 0.5;
  n->sstan = 0.4;
  n->vel = 0.1;
  SimSettings old;
  old.oldneurons = 1;
  FlatSurroundings w;
  updateNetwork(*s.c, w, old);
  EXPECT_DOUBLE_EQ(n->vel, 0.1 + 0.2 * (1.0 - 0.5));
  EXPECT_DOUBLE_EQ(n->sstan, 0.5 * 0.4 + 0.2);

  n->input(0)->w = 1e6;
  n->fo = 1;
  updateNetwork(*s.c, w, SimSettings{});
  EXPECT_EQ(n->sstan, 10.0);
  n->input(0)->w = -1e6;
  n->vel = 0;
  updateNetwork(*s.c, w, SimSettings{});
  EXPECT_EQ(n->sstan, -10.0);
}

// A body description's inertia above 1 once was cut to 1 (0.501, 0.901, 0.964).
TEST(NeuroNet, InertiaAndForceAreReadAsWrittenAndTheRateStaysFinite) {
  org o(nullptr, "/*0*/\np:\np:1\nj:0, 1\nneu:0, 0, 1.2, 0.1\ninp:0, 1\n");
  ASSERT_EQ(o.Build(), ORG_BUILD_OK);
  neuro* n = o.getNeuro(0);
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(n->in, 1.2);
  FlatSurroundings w;
  const double outputs[] = {0.559, 0.970, 0.998};  // after steps 3, 6 and 9
  for (double expected : outputs) {
    for (int i = 0; i < 3; ++i) updateNetwork(o, w, SimSettings{});
    EXPECT_NEAR(n->stan, expected, 5e-4);
  }
  // Gains whose products overflow, for and against each other.
  for (double force : {1e300, -1e300}) {
    n->in = 1e300;
    n->fo = force;
    for (int i = 0; i < 20; ++i) updateNetwork(o, w, SimSettings{});
    EXPECT_TRUE(std::isfinite(n->vel));
    EXPECT_LE(std::fabs(n->sstan), 10.0);
    EXPECT_TRUE(std::isfinite(n->stan));
  }
}

TEST(NeuroNet, TouchReadsPressOrGroundDistanceAlongTheStick) {
  FlatSurroundings w;
  OneStick down({0, 0, 1.3}, {0, 0, 0.3});
  neuro* n = down.neuron({{WEJ_TOUCH, 2.0}});
  down.c->InitNeuro();
  // Ground within 1 and 1/2 of a stick length beyond the end, not within 1/4.
  EXPECT_NEAR(inputValue(*n->input(0), *n, w), 2 * -0.6, 1e-12);
  EXPECT_NEAR(n->input(0)->val, -0.6, 1e-12);

  // Far above the ground; in it with all four probes.
  for (const auto& [from, to, touch] :
       {std::tuple(Vec3(0, 0, 5), Vec3(0, 0, 3), -1.0), std::tuple(Vec3(0, 0, 1), Vec3(0, 0, -0.5), -0.2)}) {
    OneStick s(from, to);
    neuro* t = s.neuron({{WEJ_TOUCH, 1.0}});
    s.c->InitNeuro();
    EXPECT_NEAR(inputValue(*t->input(0), *t, w), touch, 1e-12);
  }

  ses* b = down.k->e[1];
  b->contact = 1;
  b->anchor = {0, 0.03, 0.34};
  EXPECT_NEAR(inputValue(*n->input(0), *n, w), 2 * 0.05, 1e-12);
}

TEST(NeuroNet, EquilibriumIsTheStickInclination) {
  FlatSurroundings w;
  OneStick up({0, 0, 2}, {0, 0, 1});
  neuro* n = up.neuron({{WEJ_EQUILIBRIUM, 1.0}});
  up.c->InitNeuro();
  EXPECT_EQ(inputValue(*n->input(0), *n, w), 1.0);
  up.k->e[1]->p = {0, 0, 3};
  EXPECT_EQ(inputValue(*n->input(0), *n, w), -1.0);
  up.k->e[1]->p = {1, 0, 2};
  EXPECT_EQ(inputValue(*n->input(0), *n, w), 0.0);
  // A stick of no length reads level instead of NaN.
  up.k->e[1]->p = up.k->e[0]->p;
  EXPECT_EQ(inputValue(*n->input(0), *n, w), 0.0);
}

TEST(NeuroNet, SmellSumsEnergyOverSquaredDistanceUnweighted) {
  FlatSurroundings w;
  OneStick s({0, 0, 1}, {1, 0, 1});
  neuro* n = s.neuron({{WEJ_SMELL, 5.0}});
  s.c->InitNeuro();
  s.c->energy = 1000;
  s.c->center = {1, 0, 1};
  w.objects.push_back(s.c.get());
  EXPECT_EQ(inputValue(*n->input(0), *n, w), 0.0);  // its own body does not count

  auto nearBall = ballAt({1.5, 0, 1}, 100);  // distance 0.5 counts as 1
  auto farBall = ballAt({1, 2, 1}, 100);     // distance 2
  auto eaten = ballAt({1, 0, 1}, 0);
  w.objects.push_back(nearBall.get());
  w.objects.push_back(farBall.get());
  w.objects.push_back(eaten.get());
  EXPECT_NEAR(inputValue(*n->input(0), *n, w), 1.0 + 0.25, 1e-12);
}

// A neuron on a stick of full muscle power, with the default rules.
struct Muscle : ::testing::Test {
  // One step from `angle` toward `target` under `load`, within -3.141 .. 3.141.
  double move(double angle, double target, double load) {
    return muscleMove(*n, angle, target, load, -3.141, 3.141, set);
  }
  OneStick s{{0, 0, 1}, {1, 0, 1}};
  neuro* n = s.neuron({});
  SimSettings set;  // em_stat 20, em_dyn 20
};

TEST_F(Muscle, AcceleratesToItsTopSpeedWithinItsRange) {
  double angle = 0;
  const double expected[] = {0.01, 0.03, 0.06, 0.10, 0.15, 0.21, 0.28, 0.36, 0.44, 0.52};
  for (double e : expected) {
    angle = move(angle, 3.141, 0);
    EXPECT_NEAR(angle, e, 1e-12);
  }
  EXPECT_EQ(n->overload, 0);
  // Near the highest angle it stops there.
  n->muscleVel = 0.08;
  EXPECT_EQ(move(3.1, 5, 0), 3.141);
  // An angle already outside its range is brought back into it.
  EXPECT_LE(move(4.0, 3.141, 0), 3.141);
}

TEST_F(Muscle, LoadSlowsItSetsOverloadAndCostsWork) {
  // Load of twice the strength (0.025): the goal is pushed past the target.
  const double next = move(0, 0, 0.05);
  EXPECT_EQ(n->overload, NEURO_OVERLOAD);
  EXPECT_NEAR(next, 0.01, 1e-12);
  EXPECT_NEAR(s.c->energy_m, 0.01 * (0.25 * 20), 1e-12);

  // Moving against the force adds dynamic work; a small load clears overload.
  s.c->energy_m = 0;
  n->muscleVel = 0;
  const double back = move(0, -1, 0.01);
  EXPECT_EQ(n->overload, 0);
  EXPECT_NEAR(back, -0.01, 1e-12);
  EXPECT_NEAR(s.c->energy_m, 0.01 * (0.1 * 20 + 12.5 * 0.01 * 0.1 * 20), 1e-12);
  n->muscleVel = 0;
  move(0, 0, -0.03);
  EXPECT_EQ(n->overload, NEURO_OVERLOAD);
}

TEST_F(Muscle, WithoutPowerItDoesNotMove) {
  s.k->ruch = 0;
  const double next = move(0.2, 3.141, 0.5);
  EXPECT_EQ(next, 0.2);
  EXPECT_EQ(n->overload, NEURO_OVERLOAD);
  EXPECT_EQ(s.c->energy_m, 0.0);
  EXPECT_EQ(move(0.2, 3.141, 0), 0.2);
  EXPECT_EQ(n->overload, 0);
  set.oldneurons = 1;
  EXPECT_EQ(move(0.2, 3.141, 0), 0.2);
}

TEST_F(Muscle, OldRuleAimsStraightAtTheTarget) {
  s.k->ruch = 0.5;
  set.oldneurons = 1;
  // Speed 0.04; the load does not move the goal but costs 10 x load.
  const double next = move(0, 1, 0.5);
  EXPECT_NEAR(next, 0.01, 1e-12);
  EXPECT_NEAR(s.c->energy_m, 0.01 * (5 * 20), 1e-12);
  EXPECT_EQ(n->overload, 0);
}

TEST_F(Muscle, DriveTurnsTheJointAndRebuildsTheFrame) {
  neuro* rot = s.neuron({});
  neuro* bend = s.neuron({});
  rot->typster = NEURO_MUSCLE_ROTATE;
  bend->typster = NEURO_MUSCLE_BEND;
  s.k->zakz = 0.5;
  s.k->r0 = {0, 0, 0.2};
  s.k->r = s.k->r0;
  rot->stan = 1;
  bend->stan = -1;
  driveMuscle(*rot, set);
  driveMuscle(*bend, set);
  EXPECT_NEAR(s.k->r.x, 0.01, 1e-12);
  EXPECT_NEAR(s.k->r.z, 0.19, 1e-12);
  CosSinMemo fresh[3];
  const Frame f = frameFromAnglesStep(s.k->r, fresh);
  EXPECT_EQ(s.k->frame, f);
  // The bend stops at r0.z - zakz x 3.141.
  bend->muscleVel = -0.08;
  s.k->r.z = 0.2 - 0.5 * 3.141 + 0.001;
  driveMuscle(*bend, set);
  EXPECT_NEAR(s.k->r.z, 0.2 - 0.5 * 3.141, 1e-12);
  // A neuron without a muscle leaves the joint alone.
  neuro* plain = s.neuron({});
  plain->stan = 1;
  rot->typster = bend->typster = NEURO_NO_MUSCLE;
  const Vec3 before = s.k->r;
  s.c->energy_m = 0;
  driveMuscles(*s.c, set);
  EXPECT_EQ(s.k->r, before);
  EXPECT_EQ(s.c->energy_m, 0.0);
}

TEST(WorldSenses, TouchAndSmellReachTheWorldAndBothLists) {
  world ground;  // flat, size 50, fenced
  lista2<org> living, food;
  listaduo<org> all(living, food);
  WorldSenses senses(ground, all);

  // A stick pointing out through the fence: the probes beyond the edge are inside.
  OneStick s({1, 5, 3}, {0.3, 5, 3});
  neuro* n = s.neuron({{WEJ_TOUCH, 1.0}, {WEJ_SMELL, 1.0}});
  s.c->InitNeuro();
  s.c->energy = 50;
  living.append(s.c.get());
  EXPECT_NEAR(inputValue(*n->input(0), *n, senses), -0.6, 1e-12);

  auto ball = ballAt({0.3, 5, 5}, 40);
  food.append(ball.get());
  EXPECT_NEAR(inputValue(*n->input(1), *n, senses), 0.01 * 40 / 4, 1e-12);
  living.clearItems();
  food.clearItems();
}

// The packed copy sums several sources at once; the sum must still be the
// plain one bit for bit, in source order and without the owner, whatever the
// count (tails of 1 to 3 included) and with a source right at the point.
TEST(WorldSenses, FrozenSmellIsThePlainSumBitForBit) {
  world ground;
  lista2<org> living, food;
  listaduo<org> all(living, food);
  WorldSenses senses(ground, all);
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> coord(0, 50), energy(-5, 300);
  std::vector<std::unique_ptr<org>> balls;
  const Vec3 at{20, 20, 1};
  for (int count = 0; count < 11; ++count) {
    auto b = ballAt(count == 3 ? at : Vec3{coord(rng), coord(rng), coord(rng) / 10}, energy(rng));
    food.append(b.get());
    balls.push_back(std::move(b));
    for (const org* owner : {static_cast<const org*>(nullptr), static_cast<const org*>(balls.front().get()),
                             static_cast<const org*>(balls.back().get())}) {
      const double plain = senses.smellSum(at, owner);
      senses.freezeObjects();
      const double frozen = senses.smellSum(at, owner);
      senses.thawObjects();
      EXPECT_EQ(std::bit_cast<std::uint64_t>(frozen), std::bit_cast<std::uint64_t>(plain)) << count;
    }
  }
  food.clearItems();
}

// The step's parts copy stretches of objects, each packing those that
// smell; the copy may stand in for the objects only when the stretches, in
// object order whichever part copied them, hold every object now in the
// lists once and at its index, and then sums as the copy packed from the
// same centres and energies does. Any other case leaves the freeze to the caller.
TEST(WorldSenses, SourcesSetByTheStepFreezeOnlyWhenTheyMatchTheObjects) {
  world ground;
  lista2<org> living, food;
  listaduo<org> all(living, food);
  WorldSenses senses(ground, all);
  senses.setSourceParts(2);
  std::vector<std::unique_ptr<org>> balls;
  for (double e : {40.0, 7.0, 120.0, 9.0}) balls.push_back(ballAt({e / 4, 3, 1}, e));
  for (int i = 0; i < 3; ++i) food.append(balls[static_cast<std::size_t>(i)].get());
  const Vec3 at{10, 10, 1};
  const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
  const double plain = senses.smellSum(at, balls[1].get());
  struct Stretch {
    int part;
    std::vector<std::size_t> objects;
  };
  struct Case {
    const char* name;
    std::vector<Stretch> stretches;
    bool silent = false, swapped = false, listChanged = false;
    bool freezes;
  };
  const std::vector<Case> cases = {
      {"one stretch", {{0, {0, 1, 2}}}, false, false, false, true},
      {"a silent source", {{0, {0, 1, 2}}}, true, false, false, true},
      {"split, the later part first", {{1, {0}}, {0, {1, 2}}}, false, false, false, true},
      {"swapped objects", {{0, {0, 1, 2}}}, false, true, false, false},
      {"the list changed", {{0, {0, 1, 2}}}, false, false, true, false},
      {"an object left out", {{0, {0}}, {1, {2}}}, false, false, false, false},
      {"an object out of turn", {{0, {0, 2}}, {1, {1}}}, false, false, false, false},
      {"an object twice", {{0, {0, 1}}, {1, {1, 2}}}, false, false, false, false},
  };
  for (const Case& c : cases) {
    senses.startSources(3);
    std::vector<Vec3> centers(3);
    std::vector<double> energies(3);
    for (const Stretch& s : c.stretches) {
      senses.openSourceStretch(s.part, static_cast<int>(s.objects.front()));
      for (std::size_t i : s.objects) {
        const org* o = balls[c.swapped && i < 2 ? 1 - i : i].get();
        centers[i] = o->center;
        energies[i] = c.silent && i == 0 ? -3.0 : o->energy;
        senses.setSource(s.part, i, o, centers[i], energies[i]);
      }
    }
    if (c.listChanged) food.append(balls[3].get());
    EXPECT_EQ(senses.freezeSetSources(), c.freezes) << c.name;
    if (c.listChanged) food.removeAt(3);
    if (!c.freezes) continue;
    const double fromStretches = senses.smellSum(at, balls[1].get());
    if (!c.silent) {
      EXPECT_EQ(bits(fromStretches), bits(plain)) << c.name;
    }
    senses.thawObjects();
    EXPECT_FALSE(senses.freezeSetSources()) << "the stretches freeze once";
    senses.freezeObjects(centers, energies);
    EXPECT_EQ(bits(fromStretches), bits(senses.smellSum(at, balls[1].get()))) << c.name;
    senses.thawObjects();
  }
  food.clearItems();
}

// A remembered cosine and sine must be those of the angle asked for: the sines
// of -0 and +0 differ in sign, and a NaN never equals the one remembered.
TEST(CosSinMemo, GivesTheLibraryValuesBitForBit) {
  CosSinMemo memo;
  const double nan = std::nan("");
  for (double a : {0.5, 0.5, -0.0, 0.0, -0.0, nan, nan, 1e-300, 3.0, 0.5}) {
    double c, s, expectC, expectS;
    memo.of(a, c, s);
    cosSin1(a, expectC, expectS);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(c), std::bit_cast<std::uint64_t>(expectC)) << a;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(s), std::bit_cast<std::uint64_t>(expectS)) << a;
  }
}

}  // namespace
}  // namespace vorlund
