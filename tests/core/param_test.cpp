// Parameter tables: setting and reading values through them, chains of tables,
// the records and compact lines they are written to and read from, the lists
// that sort by them, and numbers in them that do not follow the process's locale
// (the desktop program switches to the user's, where the decimal point may be a comma).
#include "core/param.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "core/lists.h"
#include "core/record.h"
#include "core/strutil.h"
#include "support/scratch.h"

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

TEST(Lista_Cursor, RemovingCurrentElementContinuesWithFollower) {
  lista<int> l;
  int v[5] = {0, 1, 2, 3, 4};
  for (int& x : v) l.append(&x);
  std::vector<int> seen;
  l.setCursor(0);
  while (int* x = l.next()) {
    seen.push_back(*x);
    if (*x == 1) l.remove(x);
    if (*x == 3) l.removeAt(0);
  }
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(l.size(), 3);
  EXPECT_EQ(*l.get(0), 2);
  l.removeAt(7);  // ignored
  EXPECT_EQ(l.size(), 3);
}

TEST(Lista_Insert, MovesCursorAndClampsIndex) {
  lista<int> l;
  int v[4] = {0, 1, 2, 3};
  l.append(&v[0]);
  l.append(&v[1]);
  l.setCursor(1);
  l.insert(0, &v[2]);
  EXPECT_EQ(l.cursor(), 2);
  l.insert(50, &v[3]);
  EXPECT_EQ(l.get(3), &v[3]);
  EXPECT_EQ(l.find(&v[1]), 2);
  EXPECT_EQ(l.find(nullptr), -1);
  EXPECT_EQ(l.get(4), nullptr);  // reads past either end give nothing
  EXPECT_EQ(l.get(-1), nullptr);
}

struct Recorder {
  std::vector<std::string> events;
  static void added(void* self, int i) { static_cast<Recorder*>(self)->events.push_back("add " + std::to_string(i)); }
  static void before(void* self, int i) { static_cast<Recorder*>(self)->events.push_back("pre " + std::to_string(i)); }
  static void removed(void* self, int i) { static_cast<Recorder*>(self)->events.push_back("rem " + std::to_string(i)); }
  static void changed(void* self, int i) { static_cast<Recorder*>(self)->events.push_back("chg " + std::to_string(i)); }
};

TEST(Lista2_Sorted, EqualElementGoesAfterExistingOnesListenersHearItAndTextSortsDescending) {
  Other a{1, "a"}, b{2, "b"}, c{2, "c"}, d{0, "d"};
  param acc(kOtherTab, nullptr);
  lista2<Other> l;
  Recorder r;
  l.addedListeners.add(Recorder::added, &r);
  l.changedListeners.add(Recorder::changed, &r);
  l.append(&c);
  l.append(&a);
  l.setSort(&acc, 0, false);
  EXPECT_EQ(l.get(0), &a);
  l.add(&b);  // equal to c: after it
  EXPECT_EQ(l.get(2), &b);
  l.add(&d);
  EXPECT_EQ(l.get(0), &d);
  EXPECT_EQ(r.events, (std::vector<std::string>{"chg -1", "add 2", "add 0"}));
  // Descending by text.
  l.setSort(&acc, 1, true);
  EXPECT_EQ(l.get(0), &d);
  EXPECT_EQ(l.get(3), &a);
}

TEST(Lista2_Changed, ResortsMovedElementOrNotifiesInPlace) {
  Other a{1, "a"}, b{2, "b"}, c{3, "c"};
  param acc(kOtherTab, nullptr);
  lista2<Other> l;
  l.setSort(&acc, 0, false);
  l.add(&a);
  l.add(&b);
  l.add(&c);
  Recorder r;
  l.addedListeners.add(Recorder::added, &r);
  l.beforeRemovalListeners.add(Recorder::before, &r);
  l.removedListeners.add(Recorder::removed, &r);
  l.changedListeners.add(Recorder::changed, &r);
  a.speed = 5;
  l.changed(0);
  EXPECT_EQ(l.get(2), &a);
  b.speed = 2;
  l.changed(0);
  l.changed(-7);
  EXPECT_EQ(r.events, (std::vector<std::string>{"pre 0", "rem 0", "add 2", "chg 0", "chg -1"}));
  r.events.clear();
  l.clear();
  EXPECT_EQ(r.events, (std::vector<std::string>{"pre 2", "rem 2", "pre 1", "rem 1", "pre 0", "rem 0"}));
  EXPECT_EQ(l.capacity(), 0);
}

TEST(Listaduo, AddressesBothListsAndRemovesFromTheHolder) {
  Other a, b, c;
  lista2<Other> first, second;
  first.append(&a);
  second.append(&b);
  second.append(&c);
  listaduo<Other> both(first, second);
  EXPECT_EQ(both.size(), 3);
  EXPECT_EQ(both.get(0), &a);
  EXPECT_EQ(both.get(2), &c);
  EXPECT_EQ(both.find(&c), 2);
  Recorder r;
  second.removedListeners.add(Recorder::removed, &r);
  both.remove(&b);
  EXPECT_EQ(second.size(), 1);
  EXPECT_EQ(r.events, (std::vector<std::string>{"rem 0"}));
  both.remove(&a);
  EXPECT_EQ(first.size(), 0);
}

struct Numbers {
  double real = 0;
  int32_t whole = 0;
};
constexpr ParamTab kNumbersTab[] = {
    paramHeader("Numbers", 1, 2, "n:"),
    {"real", 0, "Real", "f -2.5 2.5", offsetof(Numbers, real), nullptr},
    {"whole", 0, "Whole", "d", offsetof(Numbers, whole), nullptr},
    paramEnd(),
};

// Switches LC_NUMERIC to a decimal-comma locale compiled into a scratch folder
// from a definition of that category alone (quick to build, needs no locale
// sources installed).
class CommaLocale {
 public:
  explicit CommaLocale(const test_support::ScratchDir& dir) {
    const std::string source = dir.write("comma", "LC_NUMERIC\ndecimal_point \",\"\nthousands_sep \".\"\n"
                                                  "grouping 3;3\nEND LC_NUMERIC\n");
    const std::string command = "localedef -c -i '" + source + "' -f ANSI_X3.4-1968 '" + dir.file("comma.ascii") +
                                "' >/dev/null 2>&1";
    (void)std::system(command.c_str());  // -c: the other categories are missing on purpose
    setenv("LOCPATH", dir.path.c_str(), 1);
    active = std::setlocale(LC_NUMERIC, "comma.ascii") != nullptr;
  }
  ~CommaLocale() {
    std::setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");
  }
  bool active = false;
};

TEST(Locale, NumbersAreWrittenAndReadWithAPointUnderADecimalCommaLocale) {
  if (std::system("command -v localedef >/dev/null 2>&1") != 0) GTEST_SKIP() << "localedef is not installed";
  test_support::ScratchDir dir;
  CommaLocale comma(dir);
  ASSERT_TRUE(comma.active) << "localedef could not build a decimal-comma locale";
  char libc[32];
  std::snprintf(libc, sizeof libc, "%g", 1.5);
  ASSERT_STREQ(libc, "1,5");  // the locale really has a decimal comma

  EXPECT_EQ(formatReal(1.5), "1.5");
  EXPECT_EQ(formatReal(-1234567.0), "-1.23457e+06");
  EXPECT_EQ(ssprintf("%g %.2f", 0.25, 2.5), "0.25 2.50");
  double v = 0;
  EXPECT_EQ(parseReal(" 1.75e1x", v), 7u);
  EXPECT_EQ(v, 17.5);

  Numbers n;
  param acc(kNumbersTab, &n);
  acc.set(0, "1.25");
  EXPECT_EQ(n.real, 1.25);
  acc.set(0, "9.5");  // clamped to the table's bound, itself read with a point
  EXPECT_EQ(n.real, 2.5);
  acc.setDouble(0, 0.1);
  EXPECT_EQ(n.real, 0.1);
  n.whole = -1234567;
  std::ostringstream out;
  writeRecord(acc, out);
  EXPECT_EQ(out.str(), "n:\nreal:0.1\nwhole:-1234567\n\n");
}

// The C library's own texts, in the "C" locale, for the numbers a record holds.
TEST(Locale, NumberTextsAreThoseOfPrintfInTheCLocale) {
  for (double x : {0.0, -0.0, 1.0, 0.1, 1e-5, 123456.0, 1234567.0, 1e300, 5e-324, -2.5e-7, 1.0 / 0.0, -1.0 / 0.0})
    EXPECT_EQ(formatReal(x), ssprintf("%lg", x));
  for (long long x : {0LL, -1LL, 2147483647LL, -9223372036854775807LL - 1})
    EXPECT_EQ(formatInt(x), ssprintf("%lld", x));
  struct Read {
    const char* text;
    double value;
    std::size_t used;
  };
  for (const Read& r : {Read{"  +2.5", 2.5, 6}, Read{"-0x10", -16, 5}, Read{"1e999", 1.0 / 0.0, 5},
                        Read{"-1e999", -1.0 / 0.0, 6}, Read{"1e-999", 0, 6}, Read{"inf", 1.0 / 0.0, 3},
                        Read{"+-1", 0, 0}, Read{"x", 0, 0}, Read{".5.", 0.5, 2}}) {
    double v = 0;
    EXPECT_EQ(parseReal(r.text, v), r.used) << r.text;
    EXPECT_EQ(v, r.value) << r.text;
  }
  long long i = 0;
  EXPECT_EQ(parseInteger(" -99999999999999999999x", i), 22u);
  EXPECT_EQ(i, -9223372036854775807LL - 1);
}

}  // namespace
}  // namespace vorlund
