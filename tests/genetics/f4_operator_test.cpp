#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/random.h"
#include "genetics/converters.h"
#include "genetics/f4/f4_cells.h"
#include "genetics/f4/geno_f4.h"
#include "genetics/genman.h"

namespace vorlund {
namespace {

TEST(F4Operator, RegisteredForFormatFour) {
  GenMan gm;
  registerStandardOperators(gm);
  TGeno_fx* op = gm.findOperator('4');
  ASSERT_NE(op, nullptr);
  EXPECT_EQ(op->MarkerNewline(), 1);
  EXPECT_EQ(op->Similarity("/*4*/\nX", "/*4*/\nX"), -2.0f);
  // Its table is part of the manager's chain.
  EXPECT_GE(gm.parameters().findId("geno_f4_mut1add"), 0);
  EXPECT_EQ(gm.wrap('4', "X"), "/*4*/\nX");
}

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

  GenMan gm;
  registerStandardOperators(gm);
  EXPECT_EQ(gm.CheckValidity("/*4*/\nX[q:1]"), 9);
  std::string text = "/*4*/\n<X>";
  EXPECT_EQ(gm.Validate(text), GENMAN_OK);
  EXPECT_EQ(text, "/*4*/\n<X>X>");
}

TEST(F4Operator, MutateReadsChangeAndKindsFollowProbabilities) {
  TGeno_f4 op;
  seedRandom(7);
  std::string body = "<X>N[*:1]";
  float change = 0.1f;
  ASSERT_EQ(op.Mutate(body, change), 0);
  EXPECT_FLOAT_EQ(change, 0.1f);  // read, not written
  EXPECT_NE(body, "<X>N[*:1]");
  EXPECT_GE(op.Validate(body), -1);

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
  EXPECT_GE(op.Validate(a), -1);
  EXPECT_GE(op.Validate(b), -1);
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
  GenMan gm;
  registerStandardOperators(gm);
  EXPECT_EQ(gm.Style(text, 2), GENSTYLE_MARKER);
}

TEST(F4Operator, GenManMutationsAndCrossoversOfVariedGenotypesDevelop) {
  const char* parents[] = {
      "X", "<X>X", "#2L>X", "<<X>X>X", "<<<<X>N@[*:1][-1:2]>N|[G:-0.5][1:1]>X>X", "RRLLC<lX>,<X>cX",
      "<X>N[*:1]<>", "<<X>N[G:1]>,lX", "#3<X>>X", "C<<,X>N|[0:1]>rX",
  };
  GenMan gm;
  registerStandardOperators(gm);
  auto developsToSticks = [](const std::string& text) {
    std::string out;
    return convertF4ToF0(text.substr(GenMan::SkipMarker(text)), out) == 1 && out.find("\nj:") != std::string::npos;
  };
  int made = 0;
  for (uint64_t seed = 1; seed <= 4; ++seed) {
    seedRandom(seed);
    for (const char* p : parents) {
      std::string text = gm.wrap('4', p), info;
      if (gm.Mutate("parent", text, info) == GENMAN_OK) {
        ++made;
        EXPECT_EQ(gm.CheckValidity(text), 0) << p << " -> " << text;
        EXPECT_TRUE(developsToSticks(text)) << text;
        EXPECT_EQ(info, "[10.00% mutation of 'parent']");
      }
      std::string t1 = gm.wrap('4', p), t2 = gm.wrap('4', parents[(seed * 3) % 10]), i1, i2;
      if (gm.CrossOver("a", t1, i1, "b", t2, i2) == GENMAN_OK) {
        ++made;
        for (const std::string& child : {t1, t2}) {
          EXPECT_EQ(gm.CheckValidity(child), 0) << child;
          EXPECT_TRUE(developsToSticks(child)) << child;
        }
      }
    }
  }
  EXPECT_GE(made, 70);
}

}  // namespace
}  // namespace vorlund
