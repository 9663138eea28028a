#include "genetics/f2/geno_f2.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/random.h"
#include "genetics/genman.h"
#include "support/message_capture.h"

namespace vorlund {
namespace {

std::size_t lineCount(const std::string& s) { return static_cast<std::size_t>(std::count(s.begin(), s.end(), '\n')) + 1; }

TEST(GenoF2, RegisteredForFormatTwo) {
  GenMan gm;
  registerStandardOperators(gm);
  EXPECT_EQ(gm.CheckValidity("/*2*/anything at all ~"), 0);
  // Without a repair of its own, the manager's Validate cannot accept it.
  std::string text = "/*2*/stick (1) (2)";
  EXPECT_EQ(gm.Validate(text), GENMAN_FAILED);
  EXPECT_EQ(text, "/*2*/stick (1) (2)");

  seedRandom(7);
  std::string info;
  ASSERT_EQ(gm.Mutate("Ann", text, info), GENMAN_OK);
  EXPECT_EQ(text.rfind("/*2*/", 0), 0u);
  EXPECT_NE(text[5], '\n');
  EXPECT_EQ(info, "[50.00% mutation of 'Ann']");
}

TEST(GenoF2, MutationNeverShortensOneLineAndCountsFiveReplacements) {
  TGeno_f2 op;
  const std::string parent = "conn G(1 2 3) (4 5 6) 7\n";
  int kinds[4] = {0, 0, 0, 0};
  seedRandom(11);
  for (int i = 0; i < 3000; ++i) {
    std::string body = parent;
    float change = 0.0f;
    ASSERT_EQ(op.Mutate(body, change), 0);
    EXPECT_FLOAT_EQ(change, 0.5f);
    const F2MutationReport& r = op.lastMutation();
    ++kinds[r.kind];
    if (r.kind == 1) {
      EXPECT_EQ(body, parent);  // the only line is not dropped
    }
    if (r.kind == 3) {
      EXPECT_EQ(r.replacements, 5);
      EXPECT_EQ(lineCount(body), lineCount(parent));
    }
  }
  EXPECT_GT(kinds[1], 0);
  EXPECT_GT(kinds[2], 0);
  EXPECT_GT(kinds[3], 2500);
}

TEST(GenoF2, LineKindsDropOrRepeatWholeRecords) {
  TGeno_f2 op;
  const std::string parent = "stick (1) (2)\r\nconn G(2) (3) 4";
  bool dropped = false, repeatedStick = false, repeatedConn = false;
  seedRandom(3);
  for (int i = 0; i < 4000; ++i) {
    std::string body = parent;
    float change = 0.0f;
    op.Mutate(body, change);
    const int kind = op.lastMutation().kind;
    if (kind == 1) {
      EXPECT_TRUE(body == "stick (1) (2) " || body == "conn G(2) (3) 4") << body;
      dropped = true;
    } else if (kind == 2) {
      if (body == "stick (1) (2) \nstick (1) (2) \nconn G(2) (3) 4")
        repeatedStick = true;
      else if (body == "stick (1) (2) \nconn G(2) (3) 4\nconn G(2) (3) 4")
        repeatedConn = true;
      else
        ADD_FAILURE() << body;
    }
  }
  EXPECT_TRUE(dropped && repeatedStick && repeatedConn);
}

TEST(GenoF2, TextWithoutChangeableCharactersDoesNotHang) {
  TGeno_f2 op;
  seedRandom(5);
  for (const std::string& parent : {std::string("stick (a b) (c d)"), std::string(""), std::string("xyz")}) {
    for (int i = 0; i < 200; ++i) {
      std::string body = parent;
      float change = 0.0f;
      EXPECT_EQ(op.Mutate(body, change), 0);
      if (op.lastMutation().kind == 3) {
        EXPECT_EQ(op.lastMutation().replacements, 0);
      }
    }
  }
  // Through the manager the unchanged mutants are retried until a line is repeated.
  GenMan gm;
  registerStandardOperators(gm);
  std::string text = "/*2*/stick (a b) (c d)", info;
  test_support::MessageCapture log;
  const int r = gm.Mutate("x", text, info);
  EXPECT_TRUE(r == GENMAN_OK || r == GENMAN_FAILED);
}

TEST(GenoF2, StyleMarksRecordCharacters) {
  GenMan gm;
  registerStandardOperators(gm);
  const std::string text = "/*2*/stick (1.5) X";
  EXPECT_EQ(gm.Style(text, 0), GENSTYLE_MARKER);
  EXPECT_EQ(gm.Style(text, 5), 0u);                        // s
  EXPECT_EQ(gm.Style(text, 11), 0u);                       // (
  EXPECT_EQ(gm.Style(text, 12), genStyleRgb(200, 0, 0));  // 1
  EXPECT_EQ(gm.Style(text, 13), GENSTYLE_INVALID);         // . is not in the alphabet
  EXPECT_EQ(gm.Style(text, 17), GENSTYLE_INVALID);         // X
  EXPECT_EQ(gm.Style(text, 99), 0u);
  TGeno_f2 op;
  EXPECT_EQ(op.Style("conn @", 5), genStyleRgb(200, 0, 0));
}

}  // namespace
}  // namespace vorlund
