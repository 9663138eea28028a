// Encoding 2: its operator and its conversion (the embryo) to encoding 1.
#include "genetics/f2/geno_f2.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <utility>

#include "core/random.h"
#include "genetics/f2/embryo.h"
#include "genetics/genman.h"
#include "genetics/genoconv.h"
#include "support/message_capture.h"
#include "support/scratch.h"

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

using LogCapture = test_support::MessageCapture;

// Quiet options: no listings, no progress.
std::string convert(const std::string& f2, int* result = nullptr) {
  std::string out;
  const int r = embryoConvert(f2, out, EmbryoOptions{}, "unused");
  if (result) *result = r;
  return out;
}

TEST(Embryo, OneStickWritesItsModifiersThenX) {
  EXPECT_EQ(convert("stick (0 0) (1 1) 5 5 5 5 5 5 5 5 5 5 5"), "X\n");
  // Levels 7, 3 and 5.5 write two upper, two lower and one upper letter; 5 writes none.
  EXPECT_EQ(convert("stick (0 0) (1 1) 7 3 5.5 5 5 5 5 5 5 5 5"), "RRqqCX\n");
  EXPECT_EQ(convert("stick (0) (1) 5 5 5 5 5 5 5 5 5 4 7"), "i  X\n");
  // Missing levels write nothing; a list may be separated by commas and tabs.
  EXPECT_EQ(convert("stick (0,\t0) (1, 1)"), "X\n");
  EXPECT_EQ(convert("stick (0) (1) 0"), "rrrrrX\n");
  // Absurd levels write a bounded run; numbers that are not finite read as 0.
  EXPECT_EQ(convert("stick (0) (1) 1e300"), std::string(50, 'R') + "X\n");
  EXPECT_EQ(convert("stick (nan) (inf) nan"), "rrrrrX\n");
}

TEST(Embryo, AnyRecordSoupConvertsOrFailsCleanly) {
  const std::string alphabet = "stickconn()GTS*@|0123456789 .,-\n";
  seedRandom(21);
  for (int i = 0; i < 300; ++i) {
    std::string text;
    const int len = rndBelow(120);
    for (int k = 0; k < len; ++k) text += alphabet[static_cast<std::size_t>(rndBelow(static_cast<int>(alphabet.size())))];
    LogCapture log;
    std::string out;
    const int r = embryoConvert(text, out, EmbryoOptions{}, "unused");
    if (r == 1) {
      EXPECT_EQ(out.back(), '\n');
      EXPECT_NE(out.find('X'), std::string::npos);
    } else {
      EXPECT_EQ(log.entries.size(), 1u);
    }
  }
}

TEST(Embryo, SticksJoinEndToEndAndBranchAtTheBestNodeNewestFirst) {
  // The ends at 10 meet; the stick listed first is written first.
  EXPECT_EQ(convert("stick (0) (10) 7\nstick (10) (20) 3\n"), "RRXrrX\n");
  // Listed the other way round the same ends meet, now with stick 0 turned.
  EXPECT_EQ(convert("stick (10) (20) 3\nstick (0) (10) 7"), "rrXRRX\n");
  // Differences below one unit count as equal ends; the first best pair wins.
  EXPECT_EQ(convert("stick (0) (10.9) 7\nstick (10) (20) 3\n"), "RRXrrX\n");
  // A third stick branches at the best node, newest first.
  EXPECT_EQ(convert("stick (0) (10)\nstick (10) (20) 7\nstick (10) (30) 3"), "X(rrX,RRX)\n");
  // A short vector is padded with zeros: (10) is (10 0), which meets (10 0) of
  // the third stick better than (10 5) of the second; the second then joins there too.
  EXPECT_EQ(convert("stick (0 0) (10)\nstick (10 5) (20 5) 7\nstick (10 0) (30 9) 3"), "X(RRX,rrX)\n");
}

TEST(Embryo, ConnectionsAttachToTheirBestMatchesAndNeedNeurons) {
  const std::string f2 =
      "stick (0) (10)\n"
      "stick (10) (20)\n"
      "conn G(15) (100) 0.5\n"  // neuron at the middle of stick 1
      "conn T(5) (200) 1.5\n"   // neuron at the middle of stick 0
      "conn (100) (5) 2\n"      // link from the G neuron into the T neuron
      "conn (200) @(5) 0.7\n";  // muscle on stick 0 driven by the T neuron
  // Writing order numbers T 0, the muscle neuron 1, G 2.
  EXPECT_EQ(convert(f2), "X[T:1.5,2:0.5][@-1:0.7]X[G:0.5]\n");
  // Muscles and links need neurons.
  EXPECT_EQ(convert("stick (0) (1)\nconn (0) @(0) 1\nconn (0) (0) 1"), "X\n");
  // Two muscles of one kind share one muscle neuron; "|" muscles get their own.
  EXPECT_EQ(convert("stick (0) (2)\nconn *(1) (0) 1\nconn (0) @(1) 0.1\nconn (0) @(1) 0.2\nconn (0) |(1) 0.3"),
            "X[*:1][@-1:0.1,-1:0.2][|-2:0.3]\n");
}

TEST(Embryo, BadLinesFailWithCriticalMessages) {
  const std::pair<const char*, const char*> cases[] = {  // the text and what is said about it
      {"stick 0 0 1 1", "Required value '(' in line 1 not found."},
      {"stick (0) (1)\nstick (0 (1", "Required value ')' in line 2 not found."},
      {"stick (0) (1)\n\nblob (0) (1)", "Unknown object type in line 3 instead of stick or conn."},
      {"\n\n", "No stick found."},
      {"conn G(0) (1) 1", "No stick found."},
  };
  for (const auto& [input, message] : cases) {
    LogCapture log;
    std::string out = "untouched";
    EXPECT_EQ(embryoConvert(input, out, EmbryoOptions{}, "unused"), 0) << input;
    EXPECT_EQ(out, "untouched") << input;
    ASSERT_EQ(log.entries.size(), 1u) << input;
    EXPECT_EQ(log.entries[0].module, "f2");
    EXPECT_TRUE(log.has("err", message)) << input;
  }
}

TEST(Embryo, RegistryConvertsEncodingTwoThroughEncodingOne) {
  GenoConvManager conv;
  std::string out;
  EXPECT_EQ(conv.Convert("/*2*/stick (0) (1) 7", '1', out), 1);
  EXPECT_EQ(out, "RRX\n");
  LogCapture log;
  EXPECT_EQ(conv.Convert("/*2*/conn G(0) (1) 1", '1', out), 0);
  EXPECT_EQ(out, "/* f2->f1 conversion failed (f2 -> f1) */");
}

TEST(Embryo, OptionsFileIsWrittenWhenMissingAndReadByPosition) {
  test_support::ScratchDir dir;
  const std::string path = dir.file("parametr.txt");

  EmbryoOptions o = readEmbryoOptions(path);
  EXPECT_EQ(o.writeOnlyStkAndF1, 1);
  EXPECT_EQ(o.moreInformations, 0);
  EXPECT_EQ(dir.read(path).rfind("1-WriteOnly_STK_And_F1_Files: 1\n2-WriteMoreInformations:      0", 0), 0u);
  EXPECT_EQ(readEmbryoOptions(path).writeOnlyStkAndF1, 1);

  dir.write("parametr.txt", "a 0\nb 1\n");
  o = readEmbryoOptions(path);
  EXPECT_EQ(o.writeOnlyStkAndF1, 0);
  EXPECT_EQ(o.moreInformations, 1);
  dir.write("parametr.txt", "a 7\nb 7\n");
  o = readEmbryoOptions(path);
  EXPECT_EQ(o.writeOnlyStkAndF1, 1);
  EXPECT_EQ(o.moreInformations, 0);
}

TEST(Embryo, ListingsAreWrittenOnlyWhenAsked) {
  test_support::ScratchDir dir;
  const std::string base = dir.file("_temp");
  const std::string f2 = "stick (0) (10)\nstick (10) (20)\nconn G(5) (0) 1\nconn (0) |(15) 1";
  std::string out;
  ASSERT_EQ(embryoConvert(f2, out, EmbryoOptions{}, base), 1);
  EXPECT_FALSE(std::filesystem::exists(base + ".f3"));

  EmbryoOptions listings;
  listings.writeOnlyStkAndF1 = 0;
  ASSERT_EQ(embryoConvert(f2, out, listings, base), 1);
  const std::string graph = dir.read(base + ".f3");
  EXPECT_EQ(graph.rfind("[ 0] -> ([ 1][ 0][ 0]) -> NULL\n[ 1] -> ([ 2][ 1][ 0]) -> ([ 0][ 0][ 1]) -> NULL\n", 0), 0u);
  // The second line of the muscle listing.
  EXPECT_NE(dir.read(base + ".2f3").find("\n[ 1] -> ((|)[ 0]) -> NULL\n"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(base + ".1f3"));
}

}  // namespace
}  // namespace vorlund
