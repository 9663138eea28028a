#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "life_test_support.h"
#include "world/validity_checker.h"
#include "world_test_support.h"

namespace vorlund {
namespace {

using testing_life::World;
using testing_world::MessageCatcher;

std::vector<std::string> texts(const MessageCatcher& m) {
  std::vector<std::string> out;
  for (const LogEntry& e : m.entries) out.push_back(e.message);
  return out;
}

class ValidityChecker : public ::testing::Test {
 protected:
  void TearDown() override { setRunFlag(true); }
  World w;
};

TEST_F(ValidityChecker, MassBoundsAreValidJustOutsideIsNot) {
  w.rules.debug = 1;
  org* c = w.creature("p:m=0.1\np:1,m=10\nj:0,1", {10, 10, 10});
  MessageCatcher m;
  w.life.check("go() #2");
  EXPECT_TRUE(m.entries.empty());
  c->getSes(0)->m = 0.09;
  w.life.check("go() #2");
  EXPECT_EQ(m.single(), "debug::go() #2 critical: invalid ses->m");
  EXPECT_FALSE(runFlag());
}

TEST_F(ValidityChecker, SilentWhenDebugIsOff) {
  org* c = w.creature("p:m=0.09", {10, 10, 10});
  c->typ = 5;
  c->drogawiek = 16;
  MessageCatcher m;
  w.life.go();
  w.life.check("jedenkrok() #1");
  EXPECT_TRUE(m.entries.empty());
  EXPECT_TRUE(runFlag());
}

TEST_F(ValidityChecker, StepChecksAtItsFiveLabelsInOrder) {
  w.rules.debug = 1;
  org* c = w.creature("p:", {10, 10, 10});
  c->typ = 5;
  MessageCatcher m;
  w.life.go();
  std::vector<std::string> labels;
  for (const LogEntry& e : m.entries) {
    EXPECT_EQ(e.message, "invalid org->typ");
    labels.push_back(e.function);
  }
  EXPECT_EQ(labels, (std::vector<std::string>{"go() #1", "go() #2", "go() #3", "go() #3", "go() #4"}));
}

TEST_F(ValidityChecker, ReportsEveryFindingOfAnObject) {
  org* c = w.creature("p:\np:1\nj:0,1\nneu:0\ninp:0,1", {10, 10, 10});
  c->wiek = 10;
  c->drogawiek = 16;
  ses* s = c->getSes(0);
  s->p.x = 1000;  // a bound: valid
  s->v.y = 100.5;
  s->o.z.x = std::nan("");
  s->tarcie = -0.1;
  s->wchl = 1.5;
  est* k = c->getEst(0);
  k->r.z = 11;
  k->r0.x = -11;
  k->ruch = 1.01;
  k->asym = 10.5;
  k->odpor = -1;
  k->zakz = 20;
  c->getSes(1)->owner = nullptr;
  neuro* n = c->getNeuro(0);
  n->stan = 1.5;
  n->nstan = -11;
  n->sstan = 10.5;
  n->typster = 3;
  n->input(0)->typ = 7;
  n->input(0)->w = 2000;
  n->kto = nullptr;
  MessageCatcher m;
  checkObject(*c, "jedenkrok() #3");
  EXPECT_EQ(texts(m), (std::vector<std::string>{
                          "drogawiek>wiek", "invalid ses->v", "invalid ses->o.z", "invalid ses->tarcie",
                          "invalid ses->wchl", "invalid est->e", "invalid est->r", "invalid est->r0",
                          "invalid est->ruch", "invalid est->asym", "invalid est->odpor", "invalid est->zakz",
                          "invalid neuro->kto", "invalid neuro->stan", "invalid neuro->nstan",
                          "invalid neuro->sstan", "invalid neuro->typster", "invalid wej->typ",
                          "invalid wej->w"}));
}

}  // namespace
}  // namespace vorlund
