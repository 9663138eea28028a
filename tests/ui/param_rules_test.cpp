#include "ui/param_rules.h"

#include <gtest/gtest.h>

#include "core/param.h"

using namespace vorlund;
using namespace vorlund::ui;

TEST(ParamRules, ControlKindForEveryTypeForm) {
  const struct {
    const char* type;
    const char* label;
    ControlKind kind;
  } cases[] = {
      {"s 1 9999", "Genotype", ControlKind::GenotypeEditor},
      {"s 1 9999", "f0 Genotype", ControlKind::MultiLineText},
      {"s 1 999", "Info", ControlKind::MultiLineText},
      {"s", "Status", ControlKind::LineEdit},
      {"s 0 30", "Genotype", ControlKind::LineEdit},
      {"s 2 100", "Path", ControlKind::LineEdit},
      {"d 0 1", "Fog", ControlKind::CheckBox},
      {"d 0 1 ~No~Yes", "Labelled", ControlKind::Choice},
      {"d 0 2 ~Off~Fake (pattern)~True (RGB)", "Mode", ControlKind::Choice},
      {"d 0 2", "Level", ControlKind::IntegerEdit},
      {"d", "Count", ControlKind::IntegerEdit},
      {"f 0.2 2", "Zoom", ControlKind::RealEdit},
      {"f", "Fitness", ControlKind::RealEdit},
      {"x", "Odd", ControlKind::None},
  };
  for (const auto& c : cases) EXPECT_EQ(controlKindFor(c.type, c.label), c.kind) << c.type << " " << c.label;
  EXPECT_EQ(choiceLabels("d 0 2 ~Off~Fake (pattern)~True (RGB)"),
            (std::vector<std::string>{"Off", "Fake (pattern)", "True (RGB)"}));
}

TEST(ParamRules, HintsNameTheKindAndBounds) {
  EXPECT_EQ(numericHint("d 0 50"), "(integer 0\xC3\xB7" "50)");
  EXPECT_EQ(numericHint("f 0.2 2"), "(real 0.2\xC3\xB7" "2)");
  EXPECT_EQ(numericHint("d"), "(integer)");
  EXPECT_EQ(numericHint("f"), "(real)");
}

TEST(ParamRules, SliderTicksAndSpinFollowTheBounds) {
  const struct {
    const char* type;
    bool slider;
    int tick;
    bool spin;
  } cases[] = {
      {"d 0 50", true, 5, true},       {"d 10 60", true, 5, true},     {"d 0 100", true, 10, true},
      {"d 0 1000", true, 100, true},   {"f -10000 10000", true, 2000, true},
      {"d 0 2", true, 1, true},        {"f 0.2 2", false, 1, true},    {"d 0 1", false, 1, true},
      {"d 3 3", false, 1, false},      {"d", false, 1, false},         {"d 0 100000", true, 10000, false},
      {"d -2147483648 2147483647", true, 429496000, false},            {"f -1e300 1e300", false, 1, false},
  };
  for (const auto& c : cases) {
    const NumericControls n = numericControls(c.type, false);
    EXPECT_EQ(n.slider, c.slider) << c.type;
    if (c.slider) {
      EXPECT_EQ(n.tickFrequency, c.tick) << c.type;
    }
    EXPECT_EQ(n.spinEnabled, c.spin) << c.type;
  }
  EXPECT_FALSE(numericControls("d 0 50", true).spinEnabled);
  const NumericControls zoom = numericControls("f 0.2 2", false);
  EXPECT_EQ(zoom.spinMin, 1);
  EXPECT_EQ(zoom.spinMax, 2);
}

TEST(ParamRules, GroupPathsSplitAtColonsAndTrim) {
  EXPECT_EQ(splitGroupPath("POV-Ray: Files"), (std::vector<std::string>{"POV-Ray", "Files"}));
  EXPECT_EQ(splitGroupPath("World"), (std::vector<std::string>{"World"}));
  EXPECT_EQ(splitGroupPath("A :B: C"), (std::vector<std::string>{"A", "B", "C"}));
}

TEST(ParamRules, WarningLinesOnlyForHitBoundsAndLongValuesShortened) {
  EXPECT_EQ(boundsWarningLine("Name", "Genotype", PSET_CHANGED, "x"), "");
  const std::string line = boundsWarningLine("G", "g", PSET_HITMAX, std::string(500, 'X'));
  EXPECT_LT(line.size(), 120u);
  EXPECT_NE(line.find("...)"), std::string::npos);
}

TEST(ParamRules, TildesThatARecordCannotReadBackAreRefused) {
  EXPECT_TRUE(breaksRecordFormat("~abc"));
  EXPECT_TRUE(breaksRecordFormat("line\nwith ~ tilde"));
  EXPECT_TRUE(breaksRecordFormat(std::string(60, 'a') + "~"));
  EXPECT_FALSE(breaksRecordFormat("short a~b"));
  EXPECT_FALSE(breaksRecordFormat(""));
  EXPECT_EQ(joinLines("a\r\nb\r\n"), "a\nb\n");
}
