// The run report read back by an XML parser (the page is written so that one
// reads it): its charts and tables against the CSV they come from, a long
// CSV's curves kept small without losing a spike, and bad input refused.
// Here rather than beside the other command tests, as the parser is Qt's.
#include <gtest/gtest.h>

#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

#include "run_report.h"
#include "run_table.h"
#include "sim/run_summary.h"
#include "support/scratch.h"

namespace vorlund::cli {
namespace {

using test_support::runTool;
using test_support::ScratchDir;

struct Chart {
  std::string column;
  double rows = 0, lo = 0, hi = 0;
  std::vector<std::pair<double, double>> points;
};

struct Page {
  std::map<std::string, Chart> charts;
  std::map<std::string, std::vector<double>> summary;  // first, last, lowest, highest
  int bestRows = 0;
  int svgs = 0;
};

double number(const QString& s) { return s.toDouble(); }

// Parses the whole page; fails the test when it is not well formed.
Page parse(const std::string& path) {
  Page p;
  QXmlStreamReader xml(QByteArray::fromStdString(ScratchDir::read(path)));
  std::string table, row;
  std::vector<double> cells;
  Chart* chart = nullptr;
  while (!xml.atEnd()) {
    xml.readNext();
    const QString name = xml.name().toString();
    if (xml.isStartElement()) {
      const auto a = xml.attributes();
      if (name == "svg") ++p.svgs;
      if (name == "svg" && a.hasAttribute("data-column")) {
        chart = &p.charts[a.value("data-column").toString().toStdString()];
        chart->rows = number(a.value("data-rows").toString());
        chart->lo = number(a.value("data-min").toString());
        chart->hi = number(a.value("data-max").toString());
      }
      if (name == "polyline" && chart != nullptr)
        for (const QString& pt : a.value("points").toString().split(' ', Qt::SkipEmptyParts))
          chart->points.emplace_back(number(pt.section(',', 0, 0)), number(pt.section(',', 1, 1)));
      if (name == "circle" && chart != nullptr) chart->points.emplace_back(number(a.value("cx").toString()), 0);
      if (name == "table") table = a.value("id").toString().toStdString();
      if (name == "tr") {
        row = a.value("data-column").toString().toStdString();
        cells.clear();
      }
      if (name == "td" && table == "summary") cells.push_back(number(xml.readElementText()));
    } else if (xml.isEndElement()) {
      if (name == "tr" && table == "summary" && !row.empty()) p.summary[row] = std::vector<double>(cells.begin() + 1, cells.end());
      if (name == "tr" && table == "best") ++p.bestRows;  // the heading row too
      if (name == "svg") chart = nullptr;
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString() << " at line " << xml.lineNumber();
  return p;
}

TEST(RunReport, ChartsAndTablesMatchTheRunsCsv) {
  ScratchDir dir(true);
  const std::string csv = dir.file("run.csv"), pool = dir.file("pool.gen"), tree = dir.file("tree.svg");
  ASSERT_EQ(runTool({"run", "--quiet", "--seed", "5", "--steps", "6000", "--every", "200", "--csv", csv, "--save",
                     pool, "--phylogeny", tree, "--report", dir.file("at_end.html"),
                     test_support::exampleFile("walkers.sim"), test_support::exampleFile("seeds.gen")})
                .code,
            0);
  const test_support::ToolRun r =
      runTool({"report", csv, "--pool", pool, "--phylogeny", tree, "-o", dir.file("report.html")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("30 rows"), std::string::npos) << r.out;

  RunTable t;
  std::string error;
  std::ostringstream warnings;
  ASSERT_TRUE(readRunCsv(csv, t, error, warnings));
  for (const std::string& page : {dir.file("report.html"), dir.file("at_end.html")}) {
    const Page p = parse(page);
    ASSERT_EQ(p.charts.size(), t.columns.size() - 1);
    for (std::size_t c = 1; c < t.columns.size(); ++c) {
      const std::vector<double>& v = t.values[c];
      const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
      const Chart& chart = p.charts.at(t.columns[c]);
      EXPECT_EQ(chart.rows, 30);
      EXPECT_EQ(chart.points.size(), 30u) << "short runs keep every row";
      EXPECT_NEAR(chart.lo, *lo, 1e-5 * std::max(1.0, std::fabs(*lo)));
      EXPECT_NEAR(chart.hi, *hi, 1e-5 * std::max(1.0, std::fabs(*hi)));
      const std::vector<double>& s = p.summary.at(t.columns[c]);
      ASSERT_EQ(s.size(), 4u);
      EXPECT_NEAR(s[0], v.front(), 1e-5 * std::max(1.0, std::fabs(v.front())));
      EXPECT_NEAR(s[1], v.back(), 1e-5 * std::max(1.0, std::fabs(v.back())));
    }
    EXPECT_GT(p.bestRows, 1);
    EXPECT_EQ(p.svgs, static_cast<int>(t.columns.size())) << "a chart per column and the family tree";
  }
}

TEST(RunReport, ALongCsvDrawsAsFewPointsAndKeepTheirSpike) {
  ScratchDir dir;
  std::string text = std::string(kRunCsvHeader) + "\n";
  constexpr int kRows = 300000;
  constexpr int kSpikeRow = 214321;
  text.reserve(static_cast<std::size_t>(kRows) * 40);
  for (int i = 1; i <= kRows; ++i)
    text += std::to_string(i) + ",5,9,3,2," + (i == kSpikeRow ? "99" : std::to_string(i % 7)) + ",1,2,3,4,5\n";
  const std::string csv = dir.write("big.csv", text);
  ASSERT_EQ(runTool({"report", csv, "-o", dir.file("big.html")}).code, 0);
  const Chart mean = parse(dir.file("big.html")).charts.at("fitness_mean");
  EXPECT_EQ(mean.rows, kRows);
  EXPECT_EQ(mean.hi, 99);
  EXPECT_LE(mean.points.size(), 3 * kReportCurveBuckets);
  const double top = std::min_element(mean.points.begin(), mean.points.end(), [](auto& a, auto& b) {
                       return a.second < b.second;
                     })->second;
  EXPECT_LT(top, 30) << "the spike reaches the top of its plot";
}

TEST(RunReport, BadInputIsRefusedWithAClearMessage) {
  ScratchDir dir;
  const std::string header = kRunCsvHeader;
  const std::string row = "100,5,9,3,2,0.5,1,2,3,4,5";
  // The CSV's text, the exit code and what the message (or, on success, the warnings) must hold.
  const std::tuple<std::string, int, std::string> cases[] = {
      {"", 1, "is not a run's CSV"},
      {"org:\ngenotype:X\n", 1, "is not a run's CSV"},
      {"step,genotypes\n1,2\n", 1, "lacks the run's columns individuals, alive"},
      {header + "\n", 1, "holds no rows"},
      {header + "\n" + row + "\n1,2,x\n" + row + "\n", 1, "line 3: not 11 numbers"},
      {header + "\n" + row + "\n" + row.substr(0, 9), 0, "line 3 is cut short"},
      {header + "\n" + row + "\n", 0, ""},
  };
  for (const auto& [csv, code, message] : cases) {
    const test_support::ToolRun r = runTool({"report", dir.write("in.csv", csv), "-o", dir.file("out.html")});
    EXPECT_EQ(r.code, code) << csv;
    EXPECT_NE(r.err.find(message), std::string::npos) << csv << "\n" << r.err;
    if (code == 0) {
      EXPECT_EQ(parse(dir.file("out.html")).charts.at("fitness_best").points.size(), 1u);
    }
    std::filesystem::remove(dir.file("out.html"));
  }
  const std::string good = dir.write("good.csv", header + "\n" + row + "\n");
  EXPECT_NE(runTool({"report", good, "--pool", dir.file("none.gen"), "-o", dir.file("x.html")}).err.find("cannot read"),
            std::string::npos);
  EXPECT_NE(runTool({"report", good, "--phylogeny", dir.write("evil.svg", "<svg><script>x()</script></svg>"), "-o",
                     dir.file("x.html")})
                .err.find("holds a script"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.file("x.html")));
}

}  // namespace
}  // namespace vorlund::cli
