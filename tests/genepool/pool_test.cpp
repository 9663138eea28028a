#include <gtest/gtest.h>

#include <memory>

#include "genepool/listaprz.h"
#include "genepool/make_name.h"
#include "genetics/genman.h"
#include "genetics/genoconv.h"
#include "world/org.h"
#include "world/sim_settings.h"

namespace vorlund {
namespace {

constexpr const char* kOneStick = "/*0*/\np:\np:1\nj:0, 1";

struct PoolFixture : ::testing::Test {
  PoolFixture() {
    registerStandardOperators(genman);
    genman.setConverters(&converters);
    genetics.genman = &genman;
    genetics.settings = &settings;
  }
  std::unique_ptr<przodek> record(const std::string& text, int num = 0) {
    auto r = std::make_unique<przodek>(&genetics, text, "", "");
    r->num = num;
    return r;
  }
  GenMan genman;
  GenoConvManager converters;
  SimSettings settings;
  Genetics genetics;
  listaprz pool{&genetics};
};

TEST_F(PoolFixture, Pool_FoldsTwoLivesIntoAverageAndWhitespaceVariantIntoSameRecord) {
  int changes = 0;
  pool.changedListeners.add([](void* arg, int) { ++*static_cast<int*>(arg); }, &changes);
  org first(&genetics, kOneStick);
  first.lifespan = 10;
  first.distance = 4;
  przodek* rec = pool.foldPerformance(first);
  ASSERT_NE(rec, nullptr);
  EXPECT_EQ(pool.size(), 1);
  EXPECT_EQ(rec->num, 1);
  EXPECT_EQ(rec->stnum, 1);
  EXPECT_DOUBLE_EQ(rec->strsiz, 1.0);

  org second(&genetics, "/*0*/\n p:\np:1\n\tj:0,  1");
  second.lifespan = 20;
  EXPECT_EQ(pool.foldPerformance(second), rec);
  EXPECT_EQ(pool.size(), 1);
  EXPECT_EQ(rec->popsiz, 2);
  EXPECT_DOUBLE_EQ(rec->lifespan, 15);
  EXPECT_DOUBLE_EQ(rec->distance, 2);
  EXPECT_DOUBLE_EQ(rec->strsiz, 1.0);  // structural, not averaged with the creature's
  EXPECT_EQ(changes, 1);

  org nobody(&genetics, "");
  EXPECT_EQ(pool.foldPerformance(nobody), nullptr);
  EXPECT_EQ(pool.size(), 1);
}

TEST_F(PoolFixture, Pool_NumbersAfterTheLargestNumberSeenAndRemovesIndividualsMarkingAllStale) {
  przodek* a = pool.add(record("/*0*/\np:"));
  przodek* b = pool.add(record("/*0*/\np:\np:", 7));
  przodek* c = pool.add(record("/*0*/\np:\np:\np:"));
  EXPECT_EQ(a->num, 1);
  EXPECT_EQ(b->num, 7);
  EXPECT_EQ(c->num, 8);
  pool.clear();
  EXPECT_EQ(pool.add(record("/*0*/\np:"))->num, 1);
  pool.clear();

  // Removing individuals marks everything stale.
  a = pool.add(record(kOneStick));
  b = pool.add(record("/*0*/\np:"));
  a->popsiz = 2;
  b->popsiz = 1;
  a->simiStale = b->simiStale = 0;
  pool.similaritiesComputed();
  pool.statsStale = false;
  int removed = -1;
  pool.removedListeners.add([](void* arg, int i) { *static_cast<int*>(arg) = i; }, &removed);
  pool.removeIndividual(a);
  EXPECT_EQ(pool.size(), 2);
  EXPECT_EQ(a->popsiz, 1);
  pool.removeIndividual(b);  // destroyed with the record
  EXPECT_EQ(pool.size(), 1);
  EXPECT_EQ(removed, 1);
  EXPECT_TRUE(pool.statsStale);
  EXPECT_EQ(a->simiStale, 1);

  pool.clearPerformance();
  EXPECT_EQ(a->popsiz, 0);
}

TEST_F(PoolFixture, Pool_InsertsSortedAfterEqualsAndResortsOnChange) {
  prz_param sorter(nullptr);
  const int lifespan = sorter.findId("lifespan");
  pool.setSort(&sorter, lifespan, false);
  auto make = [&](double life, const char* text) {
    auto r = record(text);
    r->lifespan = life;
    return pool.add(std::move(r));
  };
  przodek* r5 = make(5, "/*0*/\np:");
  przodek* r1 = make(1, "/*0*/\np:\np:");
  przodek* r5b = make(5, "/*0*/\np:\np:\np:");
  ASSERT_EQ(pool.size(), 3);
  EXPECT_EQ(pool.get(0), r1);
  EXPECT_EQ(pool.get(1), r5);
  EXPECT_EQ(pool.get(2), r5b);
  r1->lifespan = 9;
  pool.changed(0);
  EXPECT_EQ(pool.get(2), r1);
  EXPECT_EQ(r1->num, 2);  // moving keeps the record and its number
}

TEST_F(PoolFixture, Genotype_RegeneratesNameAndStructureOnSet) {
  przodek rec(&genetics, kOneStick, "Bob", "");
  param& acc = rec.parameters();
  const int nameIndex = acc.findId("name");
  EXPECT_EQ(acc.set(nameIndex, ""), PSET_CHANGED | PSET_HITMIN);
  EXPECT_EQ(rec.name, makeGenotypeNamePart(kOneStick) + " Hih");
  EXPECT_EQ(acc.set(nameIndex, "   "), PSET_CHANGED | PSET_HITMIN);
  EXPECT_EQ(rec.name, makeGenotypeNamePart(kOneStick) + " Hih");

  EXPECT_NE(acc.set(acc.findId("genotype"), "/*0*/\np:\np:1\np:2\nj:0,1\nj:1,2\nneu:1\ninp:0\ninp:0,1"), 0);
  EXPECT_EQ(rec.stnum, 2);
  EXPECT_EQ(rec.neunum, 1);
  EXPECT_DOUBLE_EQ(rec.nnsiz, 2);
  EXPECT_DOUBLE_EQ(rec.strsiz, 2);
  EXPECT_EQ(acc.getText(acc.findId("stnum")), "2");
  EXPECT_EQ(acc.getText(acc.findId("energ0")), "200");
  EXPECT_EQ(acc.set(acc.findId("stnum"), "5"), PSET_RONLY);
  // The conversion column shows the registry's answer.
  EXPECT_EQ(acc.getText(acc.findId("f0genotype")).rfind("/*0*/", 0), 0u);
}

TEST(MakeName, GenotypePartHashesSignedCharactersBodyPartInterleavesMassAndInputs) {
  EXPECT_EQ(makeGenotypeNamePart("X"), "Uwuwit");
  EXPECT_EQ(makeGenotypeNamePart("\xe9"), "Ykykaf");
  EXPECT_EQ(makeGenotypeNamePart(""), "Aaa");
  // The body part interleaves consonants of mass runs with vowels of input runs.
  org single(nullptr, "/*0*/\np:");
  single.Build();
  EXPECT_EQ(makeBodyNamePart(single), "Hi");

  // Five ends (two runs by mass: 1 and 3), two neurons with 0 and 2 inputs.
  org body(nullptr, "/*0*/\np:\np:1\np:2,m=3\np:3\np:4\nj:0,1\nj:1,2\nneu:0\nneu:1\ninp:1\ninp:1");
  body.Build();
  ASSERT_EQ(body.neuroCount(), 2);
  // k = 2: runs end at 0, 2, 4 -> masses 1, 3, 1 -> "hkh"; l = 1: runs [0], [1] -> "ya".
  EXPECT_EQ(makeBodyNamePart(body), "Hykah");
  EXPECT_EQ(makeName(body), makeGenotypeNamePart(body.genotype) + " Hykah");
}

}  // namespace
}  // namespace vorlund
