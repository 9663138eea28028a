#include "genetics/phylogeny/evolstudy.h"

#include <gtest/gtest.h>

#include "support/message_capture.h"
#include "genetics/phylogeny/svg_canvas.h"

namespace vorlund {
namespace {

using LogCapture = test_support::MessageCapture;

// Remembers what was drawn.
struct RecordingCanvas : Canvas {
  struct Line {
    double x1, y1, x2, y2;
    bool dashed;
  };
  int width() const override { return 600; }
  int height() const override { return 300; }
  void ellipse(double, double, double rx, double, CanvasColor c) override {
    radius = rx;
    ellipseColors.push_back(c);
  }
  void line(double x1, double y1, double x2, double y2, CanvasColor, bool dashed) override {
    lines.push_back({x1, y1, x2, y2, dashed});
  }
  void text(double, double, const std::string& s, CanvasColor) override { texts.push_back(s); }
  void refresh() override { ++refreshes; }

  double radius = 0;
  std::vector<CanvasColor> ellipseColors;
  std::vector<Line> lines;
  std::vector<std::string> texts;
  int refreshes = 0;
};

GenoLink link(int number, const std::string& parent, const std::string& child, float change) {
  return GenoLink{number, parent, child, change, 0.0f};
}

EvolStudy& relative(EvolStudy& s, int scatter) {
  s.vars.es_scale = ES_SCALE_RELATIVE;
  s.vars.es_scat = scatter;
  return s;
}

TEST(EvolStudy, EmptyHistoryOrCancelledDialogDrawsNothing) {
  EvolStudy s;
  LogCapture log;
  EXPECT_FALSE(s.Analyze({}));
  EXPECT_EQ(log.single(),
            "EvolStudy::Analyze error: No data. Turn on 'Genetics->Remember...' before you start evolution.");
  bool asked = false;
  EXPECT_FALSE(s.Analyze({link(1, "X", "XX", 0.5f)}, [&](param& p) {
    asked = std::string(p.tableName()) == "Phylogeny";
    return false;
  }));
  EXPECT_TRUE(asked);
  EXPECT_TRUE(s.points().empty());
}

TEST(EvolStudy, MutantsShiftByTheirChangeAndScatterLeftThenRight) {
  EvolStudy s;
  relative(s, ES_SCAT_LOCAL);
  ASSERT_TRUE(s.Analyze({link(1, "X", "XX", 0.25f)}));
  ASSERT_EQ(s.layout().size(), 2u);
  EXPECT_EQ(s.layout()[0].genotype, "X");
  EXPECT_FLOAT_EQ(s.layout()[1].x, -25.0f);
  EXPECT_FLOAT_EQ(s.layout()[1].y, 1.0f);
  EXPECT_EQ(s.layout()[1].parent, 0);
  // Normalised with a margin of 5 % of (range + 1): x range 25 -> 27.6, y range 1 -> 1.2.
  EXPECT_NEAR(s.points()[0].x, 26.3 / 27.6, 1e-5);
  EXPECT_NEAR(s.points()[1].x, 1.3 / 27.6, 1e-5);
  EXPECT_NEAR(s.points()[0].y, 0.1 / 1.2, 1e-5);
  EXPECT_NEAR(s.points()[1].y, 1.1 / 1.2, 1e-5);

  // Local scatter sends the first mutant left and the second right; a third finds both taken: a tie goes left.
  EvolStudy l;
  relative(l, ES_SCAT_LOCAL);
  ASSERT_TRUE(l.Analyze({link(1, "X", "XA", 0.5f), link(2, "X", "XB", 0.5f), link(3, "X", "XC", 0.5f)}));
  EXPECT_FLOAT_EQ(l.layout()[1].x, -50.0f);
  EXPECT_FLOAT_EQ(l.layout()[2].x, 50.0f);
  EXPECT_FLOAT_EQ(l.layout()[3].x, -50.0f);

  EvolStudy g;
  relative(g, ES_SCAT_GLOBAL);
  ASSERT_TRUE(g.Analyze({link(1, "X", "XA", 0.5f), link(2, "X", "XB", 0.5f)}));
  EXPECT_FLOAT_EQ(g.layout()[1].x, -50.0f);
  EXPECT_FLOAT_EQ(g.layout()[2].x, 50.0f);
}

TEST(EvolStudy, CrossoverChildrenLeanTowardsTheirOwnParent) {
  EvolStudy s;
  relative(s, ES_SCAT_LOCAL);
  ASSERT_TRUE(s.Analyze({link(1, "X", "Y", 0.5f), link(2, "X", "C1", 1.0f), link(2, "Y", "C2", 0.25f)}));
  ASSERT_EQ(s.layout().size(), 6u);
  const float xX = 0.0f, xY = -50.0f;
  for (int i = 2; i < 6; ++i) {
    EXPECT_EQ(s.layout()[static_cast<std::size_t>(i)].kind, GENOPOS_CROSSOVER);
    EXPECT_FLOAT_EQ(s.layout()[static_cast<std::size_t>(i)].y, 0.5f);
  }
  EXPECT_FLOAT_EQ(s.layout()[2].x, xX);  // change 1.0: the first parent's place
  EXPECT_EQ(s.layout()[2].parent, 0);
  EXPECT_EQ(s.layout()[3].parent, 1);
  EXPECT_FLOAT_EQ(s.layout()[4].x, 0.25f * xY + 0.75f * xX);
  EXPECT_EQ(s.layout()[5].genotype, "C2");

  EvolStudy a;  // absolute scale: the operation's number
  ASSERT_TRUE(a.Analyze({link(1, "X", "Y", 0.5f), link(7, "X", "C1", 1.0f), link(7, "Y", "C2", 0.25f)}));
  EXPECT_FLOAT_EQ(a.layout()[2].y, 7.0f);
}

TEST(EvolStudy, UnknownParentsAreReportedAndSkipped) {
  EvolStudy s;
  LogCapture log;
  ASSERT_TRUE(s.Analyze({link(1, "X", "Y", 0.5f), link(2, "Q", "R", 0.5f), link(3, "Q", "A", 1.0f),
                         link(3, "X", "B", 1.0f), link(4, "Y", "Z", 0.5f)}));
  ASSERT_EQ(log.entries.size(), 2u);
  EXPECT_EQ(log.entries[0].message, "Mut: Unknown: Q");
  EXPECT_EQ(log.entries[1].message, "XO: Unknown: Q");
  ASSERT_EQ(s.layout().size(), 3u);
  EXPECT_EQ(s.layout()[2].genotype, "Z");
  EXPECT_EQ(s.layout()[2].parent, 1);
}

TEST(EvolStudy, RepeatedGenotypesAreDashedOrLeftOut) {
  EvolStudy s;
  relative(s, ES_SCAT_LOCAL);
  ASSERT_TRUE(s.Analyze({link(1, "X", "Y", 0.5f), link(2, "Y", "X", 0.5f)}));
  ASSERT_EQ(s.points().size(), 3u);
  EXPECT_EQ(s.points()[2].genotype, kAlreadyPresentGenotype);
  EXPECT_FLOAT_EQ(s.points()[2].x, s.points()[0].x);
  EXPECT_FLOAT_EQ(s.points()[2].y, s.points()[0].y);
  EXPECT_EQ(s.points()[2].parent, 1);

  RecordingCanvas dashed;
  s.Draw(dashed);
  ASSERT_EQ(dashed.lines.size(), 4u);  // two tree lines and two axis marks
  EXPECT_FALSE(dashed.lines[0].dashed);
  EXPECT_TRUE(dashed.lines[1].dashed);
  s.vars.es_rep = ES_REP_NONE;
  RecordingCanvas none;
  s.Draw(none);
  EXPECT_EQ(none.lines.size(), 3u);
}

TEST(EvolStudy, DrawingFollowsTheShowSetting) {
  EvolStudy s;
  relative(s, ES_SCAT_RANDOM);
  ASSERT_TRUE(s.Analyze({link(1, "X", "Y", 0.5f), link(2, "X", "LongerThan8", 1.0f), link(2, "Y", "B", 0.5f)}));
  RecordingCanvas both;
  s.Draw(both);
  ASSERT_EQ(both.ellipseColors.size(), 6u);
  EXPECT_EQ(both.ellipseColors[1].g, 0);    // mutation: red
  EXPECT_EQ(both.ellipseColors[2].g, 255);  // crossover: white
  EXPECT_DOUBLE_EQ(both.radius, 1.0);
  EXPECT_EQ(both.lines.size(), 5u + 2u);
  // Short texts are labelled; the long child and the axis labels follow.
  EXPECT_EQ(both.texts, (std::vector<std::string>{"X", "Y", "B", "B", "0", "max. # of gen. oper."}));

  s.vars.es_show = ES_SHOW_MUTATED;
  RecordingCanvas mutated;
  s.Draw(mutated);
  EXPECT_EQ(mutated.lines.size(), 1u + 2u);
  s.vars.es_show = ES_SHOW_CROSSED;
  s.vars.es_scale = ES_SCALE_ABSOLUTE;
  s.vars.es_slow = 1;
  RecordingCanvas crossed;
  s.Draw(crossed);
  EXPECT_EQ(crossed.lines.size(), 4u + 2u);
  EXPECT_EQ(crossed.texts.back(), "most recent: #6");
  EXPECT_EQ(crossed.refreshes, 6);
}

TEST(EvolStudy, SvgCanvasWritesEscapedDocument) {
  SvgCanvas c(200, 100);
  c.line(0, 0, 10, 10, CanvasColor{255, 0, 0}, true);
  c.ellipse(5, 5, 1, 1, CanvasColor{255, 255, 255});
  c.text(1, 2, "X<&>", CanvasColor{});
  const std::string svg = c.svg();
  EXPECT_NE(svg.find("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"200\" height=\"100\""), std::string::npos);
  EXPECT_NE(svg.find("stroke-dasharray"), std::string::npos);
  EXPECT_NE(svg.find("X&lt;&amp;&gt;</text>"), std::string::npos);
  EXPECT_NE(svg.find("rgb(255,0,0)"), std::string::npos);
  EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
}

}  // namespace
}  // namespace vorlund
