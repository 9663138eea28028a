#include <gtest/gtest.h>

#include <string>

#include "genepool/listaprz.h"
#include "sim/symparam.h"

namespace vorlund {
namespace {

struct Rules {
  EvolSettings evol;
  SimSettings sim;
  FileSettings files;
  listaprz pool;
  symparam acc{evol, sim, files, &pool};
};

TEST(SimulationRules, TableShapeAndDefaults) {
  Rules r;
  param& p = r.acc;
  EXPECT_EQ(p.paramCount(), 41);
  EXPECT_EQ(p.groupCount(), 6);
  EXPECT_STREQ(p.sectionPrefix(), "sim_params:");
  EXPECT_STREQ(p.groupName(0), "Simulation rules");
  EXPECT_STREQ(p.groupName(5), "Files");
  EXPECT_STREQ(p.id(0), "model");
  EXPECT_STREQ(p.id(40), "filecomm");
  for (int i = 0; i < p.paramCount(); ++i) EXPECT_EQ(p.flags(i), 0) << p.id(i);

  const std::pair<const char*, const char*> defaults[] = {
      {"model", "1"},      {"oldneurons", "0"}, {"capacity", "1000"}, {"delrule", "0"},   {"AutoKill", "0"},
      {"cr_life", "1"},    {"cr_gl", "-0.01"},  {"cr_di", "1"},       {"fitm", "2"},      {"fitma", "1.5"},
      {"enablestats", "2"}, {"testvel", "4"},   {"MaxCreated", "1"},  {"p_nop", "40"},    {"p_mut", "40"},
      {"p_xov", "10"},     {"xov_mins", "0"},   {"Energy0", "100"},   {"e_meta", "1"},    {"em_stat", "20"},
      {"sun", "0.5"},      {"feed", "0"},       {"feede0", "10"},     {"autosave", "0"},  {"overwrite", "1"},
      {"filecomm", "0"}};
  for (const auto& [id, value] : defaults) EXPECT_EQ(p.getText(p.findId(id)), value) << id;

  EXPECT_STREQ(p.help(p.findId("fitm")),
               "Lower threshold: how many std. dev's below average?\n(avg - n * stddev) - used for fitness shifting");
  EXPECT_STREQ(p.type(p.findId("delrule")), "d 0 2 ~Randomly~Inv-proportional fitness~Only the worst");
}

TEST(SimulationRules, SettingReachesEachStructAndClamps) {
  Rules r;
  param& p = r.acc;
  EXPECT_EQ(p.set(p.findId("capacity"), "5000"), PSET_CHANGED | PSET_HITMAX);
  EXPECT_EQ(r.evol.capacity, 2000);
  p.set(p.findId("e_meta"), "2.5");
  EXPECT_DOUBLE_EQ(r.sim.e_meta, 2.5);
  p.set(p.findId("overwrite"), "0");
  EXPECT_EQ(r.files.overwrite, 0);
  EXPECT_EQ(p.set(p.findId("testvel"), "1"), PSET_CHANGED | PSET_HITMIN);
  EXPECT_EQ(r.sim.testvel, 2);
}

void countChange(void* arg, int index) {
  if (index == -1) ++*static_cast<int*>(arg);
}

TEST(SimulationRules, SelectionChangesRemarkThePool) {
  Rules r;
  param& p = r.acc;
  int wholePool = 0;
  r.pool.changedListeners.add(countChange, &wholePool);
  r.pool.statsStale = false;
  p.set(p.findId("capacity"), "10");
  EXPECT_EQ(wholePool, 0);
  EXPECT_FALSE(r.pool.statsStale);
  p.set(p.findId("cr_v"), "3");
  EXPECT_EQ(wholePool, 1);
  EXPECT_TRUE(r.pool.statsStale);
  p.set(p.findId("cr_v"), "3");  // unchanged: no re-marking
  EXPECT_EQ(wholePool, 1);
  p.set(p.findId("fitfun"), "1");
  EXPECT_EQ(wholePool, 2);
}

}  // namespace
}  // namespace vorlund
