// The parameter dialog, its genotype editor and the rules behind its controls.
#include "ui/param_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTreeWidget>
#include <cstddef>
#include <string>

#include "core/param.h"
#include "genetics/genman.h"
#include "ui/genotype_editor.h"
#include "ui/param_rules.h"
#include "ui/prompt_service.h"

using namespace vorlund;
using namespace vorlund::ui;

namespace {

struct Settings {
  int32_t demo = 20;
  int32_t step = 5;
  double real = 0.123456789;
  std::string name = "abc";
  int32_t flag = 1;
  int32_t mode = 1;
  int32_t locked = 3;
  std::string file = "scene";
  std::string genes = "X";
  double count = 12.5;
};

#define FIELD(f) static_cast<int32_t>(offsetof(Settings, f))
constexpr ParamEntry kTab[] = {
    paramHeader("Interface", 2, 10, "int:"),
    paramGroup("POV-Ray: Files"),
    {"int_demotimebase", 0, "Demo time base [sec]", "d 10 60", FIELD(demo), nullptr},
    {"step", 0, "Step", "d 0 50", FIELD(step), nullptr},
    {"real", 0, "Real", "f 0 1", FIELD(real), nullptr},
    {"name", 0, "Name", "s 0 10", FIELD(name), nullptr},
    {"flag", 0, "Flag", "d 0 1", FIELD(flag), nullptr},
    {"mode", 0, "Mode", "d 0 2 ~Off~Fake~True", FIELD(mode), nullptr},
    {"locked", 0 | PF_READONLY, "Locked", "d 0 5", FIELD(locked), nullptr},
    {"file", 1, "File", "s 0 100", FIELD(file), nullptr},
    {"genes", 0, "Genotype", "s 1 9999", FIELD(genes), nullptr},
    {"count", 0 | PF_READONLY, "Count", "f", FIELD(count), nullptr},
    paramEnd(),
};
#undef FIELD
static_assert(paramTableValid(kTab));

enum { kDemo, kStep, kReal, kName, kFlag, kMode, kLocked, kFile, kGenes, kCount };

void typeInto(QWidget* w, const QString& text) {
  auto* line = qobject_cast<QLineEdit*>(w);
  ASSERT_NE(line, nullptr);
  line->selectAll();
  QTest::keyClicks(line, text);
}

void press(ParamDialog& d, const char* button) { d.findChild<QPushButton*>(button)->click(); }

struct DialogTest : ::testing::Test {
  DialogTest() { registerStandardOperators(gm); }
  Settings s;
  param acc{kTab, &s};
  GenMan gm;
  ScriptedPrompts script;
  ScopedPromptService use{&script};
};

// The character format the highlighter gave to document position `at`.
QTextCharFormat shownFormat(QTextDocument* doc, int at) {
  const QTextBlock block = doc->findBlock(at);
  const int inBlock = at - block.position();
  for (const QTextLayout::FormatRange& r : block.layout()->formats())
    if (inBlock >= r.start && inBlock < r.start + r.length) return r.format;
  return {};
}

bool sameLook(const QTextCharFormat& a, const QTextCharFormat& b) {
  return a.foreground().color() == b.foreground().color() && a.fontUnderline() == b.fontUnderline() &&
         a.fontWeight() == b.fontWeight() && a.fontItalic() == b.fontItalic() && a.fontStrikeOut() == b.fontStrikeOut();
}

// The genotype editor on its own, as the dialog shows it for a genotype row.
struct EditorTest : DialogTest {
  GenotypeEditor editor{&gm};

  void leave() {
    editor.userLeft();
    editor.settle();
  }
};

}  // namespace

TEST_F(DialogTest, TreeNestsGroupPathsAndMakesOneControlPerType) {
  ParamDialog d(nullptr, acc, false, "Options");
  QTreeWidget* tree = d.groupTree();
  ASSERT_EQ(tree->topLevelItemCount(), 2);
  EXPECT_EQ(tree->topLevelItem(0)->text(0), "Interface");
  QTreeWidgetItem* pov = tree->topLevelItem(1);
  EXPECT_EQ(pov->text(0), "POV-Ray");
  ASSERT_EQ(pov->childCount(), 1);
  EXPECT_EQ(pov->child(0)->text(0), "Files");

  EXPECT_EQ(d.shownGroup(), "Interface");
  EXPECT_NE(qobject_cast<QCheckBox*>(d.controlFor(kFlag)), nullptr);
  auto* mode = qobject_cast<QComboBox*>(d.controlFor(kMode));
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(mode->count(), 3);
  EXPECT_EQ(mode->currentText(), "Fake");
  EXPECT_EQ(d.controlFor(kStep)->toolTip(), "(integer 0\u00F7" "50)");
  EXPECT_EQ(d.controlFor(kFile), nullptr);
  EXPECT_FALSE(d.controlFor(kLocked)->isEnabled());

  ASSERT_TRUE(d.showGroup("POV-Ray:Files"));
  EXPECT_NE(d.controlFor(kFile), nullptr);
  EXPECT_EQ(d.controlFor(kFlag), nullptr);
}

TEST_F(DialogTest, ApplyStoresClampedValuesAndListsEachInOneBox) {
  ParamDialog d(nullptr, acc, false, "Options");
  typeInto(d.controlFor(kDemo), "5");
  typeInto(d.controlFor(kStep), "99");
  press(d, "apply");
  EXPECT_EQ(s.demo, 10);
  EXPECT_EQ(s.step, 50);
  ASSERT_EQ(script.shown.size(), 1u);
  EXPECT_EQ(script.shown[0].title, "Bounds warning");
  EXPECT_EQ(script.shown[0].kind, PromptKind::Critical);
  EXPECT_EQ(script.shown[0].text,
            "Demo time base [sec] value (in 'Interface') too small (adjusted to 10)\n"
            "Step value (in 'Interface') too big (adjusted to 50)\n");
  // The controls now show what was stored.
  EXPECT_EQ(qobject_cast<QLineEdit*>(d.controlFor(kDemo))->text(), "10");
  EXPECT_TRUE(d.changed());
}

TEST_F(DialogTest, OkWithoutEditsChangesNothingAndCancelAppliesNothing) {
  {
    ParamDialog d(nullptr, acc, false, "Options");
    d.showGroup("POV-Ray:Files");
    d.showGroup("Interface");
    press(d, "ok");
    EXPECT_TRUE(d.confirmed());
    EXPECT_EQ(d.resultFlags(), 0);
    EXPECT_EQ(s.real, 0.123456789);
  }
  {
    ParamDialog d(nullptr, acc, false, "Options");
    typeInto(d.controlFor(kName), "other");
    qobject_cast<QCheckBox*>(d.controlFor(kFlag))->click();
    press(d, "cancel");
    EXPECT_FALSE(d.confirmed());
    EXPECT_EQ(s.name, "abc");
    EXPECT_EQ(s.flag, 1);
  }
  EXPECT_TRUE(script.shown.empty());
}

TEST_F(DialogTest, SliderSpinCheckAndChoiceWriteTheirValues) {
  ParamDialog d(nullptr, acc, false, "Options");
  QWidget* step = d.controlFor(kStep)->parentWidget();
  auto* slider = step->findChild<QSlider*>();
  auto* spin = step->findChild<QSpinBox*>();
  ASSERT_TRUE(slider && spin);
  EXPECT_EQ(slider->tickInterval(), 5);
  spin->setValue(7);
  EXPECT_EQ(slider->value(), 7);
  qobject_cast<QCheckBox*>(d.controlFor(kFlag))->click();
  auto* mode = qobject_cast<QComboBox*>(d.controlFor(kMode));
  mode->setCurrentIndex(2);
  emit mode->activated(2);
  press(d, "ok");
  EXPECT_EQ(s.step, 7);
  EXPECT_EQ(s.flag, 0);
  EXPECT_EQ(s.mode, 2);
  EXPECT_EQ(s.real, 0.123456789);
}

TEST_F(DialogTest, EditsWaitAcrossGroupSwitchesUntilOkAndCancelDropsThem) {
  for (const bool ok : {false, true}) {
    ParamDialog d(nullptr, acc, false, "Options");
    typeInto(d.controlFor(kName), "kept");
    d.showGroup("POV-Ray:Files");
    typeInto(d.controlFor(kFile), "frame%d");
    d.showGroup("Interface");
    EXPECT_EQ(qobject_cast<QLineEdit*>(d.controlFor(kName))->text(), "kept");  // still shown as typed
    press(d, ok ? "ok" : "cancel");
    EXPECT_EQ(s.name, ok ? "kept" : "abc");
    EXPECT_EQ(s.file, ok ? "frame%d" : "scene");
  }
}

TEST_F(DialogTest, TypedNumbersMoveSliderAndSpinAndRealsAndReadOnlyValuesShowAsTheyAre) {
  s.real = 0.5;
  ParamDialog d(nullptr, acc, false, "Options");
  typeInto(d.controlFor(kStep), "12");
  QWidget* step = d.controlFor(kStep)->parentWidget();
  EXPECT_EQ(step->findChild<QSlider*>()->value(), 12);
  EXPECT_EQ(step->findChild<QSpinBox*>()->value(), 12);
  auto* real = d.controlFor(kReal)->parentWidget()->findChild<QDoubleSpinBox*>();
  ASSERT_NE(real, nullptr);
  EXPECT_EQ(real->text(), "0.5");
  real->stepUp();
  EXPECT_EQ(qobject_cast<QLineEdit*>(d.controlFor(kReal))->text(), "0.6");
  auto* count = d.controlFor(kCount)->parentWidget()->findChild<QDoubleSpinBox*>();
  ASSERT_NE(count, nullptr);
  EXPECT_EQ(count->text(), "12.5");
  EXPECT_FALSE(count->isEnabled());
}

TEST_F(DialogTest, ReadOnlyDialogDisablesEveryControl) {
  ParamDialog d(nullptr, acc, true, "Simulated individual data");
  for (int i : {kDemo, kStep, kReal, kName, kFlag, kMode, kLocked}) EXPECT_FALSE(d.controlFor(i)->isEnabled()) << i;
  press(d, "apply");
  press(d, "ok");
  EXPECT_EQ(d.resultFlags(), 0);
  EXPECT_EQ(s.demo, 20);
}

TEST_F(DialogTest, ValuesARecordCannotHoldAreRefusedWithAWarning) {
  ParamDialog d(nullptr, acc, false, "Options");
  typeInto(d.controlFor(kName), "~x");
  press(d, "ok");
  EXPECT_EQ(s.name, "abc");
  ASSERT_EQ(script.shown.size(), 1u);
  EXPECT_NE(script.shown[0].text.indexOf("Name value (in 'Interface')"), -1);
}

TEST_F(DialogTest, LabelledValueOutsideItsLabelsShowsAsANumber) {
  s.mode = 7;
  ParamDialog d(nullptr, acc, false, "Options");
  EXPECT_EQ(qobject_cast<QComboBox*>(d.controlFor(kMode))->currentText(), "7");
  press(d, "ok");
  EXPECT_EQ(s.mode, 7);
}

TEST_F(DialogTest, GoingBackToAQuestionedGenotypeKeepsTheDialogOpen) {
  ParamDialog d(nullptr, acc, false, "Genotype data", &gm);
  GenotypeEditor* editor = d.genotypeEditor();
  ASSERT_NE(editor, nullptr);
  editor->edit()->moveCursor(QTextCursor::End);
  QTest::keyClicks(editor->edit(), "(X,X),X");
  script.answers = {PromptAnswer::No, PromptAnswer::Yes};
  editor->userLeft();
  press(d, "ok");
  EXPECT_FALSE(d.confirmed());
  EXPECT_EQ(s.genes, "X");
  editor->userLeft();
  press(d, "ok");
  EXPECT_TRUE(d.confirmed());
  EXPECT_EQ(s.genes, "X(X,X),X");
}

TEST_F(DialogTest, OkPressedOnceAnswersAnInvalidGenotype) {
  ParamDialog d(nullptr, acc, false, "Genotype data", &gm);
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  GenotypeEditor* editor = d.genotypeEditor();
  editor->edit()->setFocus();
  editor->edit()->moveCursor(QTextCursor::End);
  QTest::keyClicks(editor->edit(), "(X,X),X");
  script.answers = {PromptAnswer::Yes};
  auto* ok = d.findChild<QPushButton*>("ok");
  QTest::mousePress(ok, Qt::LeftButton);
  QTest::qWait(60);  // the press moved the focus: the check must wait for the release
  QTest::mouseRelease(ok, Qt::LeftButton);
  EXPECT_TRUE(d.confirmed());
  EXPECT_EQ(s.genes, "X(X,X),X");
}

TEST_F(EditorTest, EveryCharacterWearsItsStyleWordInEachEncoding) {
  for (const std::string text : {"X(X[|G:1],RX)", "/*2*/stick (1.5) X", "/*4*/\n<X>N[*:1]#Q"}) {
    editor.setGenotype(QString::fromLatin1(text.c_str()));
    for (int at = 0; at < static_cast<int>(text.size()); ++at) {
      if (text[static_cast<std::size_t>(at)] == '\n') continue;
      EXPECT_TRUE(sameLook(shownFormat(editor.edit()->document(), at), formatForStyle(gm.Style(text, at))))
          << text << " at " << at;
    }
  }
}

TEST_F(EditorTest, StatusLineNamesFormatAndVerdict) {
  const struct {
    const char* text;
    const char* status;
  } cases[] = {
      {"X(X,X)", "Genotype, format #1\n[Valid]"},
      {"X[1:1]", "Genotype, format #1\n[Invalid, I can correct]"},
      {"XL", "Genotype, format #1\n[NOT Valid]"},
      {"/*9*/abc", "Genotype, format #9\n[Cannot check]"},
  };
  for (const auto& c : cases) {
    editor.setGenotype(c.text);
    EXPECT_EQ(editor.statusText(), c.status);
  }
}

TEST_F(EditorTest, TypedCharactersOutsideTheAlphabetAreRefusedAndTheStatusLineSaysWhy) {
  editor.setGenotype("X");
  editor.edit()->moveCursor(QTextCursor::End);
  QTest::keyClicks(editor.edit(), "Z");
  EXPECT_TRUE(editor.statusText().endsWith("\n'Z' is not part of format #1: refused")) << editor.statusText().toStdString();
  QTest::keyClicks(editor.edit(), "X(");
  EXPECT_EQ(editor.genotype(), "XX(");
  EXPECT_FALSE(editor.statusText().contains("refused"));
}

TEST_F(EditorTest, AnErrorAtTheEndMarksTheLastCharacter) {
  editor.setGenotype("X(X,");  // the error is reported at position 5, past the text
  script.answers = {PromptAnswer::No};
  leave();
  ASSERT_EQ(editor.highlighter()->errorPosition(), 5);
  EXPECT_TRUE(shownFormat(editor.edit()->document(), 3).fontUnderline());
}

TEST_F(EditorTest, LeavingAnUnrepairableGenotypeAsksAndMarksTheError) {
  editor.setGenotype("X(X,X),X");
  script.answers = {PromptAnswer::No, PromptAnswer::Yes};
  leave();
  ASSERT_EQ(script.shown.size(), 1u);
  EXPECT_EQ(script.shown[0].title, "Warning");
  EXPECT_EQ(script.shown[0].text, "Invalid genotype - error near position 7!\nIgnore?");
  EXPECT_EQ(editor.highlighter()->errorPosition(), 7);
  for (int at = 0; at < 8; ++at) {
    const bool marked = at >= 6;
    EXPECT_EQ(shownFormat(editor.edit()->document(), at).fontUnderline(), marked) << at;
  }
  leave();
  ASSERT_EQ(script.shown.size(), 3u);
  EXPECT_EQ(script.shown[2].kind, PromptKind::Critical);
  EXPECT_EQ(script.shown[2].title, "Error message");
  EXPECT_EQ(script.shown[2].text, "The genotype is invalid and useless now");
  EXPECT_EQ(editor.genotype(), "X(X,X),X");
}

TEST_F(EditorTest, LeavingARepairableGenotypeRepairsItOnlyAfterYes) {
  editor.setGenotype("X[1:1]");
  script.answers = {PromptAnswer::No, PromptAnswer::Yes};
  leave();
  EXPECT_EQ(editor.genotype(), "X[1:1]");
  leave();
  ASSERT_EQ(script.shown.size(), 2u);
  EXPECT_EQ(script.shown[1].text, "Invalid genotype - correct it?");
  std::string repaired = "X[1:1]";
  gm.Validate(repaired);
  EXPECT_EQ(editor.genotype().toStdString(), repaired);
  EXPECT_EQ(editor.statusText(), "Genotype, format #1\n[Valid]");
  // A valid genotype leaves without a question; a check is not asked twice.
  leave();
  editor.settle();
  EXPECT_EQ(script.shown.size(), 2u);
}

TEST(ParamRules, ControlKindForEveryTypeForm) {
  const struct {
    const char* type;
    const char* label;
    ControlKind kind;
  } cases[] = {
      {"s 1 9999", "Genotype", ControlKind::GenotypeEditor},
      {"s 1 9999", "f0 Genotype", ControlKind::MultiLineText},
      {"s 1 999", "Info", ControlKind::MultiLineText},
      {"s", "Status", ControlKind::LineEdit},
      {"s 0 30", "Genotype", ControlKind::LineEdit},
      {"s 2 100", "Path", ControlKind::LineEdit},
      {"d 0 1", "Fog", ControlKind::CheckBox},
      {"d 0 1 ~No~Yes", "Labelled", ControlKind::Choice},
      {"d 0 2 ~Off~Fake (pattern)~True (RGB)", "Mode", ControlKind::Choice},
      {"d 0 2", "Level", ControlKind::IntegerEdit},
      {"d", "Count", ControlKind::IntegerEdit},
      {"f 0.2 2", "Zoom", ControlKind::RealEdit},
      {"f", "Fitness", ControlKind::RealEdit},
      {"x", "Odd", ControlKind::None},
  };
  for (const auto& c : cases) EXPECT_EQ(controlKindFor(c.type, c.label), c.kind) << c.type << " " << c.label;
  EXPECT_EQ(choiceLabels("d 0 2 ~Off~Fake (pattern)~True (RGB)"),
            (std::vector<std::string>{"Off", "Fake (pattern)", "True (RGB)"}));
}

TEST(ParamRules, HintsNameTheKindAndBounds) {
  EXPECT_EQ(numericHint("f 0.2 2"), "(real 0.2\xC3\xB7" "2)");
  EXPECT_EQ(numericHint("d"), "(integer)");
  EXPECT_EQ(numericHint("f"), "(real)");
}

TEST(ParamRules, SliderTicksAndSpinFollowTheBounds) {
  const struct {
    const char* type;
    bool slider;
    int tick;
    bool spin;
  } cases[] = {
      {"d 0 50", true, 5, true},       {"d 10 60", true, 5, true},     {"d 0 100", true, 10, true},
      {"d 0 1000", true, 100, true},   {"f -10000 10000", true, 2000, true},
      {"d 0 2", true, 1, true},        {"f 0.2 2", false, 1, true},    {"d 0 1", false, 1, true},
      {"d 3 3", false, 1, false},      {"d", false, 1, false},         {"d 0 100000", true, 10000, false},
      {"d -2147483648 2147483647", true, 429496000, false},            {"f -1e300 1e300", false, 1, false},
  };
  for (const auto& c : cases) {
    const NumericControls n = numericControls(c.type, false);
    EXPECT_EQ(n.slider, c.slider) << c.type;
    if (c.slider) {
      EXPECT_EQ(n.tickFrequency, c.tick) << c.type;
    }
    EXPECT_EQ(n.spinEnabled, c.spin) << c.type;
  }
  EXPECT_FALSE(numericControls("d 0 50", true).spinEnabled);
  const NumericControls zoom = numericControls("f 0.2 2", false);
  EXPECT_EQ(zoom.spinMin, 1);
  EXPECT_EQ(zoom.spinMax, 2);
}

TEST(ParamRules, GroupPathsSplitAtColonsAndTrim) {
  EXPECT_EQ(splitGroupPath("World"), (std::vector<std::string>{"World"}));
  EXPECT_EQ(splitGroupPath("A :B: C"), (std::vector<std::string>{"A", "B", "C"}));
}

TEST(ParamRules, WarningLinesOnlyForHitBoundsAndLongValuesShortened) {
  EXPECT_EQ(boundsWarningLine("Name", "Genotype", PSET_CHANGED, "x"), "");
  const std::string line = boundsWarningLine("G", "g", PSET_HITMAX, std::string(500, 'X'));
  EXPECT_LT(line.size(), 120u);
  EXPECT_NE(line.find("...)"), std::string::npos);
}

TEST(ParamRules, TildesThatARecordCannotReadBackAreRefused) {
  EXPECT_TRUE(breaksRecordFormat("~abc"));
  EXPECT_TRUE(breaksRecordFormat("line\nwith ~ tilde"));
  EXPECT_TRUE(breaksRecordFormat(std::string(60, 'a') + "~"));
  EXPECT_FALSE(breaksRecordFormat("short a~b"));
  EXPECT_FALSE(breaksRecordFormat(""));
  EXPECT_EQ(joinLines("a\r\nb\r\n"), "a\nb\n");
}
