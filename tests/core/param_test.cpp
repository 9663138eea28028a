// Parameter tables: setting and reading values through them, chains of tables,
// and the records and compact lines they are written to and read from.
#include "core/param.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "core/record.h"

namespace vorlund {
namespace {

struct Sample {
  int32_t count = 0;
  double ratio = 0.0;
  std::string label;
  int32_t fixed = 7;
  double free = 0.0;
};

constexpr ParamTab kSampleTab[] = {
    paramHeader("Sample", 2, 5, "sample:"),
    paramGroup("Second"),
    {"count", 0, "Count", "d 0 2000", offsetof(Sample, count), "how many"},
    {"ratio", 1, "Ratio", "f -1 1", offsetof(Sample, ratio), nullptr},
    {"label", 0, "Label", "s 0 30", offsetof(Sample, label), nullptr},
    {"fixed", 1 | PF_READONLY, "Fixed", "d", offsetof(Sample, fixed), nullptr},
    {"free", 1, "Free", "f", offsetof(Sample, free), nullptr},
    paramEnd(),
};
static_assert(paramTableValid(kSampleTab));

struct Other {
  int32_t speed = 3;
  std::string note;
};

constexpr ParamTab kOtherTab[] = {
    paramHeader("Other", 1, 2, nullptr),
    {"speed", 0, "Speed", "d 1 10 ~Slow~Fast", offsetof(Other, speed), nullptr},
    {"note", 0, "Note", "s", offsetof(Other, note), nullptr},
    paramEnd(),
};
static_assert(paramTableValid(kOtherTab));

TEST(Param_Set, ClampsCutsReportsBitsAndRefusesReadOnly) {
  Sample s;
  param p(kSampleTab, &s);
  const std::string thirty(30, 'a');
  // The parameter, the text set, the answer and the text read back.
  const std::tuple<int, std::string, int, std::string> cases[] = {
      {0, "5000", PSET_CHANGED | PSET_HITMAX, "2000"},
      {0, "5000", PSET_HITMAX, "2000"},
      {0, "-3", PSET_CHANGED | PSET_HITMIN, "0"},
      {0, " 12abc", PSET_CHANGED, "12"},
      {0, "not a number", PSET_CHANGED, "0"},
      {0, "99999999999999", PSET_CHANGED | PSET_HITMAX, "2000"},  // no wrap-around into the range
      {1, "1.5", PSET_CHANGED | PSET_HITMAX, "1"},
      {4, "1e300", PSET_CHANGED, "1e+300"},  // unbounded reals are not clamped
      {4, "-1e300", PSET_CHANGED, "-1e+300"},
      {4, "nan", PSET_CHANGED, "0"},
      {2, thirty + "tail", PSET_CHANGED | PSET_HITMAX, thirty},
      {2, thirty, 0, thirty},
      {2, "short", PSET_CHANGED, "short"},
      {3, "99", PSET_RONLY, "7"},
  };
  for (const auto& [index, text, result, after] : cases) {
    EXPECT_EQ(p.set(index, text), result) << p.id(index) << " " << text;
    EXPECT_EQ(p.getText(index), after) << p.id(index) << " " << text;
  }
}

TEST(Param_Text, FormatsNumbersWithSixSignificantDigitsAndCuts) {
  Sample s;
  s.free = 3.14159265;
  s.count = 1234;
  param p(kSampleTab, &s);
  EXPECT_EQ(p.getText(4), "3.14159");
  EXPECT_EQ(p.getText(0), "1234");
  EXPECT_EQ(p.getText(0, 3), "12");
  EXPECT_EQ(p.getText(99), "");
}

TEST(Param_Chain, IndicesAndGroupMembersContinueIntoNextTableAndEndWithNone) {
  Sample s;
  Other o;
  param first(kSampleTab, &s);
  param second(kOtherTab, &o);
  first.append(&second);
  EXPECT_STREQ(first.id(5), "speed");
  EXPECT_STREQ(first.id(6), "note");
  EXPECT_EQ(first.id(7), nullptr);
  EXPECT_EQ(first.findId("note"), 6);
  EXPECT_EQ(first.findId("not"), -1);
  EXPECT_EQ(first.findIdPrefix("no", 2), 6);
  EXPECT_EQ(first.findIdPrefix("f", 1), 3);  // first in chain order
  EXPECT_EQ(first.set(5, "50"), PSET_CHANGED | PSET_HITMAX);
  EXPECT_EQ(o.speed, 10);
  EXPECT_EQ(first.totalParamCount(), 7);
  EXPECT_STREQ(first.groupName(2), "Other");
  // Group members are found across the chain.
  EXPECT_EQ(first.member(0, 0), 0);
  EXPECT_EQ(first.member(0, 1), 2);
  EXPECT_EQ(first.member(1, 0), 1);
  EXPECT_EQ(first.member(1, 2), 4);
  EXPECT_EQ(first.member(1, 3), PARAM_NO_MEMBER);
  // Group 2 is the next table's only group; a single-group table answers k itself.
  EXPECT_EQ(first.member(2, 1), 6);
  EXPECT_EQ(first.member(2, 2), PARAM_NO_MEMBER);
  EXPECT_EQ(first.member(3, 0), PARAM_NO_MEMBER);
}

TEST(Param_Type, ParsesBoundsAndLabels) {
  ParamType t = parseParamType("d 0 2 ~Randomly~Inv-proportional fitness~Only the worst");
  EXPECT_EQ(t.letter, 'd');
  EXPECT_TRUE(t.bounded);
  EXPECT_EQ(t.hi, 2);
  EXPECT_EQ(t.labels, "~Randomly~Inv-proportional fitness~Only the worst");
  EXPECT_FALSE(parseParamType("f").bounded);
}

TEST(Param_Compare, OrdersByTypeAndDirection) {
  Sample a, b;
  a.count = 9;
  b.count = 10;  // text order would put "10" first
  a.label = "b";
  b.label = "a";
  param p(kSampleTab, &a);
  EXPECT_LT(paramCompare(p, 0, &a, &b, false), 0);
  EXPECT_GT(paramCompare(p, 0, &a, &b, true), 0);
  EXPECT_GT(paramCompare(p, 2, &a, &b, false), 0);
  EXPECT_EQ(p.base(), &a);  // the base is restored
}

struct Settings {
  int32_t capacity = 0;
  std::string name;
  std::string genotype;
  double hidden = 0;
};

constexpr ParamTab kSettingsTab[] = {
    paramHeader("Settings", 1, 4, "sim_params:"),
    {"capacity", 0, "Capacity", "d 0 2000", offsetof(Settings, capacity), nullptr},
    {"name", 0, "Name", "s", offsetof(Settings, name), nullptr},
    {"genotype", 0, "Genotype", "s 1 99999", offsetof(Settings, genotype), nullptr},
    {"hidden", PF_COMPUTED, "Computed", "f", offsetof(Settings, hidden), nullptr},
    paramEnd(),
};
static_assert(paramTableValid(kSettingsTab));

struct Point {
  double x = 0, y = 0, z = 0, m = 0;
};

constexpr ParamTab kPointTab[] = {
    paramHeader("Point", 1, 4, "p:"),
    {"x", 0, "x", "f", offsetof(Point, x), nullptr},
    {"y", 0, "y", "f", offsetof(Point, y), nullptr},
    {"z", 0, "z", "f", offsetof(Point, z), nullptr},
    {"m", 0, "mass", "f", offsetof(Point, m), nullptr},
    paramEnd(),
};
static_assert(paramTableValid(kPointTab));

std::string written(Settings& s) {
  param p(kSettingsTab, &s);
  std::ostringstream out;
  EXPECT_EQ(writeRecord(p, out), 0);
  return out.str();
}

TEST(Record_Write, ChoosesMultilineAtFiftyOneCharactersOrLineBreakAndSkipsNoStore) {
  Settings s;
  s.name = std::string(50, 'n');
  s.genotype = std::string(51, 'g');
  EXPECT_EQ(written(s), "sim_params:\ncapacity:0\nname:" + std::string(50, 'n') + "\ngenotype:~\n" +
                            std::string(51, 'g') + "~\n\n");
  s.name = "a\rb";
  EXPECT_NE(written(s).find("name:~\na\rb~\n"), std::string::npos);
  EXPECT_EQ(written(s).find("hidden"), std::string::npos);  // not stored
}

Settings readBack(const std::string& text) {
  std::istringstream in(text);
  std::string section;
  std::getline(in, section);
  Settings back;
  param p(kSettingsTab, &back);
  readRecord(p, in);
  return back;
}

// A tilde anywhere or a control character used to end a value early, open a
// multi-line value that swallowed the rest of the file, or be trimmed away;
// an empty line inside a multi-line value must not end the record.
TEST(Record_RoundTrip, ValuesWithTildesAndControlCharactersComeBackExactly) {
  const std::string cases[] = {"~",    "~name:", "a~b",  "ends~",  "~~", "\t", "tab\t", "a\r\nb", "\r\n", "end\r", "\r",
                               std::string(1, '\0'), "\x01\x1f", "", " lead", std::string(55, 'X') + "~name:",
                               "/*4*/\n<X>X\n\n  last line"};
  for (const std::string& value : cases) {
    Settings s;
    s.name = value;
    s.genotype = value + "\n" + value;
    s.capacity = 3;
    const Settings back = readBack(written(s) + "capacity:9\n");
    EXPECT_EQ(back.name, s.name) << testing::PrintToString(value);
    EXPECT_EQ(back.genotype, s.genotype) << testing::PrintToString(value);
    EXPECT_EQ(back.capacity, 3) << testing::PrintToString(value);
  }
}

TEST(Record_RoundTrip, RandomValuesComeBackExactly) {
  std::mt19937 rng(17);
  for (int round = 0; round < 400; ++round) {
    Settings s;
    s.capacity = static_cast<int32_t>(rng() % 2001);
    for (std::string* v : {&s.name, &s.genotype}) {
      const std::size_t len = rng() % 80;
      // Mostly printable, with tildes, line ends and other control characters mixed in.
      for (std::size_t i = 0; i < len; ++i) {
        const unsigned r = rng() % 10;
        v->push_back(r == 0 ? '~' : r == 1 ? "\r\n\t\x01"[rng() % 4] : static_cast<char>(32 + rng() % 95));
      }
    }
    if (s.genotype.empty()) s.genotype = "X";  // the table asks for at least one character
    const Settings back = readBack(written(s));
    ASSERT_EQ(back.name, s.name) << testing::PrintToString(s.name);
    ASSERT_EQ(back.genotype, s.genotype) << testing::PrintToString(s.genotype);
    ASSERT_EQ(back.capacity, s.capacity);
  }
}

// Hand-edited and older files: what the lines of a record read as.
TEST(Record_Read, HandEditedAndOlderTextsReadAsMeant) {
  const std::string longLine(500, 'X');
  // The record after its section line, and the capacity, name and genotype it sets.
  const std::tuple<std::string, int, std::string, std::string> cases[] = {
      // A doubled tilde inside a multi-line value is one; values written before tildes were doubled read as before.
      {"name:~\na~~b~~~\ncapacity:4\n", 4, "a~b~", ""},
      {"genotype:~\nX(X,\nX)~\nname:plain\n", 0, "plain", "X(X,\nX)"},
      // A key must be followed by its colon; unknown lines are skipped; blanks in a text are kept.
      {"capacity: 5\ncapacityX:6\n# a comment\nbogus:1\nname:  two blanks\n", 5, "  two blanks", ""},
      // The end of the stream ends the record; carriage returns are accepted.
      {"capacity:7\r\ngenotype:~\r\nX\r\nX~\r\nname:end", 7, "end", "X\nX"},
      // A hand-edited genotype on one line is not cut into pieces; an unclosed multi-line value takes the rest.
      {"genotype:" + longLine + "\nname:after\n", 0, "after", longLine},
      {"genotype:~\nabc\ndef", 0, "", "abc\ndef"},
  };
  for (const auto& [text, capacity, name, genotype] : cases) {
    const Settings s = readBack("x:\n" + text);
    EXPECT_EQ(s.capacity, capacity) << text;
    EXPECT_EQ(s.name, name) << text;
    EXPECT_EQ(s.genotype, genotype) << text;
  }
  // An empty line ends the record: the line after it is left in the stream.
  Settings s;
  param p(kSettingsTab, &s);
  std::istringstream in("capacity:5\n\ncapacity:9\n");
  readRecord(p, in);
  EXPECT_EQ(s.capacity, 5);
  std::string rest;
  std::getline(in, rest);
  EXPECT_EQ(rest, "capacity:9");
}

TEST(Compact_Write, NamesValuesAfterTheFirstOneLeftOut) {
  const auto compact = [](Point pt) {
    Point ref;
    param p(kPointTab, &pt), r(kPointTab, &ref);
    std::string out;
    writeCompact(p, r, out);
    return out;
  };
  EXPECT_EQ(compact({1.5, 0, 2, 0}), "p:1.5, z=2\n");
  EXPECT_EQ(compact({1, 2, 3, 0}), "p:1, 2, 3\n");
  EXPECT_EQ(compact({}), "p:\n");
}

Point readLine(const std::string& line) {
  Point pt;
  pt.m = -1;
  param p(kPointTab, &pt);
  std::size_t pos = 0;
  readCompactLine(p, line, pos);
  return pt;
}

TEST(Compact_Read, PositionalNamedAndEmptyFields) {
  // m starts at -1, showing which fields a line leaves alone; a bare word is skipped but takes its position.
  // The line, and x, y, z, m after reading it.
  const std::pair<const char*, std::vector<double>> cases[] = {
      {"1, 2, 3", {1, 2, 3, -1}}, {", , 3", {0, 0, 3, -1}}, {"z=2, 4", {0, 0, 2, 4}},
      {"m=5", {0, 0, 0, 5}},      {"word, 7", {0, 7, 0, -1}}};
  for (const auto& [line, want] : cases) {
    const Point p = readLine(line);
    EXPECT_EQ((std::vector<double>{p.x, p.y, p.z, p.m}), want) << line;
  }
}

TEST(Compact_Read, NamePrefixSelectsFirstMatchingId) {
  Settings s;
  param p(kSettingsTab, &s);
  std::size_t pos = 0;
  readCompactLine(p, "cap=5, gen=X", pos);
  EXPECT_EQ(s.capacity, 5);
  EXPECT_EQ(s.genotype, "X");
}

TEST(Compact_Read, AdvancesPastOneLineOnly) {
  Point pt;
  param p(kPointTab, &pt);
  const std::string text = "1, 2\r\n3\n";
  std::size_t pos = 0;
  readCompactLine(p, text, pos);
  EXPECT_EQ(pt.x, 1);
  EXPECT_EQ(pt.y, 2);
  EXPECT_EQ(pos, 6u);
  readCompactLine(p, text, pos);
  EXPECT_EQ(pt.x, 3);
  EXPECT_EQ(pos, text.size());
  // Too many fields are ignored past the table's end.
  pos = 0;
  readCompactLine(p, "1,2,3,4,5,6", pos);
  EXPECT_EQ(pt.m, 4);
}

}  // namespace
}  // namespace vorlund
