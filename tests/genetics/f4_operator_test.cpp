#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/random.h"
#include "genetics/f4/f4_cells.h"
#include "genetics/f4/geno_f4.h"
#include "genetics/genman.h"

namespace vorlund {
namespace {

TEST(F4Operator, ValidateRepairsOrReportsPositions) {
  TGeno_f4 op;
  std::string body = "X";
  EXPECT_EQ(op.Validate(body), 0);
  EXPECT_EQ(body, "X");  // a valid text is left as written

  body = "<X>";
  EXPECT_EQ(op.Validate(body), -1);
  EXPECT_EQ(body, "<X>X>");  // the missing stick is inserted

  body = "X<X>X";
  EXPECT_EQ(op.CheckValidity(body), -1);
  EXPECT_EQ(op.Validate(body), -1);
  EXPECT_EQ(op.CheckValidity(body), 0);

  body = "X[q:1]";
  EXPECT_EQ(op.Validate(body), 3);
  EXPECT_EQ(body, "X[q:1]");
  body = "[";
  EXPECT_EQ(op.Validate(body), 1);  // kept inside the text
  body = "X>X";
  EXPECT_EQ(op.Validate(body), F4_ERR_NOPOS);
  body = "";
  EXPECT_EQ(op.CheckValidity(body), 1);
  body = std::string(F4_VALIDATE_REPAIRS + 1, '@') + "X";
  EXPECT_EQ(op.CheckValidity(body), F4_VALIDATE_REPAIRS + 1);

  // Registered with the manager, which wraps the repair in the marker and its line break.
  GenMan gm;
  registerStandardOperators(gm);
  EXPECT_EQ(gm.CheckValidity("/*4*/\nX[q:1]"), 9);
  std::string text = "/*4*/\n<X>";
  EXPECT_EQ(gm.Validate(text), GENMAN_OK);
  EXPECT_EQ(text, "/*4*/\n<X>X>");
  EXPECT_EQ(gm.Similarity(text, text), -2.0f);  // no similarity measure of its own
}

// That offspring are valid or repairable is checked on every input of the f4 fuzz corpus.
TEST(F4Operator, MutateReadsChangeAndKindsFollowProbabilities) {
  TGeno_f4 op;
  seedRandom(7);
  std::string body = "<X>N[*:1]";
  float change = 0.1f;
  ASSERT_EQ(op.Mutate(body, change), 0);
  EXPECT_FLOAT_EQ(change, 0.1f);  // read, not written
  EXPECT_NE(body, "<X>N[*:1]");

  change = 0.0f;
  body = "<X>X";
  ASSERT_EQ(op.Mutate(body, change), 0);
  EXPECT_EQ(body, "<X>X");  // nothing changed, so not even tidied

  // Only additions of divisions.
  op.vars.mut1add = 1.0;
  op.vars.mutAdd2div = 1.0;
  body = "X";
  change = 1.0f;
  ASSERT_EQ(op.Mutate(body, change), 0);
  EXPECT_EQ(std::count(body.begin(), body.end(), '<'), 2);

  // Only changes: the one division swaps its branches.
  op.vars.mut1add = 0.0;
  op.vars.mut1del = 0.0;
  body = "<lX>X";
  change = 0.01f;
  ASSERT_EQ(op.Mutate(body, change), 0);
  EXPECT_EQ(body, "<X>lX>");

  // A repetition count stays within its limits.
  body = "#19L>X";
  for (int i = 0; i < 30; ++i) ASSERT_EQ(op.Mutate(body, change), 0);
  const int count = std::stoi(body.substr(1));
  EXPECT_GE(count, F4_MIN_REPEAT);
  EXPECT_LE(count, F4_MAX_REPEAT);

  // Only deletions: codes go away, and the stick stays (repaired back when deleted).
  op.vars.mut1del = 1.0;
  body = "RRRRX";
  for (int i = 0; i < 10; ++i) ASSERT_EQ(op.Mutate(body, change), 0);
  EXPECT_LT(std::count(body.begin(), body.end(), 'R'), 4);
  EXPECT_EQ(std::count(body.begin(), body.end(), 'X'), 1);
  body = "X>X";  // two programs cannot be mutated
  EXPECT_EQ(op.Mutate(body, change), F4_ERR_NOPOS);
}

TEST(F4Operator, CrossOverExchangesSubtrees) {
  TGeno_f4 op;
  seedRandom(11);
  std::string a = "<<X>LLX>lX", b = "<<X>N[*:2]>RRX";
  float c1 = 0.5f, c2 = 0.5f;
  ASSERT_EQ(op.CrossOver(a, b, c1, c2), 0);
  EXPECT_FLOAT_EQ(c1, 0.5f);
  EXPECT_TRUE(a != "<<X>LLX>lX>" || b != "<<X>N[*:2]>RRX>");

  std::string bad = "X>X", good = "X";
  EXPECT_EQ(op.CrossOver(bad, good, c1, c2), F4_ERR_NOPOS);

  // The size window picks whole programs when a child keeps nothing of its parent.
  f4tree x, y;
  ASSERT_EQ(x.parse("LX"), F4_PARSE_OK);
  ASSERT_EQ(y.parse("<X>X"), F4_PARSE_OK);
  ASSERT_TRUE(exchangeSubtrees(x, y, 0.0));
  EXPECT_EQ(x.write(), "<X>X>");
  EXPECT_EQ(y.write(), "LX>");
}

TEST(F4Operator, StyleColoursCodes) {
  TGeno_f4 op;
  const std::string text = "/*4*/\n<X>N[*:1]#Q";
  EXPECT_EQ(op.Style(text, 5), 0u);  // the marker's line break is white space
  EXPECT_EQ(op.Style(text, 6), GENSTYLE_BOLD | genStyleRgb(0, 0, 200));
  EXPECT_EQ(op.Style(text, 7), 0u);
  EXPECT_EQ(op.Style(text, 8), genStyleRgb(0, 0, 100));
  EXPECT_EQ(op.Style(text, 9), 0xC800u);
  EXPECT_EQ(op.Style(text, 10), 0x9600u);
  EXPECT_EQ(op.Style(text, 13), 0x646464u);
  EXPECT_EQ(op.Style(text, 15), GENSTYLE_STRIKEOUT);
  EXPECT_EQ(op.Style(text, 16), GENSTYLE_INVALID);
  EXPECT_EQ(op.Style(text, 99), 0u);
}

}  // namespace
}  // namespace vorlund
