#include "ui/genotype_editor.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "genetics/genman.h"
#include "ui/prompt_service.h"

using namespace vorlund;
using namespace vorlund::ui;

namespace {

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

struct EditorTest : ::testing::Test {
  EditorTest() { registerStandardOperators(gm); }
  GenMan gm;
  GenotypeEditor editor{&gm};
  ScriptedPrompts script;
  ScopedPromptService use{&script};

  void leave() {
    editor.userLeft();
    editor.settle();
  }
};

}  // namespace

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

TEST_F(EditorTest, TypedCharactersOutsideTheAlphabetAreRefused) {
  editor.setGenotype("X");
  editor.edit()->moveCursor(QTextCursor::End);
  QTest::keyClicks(editor.edit(), "ZX(");
  EXPECT_EQ(editor.genotype(), "XX(");
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
