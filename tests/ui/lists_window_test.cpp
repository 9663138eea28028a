#include "ui/lists_window.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "ui/list_models.h"
#include "ui/list_rules.h"
#include "ui/param_dialog.h"
#include "ui/prompt_service.h"
#include "ui/ui_context.h"

using namespace vorlund;
using namespace vorlund::ui;

namespace {

constexpr int kNameIndex = 0;  // "name" heads the Genotype table

int column(const char* id) { return param(kGenotypeTable, nullptr).findId(id); }

struct ListsTest : ::testing::Test {
  UiContext ctx;
  ListsWindow genotypes{ctx, ListKind::Genotypes, nullptr};
  ListsWindow individuals{ctx, ListKind::Individuals, nullptr};
  ScriptedPrompts script;
  ScopedPromptService use{&script};
  int dialogs = 0;
  QString lastTitle;

  symulator& sim() { return ctx.sim(); }

  przodek* add(const std::string& genes, const std::string& name, const std::string& info = "", double life = 0) {
    auto rec = std::make_unique<przodek>(&sim().geneticsContext(), genes, name, info);
    rec->lifespan = life;
    return sim().pool.add(std::move(rec));
  }

  // Dialogs answer with OK (after typing `newName` into the name when given) or Cancel.
  ScopedParamDialogRunner answer(bool ok, QString newName = {}) {
    return ScopedParamDialogRunner([this, ok, newName](ParamDialog& d) {
      ++dialogs;
      lastTitle = d.windowTitle();
      if (!newName.isEmpty()) {
        auto* line = qobject_cast<QLineEdit*>(d.controlFor(kNameIndex));
        line->selectAll();
        QTest::keyClicks(line, newName);
      }
      d.findChild<QPushButton*>(ok ? "ok" : "cancel")->click();
      return d.confirmed();
    });
  }

  // Runs `action` of the genotypes list with its dialog answered as answer() does.
  void answered(void (ListsWindow::*action)(), bool ok, QString newName = {}) {
    auto run = answer(ok, std::move(newName));
    (genotypes.*action)();
  }

  void select(ListsWindow& w, std::initializer_list<int> rows) {
    w.clearSelection();
    for (int r : rows) w.addRowToSelection(r);
  }
};

}  // namespace

TEST_F(ListsTest, NewAddsOnOkOnlyAndMarksTheInfo) {
  answered(&ListsWindow::newGenotype, false);
  EXPECT_EQ(sim().pool.size(), 0);
  answered(&ListsWindow::newGenotype, true, "Mine");
  ASSERT_EQ(sim().pool.size(), 1);
  EXPECT_EQ(lastTitle, "Genotype data");
  przodek* rec = sim().pool.get(0);
  EXPECT_EQ(rec->name, "Mine");
  EXPECT_EQ(rec->genotype, "X");
  EXPECT_EQ(rec->info, "(manually created)");
  EXPECT_EQ(genotypes.rowCount(), 1);
}

TEST_F(ListsTest, CopyNamesTheOriginalAndCutsToTheLimits) {
  add("X(X,X)", "Walker");
  add("XX", std::string(29, 'n'), "old\n");
  auto run = answer(true);
  select(genotypes, {0});
  genotypes.copyGenotype();
  select(genotypes, {1});
  genotypes.copyGenotype();
  ASSERT_EQ(sim().pool.size(), 4);
  EXPECT_EQ(sim().pool.get(2)->name, "Walker (copy)");
  EXPECT_EQ(sim().pool.get(2)->info, "(copy of 'Walker')");
  EXPECT_EQ(sim().pool.get(2)->genotype, "X(X,X)");
  EXPECT_EQ(sim().pool.get(3)->name.size(), 30u);
  EXPECT_EQ(sim().pool.get(3)->info, "old\n(copy of '" + std::string(29, 'n') + "')");
  select(genotypes, {});
  genotypes.copyGenotype();
  EXPECT_EQ(dialogs, 2);
}

TEST_F(ListsTest, EditMarksOnlyARealChange) {
  przodek* rec = add("X", "Plain", "note");
  rec->lifespan = 0.123456789;
  select(genotypes, {0});
  answered(&ListsWindow::editGenotype, true);
  EXPECT_EQ(rec->info, "note");
  EXPECT_EQ(rec->lifespan, 0.123456789);
  answered(&ListsWindow::editGenotype, true, "Renamed");
  EXPECT_EQ(rec->name, "Renamed");
  EXPECT_EQ(rec->info, "note\n(manually modified)");
  EXPECT_EQ(genotypes.model()->cellText(0, kNameIndex), "Renamed");
}

TEST_F(ListsTest, DeleteAndClearAskOnlyWhenThereIsSomethingToRemove) {
  genotypes.clearGenotypes();
  genotypes.deleteGenotypes();
  EXPECT_TRUE(script.shown.empty());
  add("X", "a");
  add("XX", "b");
  add("XXX", "c");
  select(genotypes, {0, 2});
  script.answers = {PromptAnswer::No, PromptAnswer::Yes};
  genotypes.deleteGenotypes();
  EXPECT_EQ(sim().pool.size(), 3);
  genotypes.deleteGenotypes();
  ASSERT_EQ(sim().pool.size(), 1);
  EXPECT_EQ(sim().pool.get(0)->name, "b");
  EXPECT_EQ(script.shown[0].text, "Delete selected genotypes?");
  script.answers = {PromptAnswer::Yes};
  genotypes.clearGenotypes();
  EXPECT_EQ(script.shown.back().text, "Clear genotypes list?");
  EXPECT_EQ(sim().pool.size(), 0);
  EXPECT_EQ(genotypes.rowCount(), 0);
}

TEST_F(ListsTest, SimulateKillAndDeleteIndividuals) {
  przodek* a = add("X(X,X)", "a");
  add("XX", "b");
  select(genotypes, {0, 1});
  genotypes.simulateGenotypes();
  ASSERT_EQ(individuals.rowCount(), 2);
  EXPECT_EQ(individuals.rowCreature(0)->name, "a");

  select(individuals, {0, 1});
  EXPECT_EQ(ctx.selectedCreatures().size(), 2u);
  individuals.rowCreature(0)->lifespan = 42;
  select(individuals, {0});
  const int before = a->popsiz;
  individuals.killIndividuals();
  EXPECT_EQ(a->popsiz, before + 1);
  ASSERT_EQ(individuals.rowCount(), 1);
  EXPECT_TRUE(ctx.selectedCreatures().empty());
  select(individuals, {0});
  individuals.deleteIndividuals();
  EXPECT_EQ(sim().creatures.size(), 0);
  EXPECT_EQ(sim().pool.size(), 2);  // no fold for a deleted individual
  EXPECT_TRUE(script.shown.empty());
}

TEST_F(ListsTest, SelectionFeedsTheContextAndViewIsReadOnly) {
  przodek* rec = add("X", "a");
  select(genotypes, {0});
  EXPECT_EQ(ctx.selectedGenotype(), rec);
  select(genotypes, {});
  EXPECT_EQ(ctx.selectedGenotype(), nullptr);
  sim().createCreature(*rec);
  select(individuals, {0});
  EXPECT_EQ(ctx.selectedCreature(), individuals.rowCreature(0));
  auto run = ScopedParamDialogRunner([&](ParamDialog& d) {
    lastTitle = d.windowTitle();
    EXPECT_FALSE(d.controlFor(kNameIndex)->isEnabled());
    return false;
  });
  individuals.viewIndividual();
  EXPECT_EQ(lastTitle, "Simulated individual data");
}

TEST_F(ListsTest, ColumnStringsAndHeaderSorting) {
  genotypes.setColumnsText("10");
  EXPECT_EQ(genotypes.table()->columnWidth(1), 10);
  EXPECT_EQ(genotypes.table()->columnWidth(0), 100);
  genotypes.toggleColumn(3);
  EXPECT_EQ(genotypes.columnsText(), "1010");
  EXPECT_EQ(ctx.interface().int_genoshow, "1010");
  genotypes.table()->resize(600, 300);
  genotypes.adjustColumns();
  EXPECT_GT(genotypes.table()->columnWidth(1), 0);
  EXPECT_LT(genotypes.table()->columnWidth(1), genotypes.table()->columnWidth(0) / 5);

  add("X", "b", "", 5);
  add("XX", "a", "", 50);
  add("XXX", "c", "", 20);
  const int life = column("lifespan");
  select(genotypes, {1});  // "a"
  emit genotypes.table()->horizontalHeader()->sectionClicked(life);
  EXPECT_EQ(sim().pool.get(0)->name, "b");
  // The highlight follows the record the sort moved, not the row it was on.
  ASSERT_EQ(genotypes.selectedRows().size(), 1u);
  EXPECT_EQ(genotypes.rowGenotype(genotypes.selectedRows().front())->name, "a");
  emit genotypes.table()->horizontalHeader()->sectionClicked(life);
  EXPECT_EQ(sim().pool.get(0)->name, "a");
  EXPECT_EQ(genotypes.table()->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
  // A selected record that the sort moves stays selected, in the list and in the context.
  select(genotypes, {1});
  przodek* d = genotypes.rowGenotype(1);
  d->lifespan = 100;
  sim().pool.changed(1);
  EXPECT_EQ(genotypes.rowGenotype(0), d);
  EXPECT_EQ(genotypes.selectedRows(), std::vector<int>{0});
  EXPECT_EQ(ctx.selectedGenotype(), d);
}

TEST_F(ListsTest, IndividualsSortByHeaderWithoutReorderingTheWorld) {
  przodek* rec = add("X(X,X)", "walker");
  org* rich = sim().createCreature(*rec);
  org* poor = sim().createCreature(*rec);
  ASSERT_TRUE(rich && poor);
  rich->energy = 900;
  poor->energy = 80;  // as text "80" sorts after "900": the sort must compare numbers
  individuals.refreshRows();
  emit individuals.table()->horizontalHeader()->sectionClicked(param(kCreatureTable, nullptr).findId("energy"));
  EXPECT_EQ(individuals.rowCreature(0), poor);
  EXPECT_EQ(sim().creatures.get(0), rich);  // the simulation's order is untouched
  select(individuals, {0});
  EXPECT_EQ(ctx.selectedCreature(), poor);
  individuals.deleteIndividuals();
  ASSERT_EQ(sim().creatures.size(), 1);
  EXPECT_EQ(sim().creatures.get(0), rich);
}

TEST_F(ListsTest, GenotypeModelRowsFollowThePoolAndItsOwnSort) {
  GenotypeListModel model(sim().pool);
  const int name = column("name"), life = column("lifespan");
  add("X", "short", "", 5);
  add("XX", "long", "", 50);
  przodek* mid = add("XXX", "mid", "", 20);
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
  for (int r = 0; r < sim().pool.size(); ++r) EXPECT_EQ(model.record(r), sim().pool.get(r));

  // A change that moves the record, a new one, a removal: the rows keep the pool's order.
  mid->lifespan = 100;
  sim().pool.changed(sim().pool.find(mid));
  add("XXXX", "new", "", 30);
  EXPECT_EQ(names(), (QStringList{"mid", "long", "new", "short"}));
  sim().pool.release(1);
  EXPECT_EQ(names(), (QStringList{"mid", "new", "short"}));
  EXPECT_EQ(model.cellText(0, life), "100");
  sim().pool.clear();
  EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(ListsTest, CreatureModelRowsFollowBirthsAndDeaths) {
  CreatureListModel model(sim().creatures);
  przodek* rec = add("X(X,X)", "walker", "", 1);
  org* a = sim().createCreature(*rec);
  org* b = sim().createCreature(*rec);
  ASSERT_TRUE(a && b);
  ASSERT_EQ(model.rowCount(), 2);
  EXPECT_EQ(model.creature(1), b);
  auto icon = [&](int row) { return model.data(model.index(row, 0), Qt::DecorationRole).value<QIcon>(); };
  EXPECT_FALSE(icon(0).isNull());
  const qint64 look = icon(0).cacheKey();
  const int energy = param(kCreatureTable, nullptr).findId("energy");
  // A row shown once keeps its texts until the list refreshes.
  const QString shown = model.cellText(1, energy);
  b->energy = 1234;
  EXPECT_EQ(model.cellText(1, energy), shown);
  model.refreshRows();
  EXPECT_EQ(model.cellText(1, energy), "1234");
  // Rows that look alike share one icon across refreshes: a new icon per refresh grew memory all run long.
  EXPECT_EQ(icon(0).cacheKey(), look);
  EXPECT_EQ(icon(1).cacheKey(), look);
  sim().killCreature(a);
  ASSERT_EQ(model.rowCount(), 1);
  EXPECT_EQ(model.creature(0), b);
}

TEST(ListRules, ColumnStringsAndWidthsByWeight) {
  EXPECT_TRUE(columnShown("10", 0));
  EXPECT_FALSE(columnShown("10", 1));
  EXPECT_TRUE(columnShown("10", 5));
  EXPECT_EQ(toggleColumn("10", 4), "10110");
  EXPECT_EQ(toggleColumn("10", 1), "11");
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
