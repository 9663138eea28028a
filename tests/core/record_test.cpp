#include "core/record.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <sstream>
#include <tuple>
#include <vector>

namespace vorlund {
namespace {

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
