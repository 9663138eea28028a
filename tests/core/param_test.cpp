#include "core/param.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <tuple>

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

}  // namespace
}  // namespace vorlund
