#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "support/message_capture.h"
#include "view/area2d.h"
#include "view/display_settings.h"
#include "world/org_param.h"

namespace vorlund {
namespace {

TEST(WorldDisplayTable, ChoicesAreBuiltFromTheCreatureTable) {
  WorldDisplayFields f;
  WorldDisplayParams p(&f);
  org_param creature;
  const int n = creature.paramCount();
  ASSERT_EQ(p.paramCount(), 6);
  for (const char* key : {"w3_la1", "w3_la2", "w3_ch1", "w3_ch2"}) {
    const ParamType t = parseParamType(p.type(p.findId(key)));
    EXPECT_EQ(t.hi, n) << key;
    std::string expected = "~(off)";
    for (int i = 0; i < n; ++i) expected += std::string("~") + creature.name(i);
    EXPECT_EQ(std::string(t.labels), expected) << key;
  }
}

TEST(WorldDisplayTable, ChartsTakeOnlyNumbers) {
  WorldDisplayFields f;
  WorldDisplayParams p(&f);
  org_param creature;
  const int ch1 = p.findId("w3_ch1");
  const int nameIndex = creature.findId("name") + 1;
  const int energyIndex = creature.findId("energy") + 1;
  EXPECT_NE(p.set(ch1, std::to_string(nameIndex)) & PSET_HITMIN, 0);
  EXPECT_EQ(f.w3_ch1, 0);
  p.set(ch1, std::to_string(energyIndex));
  EXPECT_EQ(f.w3_ch1, energyIndex);
  // Labels may show texts.
  p.set(p.findId("w3_la2"), std::to_string(nameIndex));
  EXPECT_EQ(f.w3_la2, nameIndex);
}

TEST(Area2D, UnknownColourIsReportedAndKeepsTheColour) {
  struct Null : Area2D {
    int width() const override { return 1; }
    int height() const override { return 1; }
    void clear() override {}
    void line(int, int, int, int) override {}
    void rect(int, int, int, int, bool) override {}
    void ellipse(int, int, int, int, bool) override {}
    void applyColor(Rgb) override {}
    void drawText(int, int, std::string_view) override {}
  } area;
  test_support::MessageCapture log;
  ASSERT_TRUE(area.color(VC_GRID));
  EXPECT_FALSE(area.color(VC_COUNT));
  EXPECT_FALSE(area.color(-1));
  EXPECT_EQ(area.currentColor(), VC_GRID);
  ASSERT_EQ(log.entries.size(), 2u);
  EXPECT_EQ(log.entries[0].module, "Area2D");
  EXPECT_TRUE(log.has("Color", "Invalid constant"));
  EXPECT_EQ(log.entries[0].level, LOG_ERROR);
}

TEST(Area2D, LabelsUseTheFirstLineCutShort) {
  EXPECT_EQ(firstLineCut("abc\ndef", 10), "abc");
  EXPECT_EQ(firstLineCut("abcdefgh", 3), "abc");
  EXPECT_EQ(clampToPixel(1e300), 1000000);
  EXPECT_EQ(clampToPixel(-1e300), -1000000);
  EXPECT_EQ(clampToPixel(std::nan("")), 0);
}

}  // namespace
}  // namespace vorlund
