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
