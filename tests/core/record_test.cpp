#include "core/record.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <sstream>
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

TEST(Record_RoundTrip, KeepsTextWithLineBreaksExactly) {
  Settings s;
  s.capacity = 12;
  s.genotype = "/*4*/\n<X>X\n\n  last line";
  s.name = "short";
  const std::string text = written(s);
  std::istringstream in(text);
  std::string section;
  std::getline(in, section);
  EXPECT_EQ(section, "sim_params:");
  Settings back;
  param p(kSettingsTab, &back);
  readRecord(p, in);
  EXPECT_EQ(back.capacity, 12);
  EXPECT_EQ(back.genotype, s.genotype);
  EXPECT_EQ(back.name, "short");
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
// multi-line value that swallowed the rest of the file, or be trimmed away.
TEST(Record_RoundTrip, ValuesWithTildesAndControlCharactersComeBackExactly) {
  const std::string cases[] = {"~",         "~name:",   "a~b",      "ends~",     "~~",   "\t",
                               "tab\t",     "a\r\nb", "\r\n",     "end\r",     "\r",  std::string(1, '\0'),
                               "\x01\x1f", "",         " lead",    std::string(55, 'X') + "~name:"};
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

TEST(Record_Read, DoubledTildeInsideMultilineIsOneTilde) {
  EXPECT_EQ(readBack("x:\nname:~\na~~b~~~\ncapacity:4\n").name, "a~b~");
  // Values written before tildes were doubled read as they always did.
  const Settings old = readBack("x:\ngenotype:~\nX(X,\nX)~\nname:plain\n");
  EXPECT_EQ(old.genotype, "X(X,\nX)");
  EXPECT_EQ(old.name, "plain");
}

TEST(Record_Read, KeyMustBeFollowedByColonAndUnknownLinesAreSkipped) {
  Settings s;
  param p(kSettingsTab, &s);
  std::istringstream in("capacityX:5\n# a comment\nbogus:1\ncapacity: 5\nname:  two blanks\n\ncapacity:9\n");
  readRecord(p, in);
  EXPECT_EQ(s.capacity, 5);
  EXPECT_EQ(s.name, "  two blanks");
  // The empty line ended the record: the line after it is left in the stream.
  std::string rest;
  std::getline(in, rest);
  EXPECT_EQ(rest, "capacity:9");
}

TEST(Record_Read, EndsAtEndOfStreamAndAcceptsCarriageReturns) {
  Settings s;
  param p(kSettingsTab, &s);
  std::istringstream in("capacity:7\r\ngenotype:~\r\nX\r\nX~\r\nname:end");
  readRecord(p, in);
  EXPECT_EQ(s.capacity, 7);
  EXPECT_EQ(s.genotype, "X\nX");
  EXPECT_EQ(s.name, "end");
}

TEST(Record_Read, LongSingleLineIsReadWholeAndUnclosedMultilineTakesTheRest) {
  // A hand-edited genotype on one line must not be cut into pieces.
  const std::string genotype(500, 'X');
  const Settings s = readBack("x:\ngenotype:" + genotype + "\nname:after\n");
  EXPECT_EQ(s.genotype, genotype);
  EXPECT_EQ(s.name, "after");
  EXPECT_EQ(readBack("x:\ngenotype:~\nabc\ndef").genotype, "abc\ndef");
}

TEST(Compact_Write, NamesValuesAfterTheFirstOneLeftOut) {
  Point ref, pt;
  pt.x = 1.5;
  pt.z = 2;
  param p(kPointTab, &pt);
  param r(kPointTab, &ref);
  std::string out;
  writeCompact(p, r, out);
  EXPECT_EQ(out, "p:1.5, z=2\n");
  Point all;
  all.x = 1;
  all.y = 2;
  all.z = 3;
  p.setBase(&all);
  out.clear();
  writeCompact(p, r, out);
  EXPECT_EQ(out, "p:1, 2, 3\n");
  p.setBase(&ref);
  out.clear();
  writeCompact(p, r, out);
  EXPECT_EQ(out, "p:\n");
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
  const struct {
    const char* line;
    std::vector<double> want;  // x, y, z, m
  } cases[] = {{"1, 2, 3", {1, 2, 3, -1}}, {", , 3", {0, 0, 3, -1}}, {"z=2, 4", {0, 0, 2, 4}},
               {"m=5", {0, 0, 0, 5}},       {"word, 7", {0, 7, 0, -1}}};
  for (const auto& c : cases) {
    const Point p = readLine(c.line);
    EXPECT_EQ((std::vector<double>{p.x, p.y, p.z, p.m}), c.want) << c.line;
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
