#include "ui/list_models.h"

#include <gtest/gtest.h>

#include "sim/symulator.h"
#include "ui/list_rules.h"

using namespace vorlund;
using namespace vorlund::ui;

namespace {

przodek* addRecord(symulator& s, const std::string& genotype, const std::string& name, double lifespan) {
  auto rec = std::make_unique<przodek>(&s.geneticsContext(), genotype, name, "");
  rec->popsiz = 1;
  rec->lifespan = lifespan;
  return s.pool.add(std::move(rec));
}

int column(const char* id) { return param(kGenotypeTable, nullptr).findId(id); }

}  // namespace

TEST(ListModels, GenotypeRowsFollowThePoolAndItsOwnSort) {
  symulator s;
  GenotypeListModel model(s.pool);
  const int name = column("name"), life = column("lifespan");
  EXPECT_EQ(model.columnCount(), 21);
  EXPECT_EQ(model.headerData(life, Qt::Horizontal, Qt::DisplayRole).toString(), "Life span");
  addRecord(s, "X", "short", 5);
  addRecord(s, "XX", "long", 50);
  przodek* mid = addRecord(s, "XXX", "mid", 20);
  ASSERT_EQ(model.rowCount(), 3);
  EXPECT_EQ(model.cellText(2, name), "mid");
  EXPECT_EQ(model.data(model.index(0, life), Qt::TextAlignmentRole).toInt() & Qt::AlignRight, Qt::AlignRight);

  model.sort(life, Qt::DescendingOrder);
  auto names = [&] {
    QStringList n;
    for (int r = 0; r < model.rowCount(); ++r) n << model.cellText(r, name);
    return n;
  };
  EXPECT_EQ(names(), (QStringList{"long", "mid", "short"}));
  for (int r = 0; r < s.pool.size(); ++r) EXPECT_EQ(model.record(r), s.pool.get(r));

  // A change that moves the record, a new one, a removal: the rows keep the pool's order.
  mid->lifespan = 100;
  s.pool.changed(s.pool.find(mid));
  addRecord(s, "XXXX", "new", 30);
  EXPECT_EQ(names(), (QStringList{"mid", "long", "new", "short"}));
  s.pool.release(1);
  EXPECT_EQ(names(), (QStringList{"mid", "new", "short"}));
  EXPECT_EQ(model.cellText(0, life), "100");
  s.pool.clear();
  EXPECT_EQ(model.rowCount(), 0);
}

TEST(ListModels, CreatureRowsFollowBirthsAndDeaths) {
  symulator s;
  CreatureListModel model(s.creatures);
  przodek* rec = addRecord(s, "X(X,X)", "walker", 1);
  org* a = s.createCreature(*rec);
  org* b = s.createCreature(*rec);
  ASSERT_TRUE(a && b);
  ASSERT_EQ(model.rowCount(), 2);
  EXPECT_EQ(model.creature(1), b);
  EXPECT_FALSE(model.data(model.index(0, 0), Qt::DecorationRole).value<QIcon>().isNull());
  const int energy = param(kCreatureTable, nullptr).findId("energy");
  b->energy = 1234;
  EXPECT_NE(model.cellText(1, energy), "1234");
  model.refreshRows();
  EXPECT_EQ(model.cellText(1, energy), "1234");
  s.killCreature(a);
  ASSERT_EQ(model.rowCount(), 1);
  EXPECT_EQ(model.creature(0), b);
}

TEST(ListRules, ColumnStringsWeightsAndWidths) {
  EXPECT_TRUE(columnShown("10", 0));
  EXPECT_FALSE(columnShown("10", 1));
  EXPECT_TRUE(columnShown("10", 5));
  EXPECT_EQ(toggleColumn("10", 4), "10110");
  EXPECT_EQ(toggleColumn("10", 1), "11");
  EXPECT_EQ(columnWeight('d', true), 50);
  EXPECT_EQ(columnWeight('f', true), 80);
  EXPECT_EQ(columnWeight('s', true), 100);
  EXPECT_EQ(columnWeight('f', false), 10);
  // 10 + 50 + 100 + 30 = 190 shares of 380 pixels.
  EXPECT_EQ(adjustedWidths({10, 50, 100}, 380), (std::vector<int>{20, 100, 200}));
}

// The lists window checks the plain copy and edit marks.
TEST(ListRules, InfosOfNewCopyAndEditAreMarkedOnce) {
  EXPECT_EQ(infoAfterNew("(manually created)", true), "(manually created)");
  EXPECT_EQ(infoAfterNew("mine", true), "mine\n(manually created)");
  EXPECT_EQ(infoAfterNew("mine", false), "mine");
  EXPECT_EQ(copyInfo("a", "Bob"), "a\n(copy of 'Bob')");
  EXPECT_EQ(infoAfterEdit("a\n(manually modified)", true), "a\n(manually modified)");
  EXPECT_EQ(infoAfterEdit("(manually created)", true), "(manually created)");
  EXPECT_EQ(infoAfterEdit("a", false), "a");
}
