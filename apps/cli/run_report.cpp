#include "run_report.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <iterator>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "core/strutil.h"
#include "sim/evolution_samples.h"
#include "sim/symulator.h"

namespace vorlund::cli {

namespace {

// One chart's picture, in SVG user units.
constexpr double kChartW = 560, kChartH = 230;
constexpr double kPlotLeft = 74, kPlotRight = 530, kPlotTop = 28, kPlotBottom = 195;
// Curve colours, one per column in turn.
constexpr const char* kCurveColours[] = {"#1f77b4", "#d62728", "#2ca02c", "#9467bd", "#ff7f0e", "#17becf",
                                         "#8c564b", "#e377c2", "#7f7f7f", "#bcbd22"};
constexpr const char* kWritingSuffix = ".writing~";

std::string escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string caption(const std::string& key) {
  for (const EvolutionSeriesInfo& info : kEvolutionSeries)
    if (key == info.key) return info.caption;
  return key;
}

struct Range {
  double lo = 0, hi = 0;
  bool any = false;
  void add(double v) {
    if (!std::isfinite(v)) return;
    if (!any || v < lo) lo = v;
    if (!any || v > hi) hi = v;
    any = true;
  }
};

// The rows a curve keeps: for each of `buckets` spans of steps the first,
// lowest and highest row, in row order.
std::vector<std::size_t> downsample(const std::vector<double>& steps, const std::vector<double>& ys,
                                    double s0, double s1, std::size_t buckets) {
  std::vector<std::size_t> keep;
  if (ys.size() <= 3 * buckets) {
    for (std::size_t i = 0; i < ys.size(); ++i)
      if (std::isfinite(ys[i])) keep.push_back(i);
    return keep;
  }
  const double width = s1 > s0 ? s1 - s0 : 1;
  std::size_t bucket = SIZE_MAX, lo = 0, hi = 0, first = 0;
  auto flush = [&]() {
    if (bucket == SIZE_MAX) return;
    std::size_t picks[3] = {first, lo, hi};
    std::sort(picks, picks + 3);
    for (std::size_t p : picks)
      if (keep.empty() || keep.back() != p) keep.push_back(p);
  };
  for (std::size_t i = 0; i < ys.size(); ++i) {
    if (!std::isfinite(ys[i])) continue;
    const double at = std::clamp((steps[i] - s0) / width, 0.0, 1.0);
    const std::size_t b = std::min(buckets - 1, static_cast<std::size_t>(at * static_cast<double>(buckets)));
    if (b != bucket) {
      flush();
      bucket = b;
      first = lo = hi = i;
    }
    if (ys[i] < ys[lo]) lo = i;
    if (ys[i] > ys[hi]) hi = i;
  }
  flush();
  return keep;
}

std::string chartSvg(const RunTable& t, std::size_t col, const char* colour) {
  const std::vector<double>& steps = t.values[0];
  const std::vector<double>& ys = t.values[col];
  Range xr, yr;
  for (double s : steps) xr.add(s);
  for (double v : ys) yr.add(v);
  const std::string key = t.columns[col];
  std::string svg = ssprintf(
      "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"chart\" viewBox=\"0 0 %g %g\" width=\"%g\" height=\"%g\" "
      "data-column=\"%s\" data-rows=\"%zu\" data-min=\"%s\" data-max=\"%s\">\n",
      kChartW, kChartH, kChartW, kChartH, escape(key).c_str(), ys.size(), formatReal(yr.lo).c_str(),
      formatReal(yr.hi).c_str());
  svg += ssprintf("<text x=\"%g\" y=\"18\" class=\"title\">%s</text>\n", kPlotLeft, escape(caption(key)).c_str());
  svg += ssprintf("<rect x=\"%g\" y=\"%g\" width=\"%g\" height=\"%g\" class=\"frame\"/>\n", kPlotLeft, kPlotTop,
                  kPlotRight - kPlotLeft, kPlotBottom - kPlotTop);
  if (!yr.any) return svg + "<text x=\"300\" y=\"110\" class=\"note\">no finite values</text>\n</svg>\n";
  double lo = yr.lo, hi = yr.hi;
  if (hi - lo < 1e-12 * std::max(1.0, std::fabs(hi))) {  // a flat curve sits in the middle
    lo -= 1;
    hi += 1;
  }
  const double s0 = xr.lo, s1 = xr.hi > xr.lo ? xr.hi : xr.lo + 1;
  auto px = [&](double s) { return kPlotLeft + (s - s0) / (s1 - s0) * (kPlotRight - kPlotLeft); };
  auto py = [&](double v) { return kPlotBottom - (v - lo) / (hi - lo) * (kPlotBottom - kPlotTop); };
  for (int k = 0; k <= 4; ++k) {  // value grid and labels
    const double v = lo + (hi - lo) * k / 4.0;
    svg += ssprintf("<line x1=\"%g\" x2=\"%g\" y1=\"%.1f\" y2=\"%.1f\" class=\"grid\"/>"
                    "<text x=\"%g\" y=\"%.1f\" class=\"ylabel\">%s</text>\n",
                    kPlotLeft, kPlotRight, py(v), py(v), kPlotLeft - 4, py(v) + 4, ssprintf("%.4g", v).c_str());
  }
  for (int k = 0; k <= 4; ++k) {  // step labels
    const double s = s0 + (s1 - s0) * k / 4.0;
    svg += ssprintf("<text x=\"%.1f\" y=\"%g\" class=\"xlabel\">%s</text>\n", px(s), kPlotBottom + 16,
                    formatInt(std::llround(s)).c_str());
  }
  svg += ssprintf("<text x=\"%g\" y=\"%g\" class=\"axis\">step</text>\n", kPlotRight, kChartH - 4);
  const std::vector<std::size_t> keep = downsample(steps, ys, s0, s1, kReportCurveBuckets);
  if (keep.size() == 1) {
    svg += ssprintf("<circle cx=\"%.1f\" cy=\"%.1f\" r=\"3\" fill=\"%s\" class=\"curve\"/>\n", px(steps[keep[0]]),
                    py(ys[keep[0]]), colour);
  } else {
    svg += ssprintf("<polyline class=\"curve\" fill=\"none\" stroke=\"%s\" points=\"", colour);
    for (std::size_t i : keep) svg += ssprintf("%.1f,%.1f ", px(steps[i]), py(ys[i]));
    svg += "\"/>\n";
  }
  return svg + "</svg>\n";
}

std::string summaryTable(const RunTable& t) {
  std::string html = "<table id=\"summary\">\n<tr><th>Column</th><th>First</th><th>Last</th><th>Lowest</th>"
                     "<th>Highest</th></tr>\n";
  for (std::size_t c = 1; c < t.columns.size(); ++c) {
    Range r;
    for (double v : t.values[c]) r.add(v);
    html += ssprintf("<tr data-column=\"%s\"><td>%s</td><td>%s</td><td>%s</td><td>%s</td><td>%s</td></tr>\n",
                     escape(t.columns[c]).c_str(), escape(caption(t.columns[c])).c_str(),
                     formatReal(t.values[c].front()).c_str(), formatReal(t.values[c].back()).c_str(),
                     formatReal(r.lo).c_str(), formatReal(r.hi).c_str());
  }
  return html + "</table>\n";
}

std::string bestTable(const std::vector<ReportGenotype>& best) {
  if (best.empty()) return "<p class=\"note\">The pool holds no genotype with individuals.</p>\n";
  std::string html = "<table id=\"best\">\n<tr><th>#</th><th>Name</th><th>Fitness</th><th>Individuals</th>"
                     "<th>Life span</th><th>Velocity</th><th>Distance</th><th>Genotype</th></tr>\n";
  int rank = 0;
  for (const ReportGenotype& g : best)
    html += ssprintf("<tr><td>%d</td><td>%s</td><td>%s</td><td>%ld</td><td>%s</td><td>%s</td><td>%s</td>"
                     "<td><code>%s</code></td></tr>\n",
                     ++rank, escape(g.name).c_str(), formatReal(g.fitness).c_str(), g.individuals,
                     formatReal(g.lifespan).c_str(), formatReal(g.velocity).c_str(), formatReal(g.distance).c_str(),
                     escape(g.genotype).c_str());
  return html + "</table>\n";
}

constexpr const char* kStyle =
    "body{font-family:sans-serif;margin:24px;color:#222;background:#fff}"
    "h1{font-size:22px}h2{font-size:18px;margin-top:28px}"
    ".charts{display:flex;flex-wrap:wrap;gap:8px}"
    "svg.chart{border:1px solid #ddd;background:#fcfcfc}"
    "svg .frame{fill:none;stroke:#888}svg .grid{stroke:#e4e4e4}"
    "svg text{font-size:11px;fill:#444}svg .title{font-size:13px;font-weight:bold;fill:#222}"
    "svg .ylabel{text-anchor:end}svg .xlabel{text-anchor:middle}svg .axis{text-anchor:end;fill:#777}"
    "svg polyline{stroke-width:1.3}"
    "table{border-collapse:collapse;font-size:13px}td,th{border:1px solid #ccc;padding:3px 8px;text-align:right}"
    "td:nth-child(2),th:nth-child(2){text-align:left}"
    "td code{display:block;max-width:520px;white-space:pre-wrap;word-break:break-all;text-align:left}"
    ".note{color:#777}.tree svg{max-width:100%;height:auto;border:1px solid #ddd}";

}  // namespace

std::vector<ReportGenotype> bestGenotypes(symulator& sim, std::size_t count) {
  sim.fitness.refreshStatistics();
  std::vector<ReportGenotype> all;
  for (int i = 0; i < sim.pool.size(); ++i) {
    const przodek& rec = *sim.pool.get(i);
    if (rec.popsiz == 0) continue;
    all.push_back({rec.name, rec.genotype, rec.popsiz, sim.fitness.fitness(rec), rec.lifespan, rec.velocity,
                   rec.distance});
  }
  std::stable_sort(all.begin(), all.end(),
                   [](const ReportGenotype& a, const ReportGenotype& b) { return a.fitness > b.fitness; });
  if (all.size() > count) all.resize(count);
  return all;
}

std::string reportHtml(const ReportInputs& in) {
  const RunTable& t = *in.table;
  std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n";
  html += "<title>Vorlund run report: " + escape(in.source) + "</title>\n<style>" + kStyle + "</style>\n</head>\n<body>\n";
  html += "<h1>Vorlund run report</h1>\n";
  const std::vector<double>& steps = t.values[0];
  html += ssprintf("<p id=\"about\">%s: %zu rows, steps %s to %s.</p>\n", escape(in.source).c_str(), t.rows(),
                   formatInt(std::llround(steps.front())).c_str(), formatInt(std::llround(steps.back())).c_str());
  html += "<h2>Curves</h2>\n";
  if (t.rows() == 1) html += "<p class=\"note\">One row only: each chart shows a single point.</p>\n";
  html += "<div class=\"charts\">\n";
  for (std::size_t c = 1; c < t.columns.size(); ++c)
    html += chartSvg(t, c, kCurveColours[(c - 1) % std::size(kCurveColours)]);
  html += "</div>\n<h2>Summary</h2>\n" + summaryTable(t);
  if (in.havePool) html += "<h2>Best genotypes</h2>\n" + bestTable(in.best);
  if (!in.treeSvg.empty()) html += "<h2>Family tree</h2>\n<div class=\"tree\">\n" + in.treeSvg + "\n</div>\n";
  return html + "</body>\n</html>\n";
}

bool readTreeSvg(const std::string& path, std::string& svg, std::string& error) {
  std::string text;
  if (!readWholeFile(path, text)) {
    error = "cannot read " + path;
    return false;
  }
  const std::size_t from = text.find("<svg");
  const std::size_t to = text.rfind("</svg>");
  if (from == std::string::npos || to == std::string::npos || to < from) {
    error = path + " holds no SVG picture";
    return false;
  }
  svg = text.substr(from, to + 6 - from);
  std::string lower = svg;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const char* banned : {"<script", "<foreignobject", "href=\"http", "href='http", "@import", "url(http"}) {
    if (lower.find(banned) != std::string::npos) {
      error = path + " holds a script or a link to elsewhere; the report takes only plain pictures";
      return false;
    }
  }
  return true;
}

bool writeReportFile(const std::string& path, const std::string& html, std::string& error) {
  const std::string temp = path + kWritingSuffix;
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  bool ok = fd >= 0;
  for (std::size_t done = 0; ok && done < html.size();) {
    const ssize_t n = ::write(fd, html.data() + done, html.size() - done);
    ok = n > 0;
    if (ok) done += static_cast<std::size_t>(n);
  }
  ok = ok && ::fsync(fd) == 0;
  if (fd >= 0) ok = ::close(fd) == 0 && ok;
  if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    error = "cannot write the report " + path;
    return false;
  }
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

}  // namespace vorlund::cli
