// The run report: one self-contained HTML page (inline SVG, no script, no
// file or font from elsewhere) with a run's curves, its summary, the best
// genotypes of its pool and its family tree.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "run_table.h"

namespace vorlund {
class symulator;
}

namespace vorlund::cli {

// Points a curve keeps at most: a low and a high per column of the plot, so
// that a million rows draw as fast as a thousand and no spike is lost.
constexpr std::size_t kReportCurveBuckets = 480;
// Rows of the best-genotypes table.
constexpr std::size_t kReportBestGenotypes = 10;

struct ReportGenotype {
  std::string name, genotype;
  long individuals = 0;
  double fitness = 0, lifespan = 0, velocity = 0, distance = 0;
};

// The pool's genotypes of highest fitness, best first, at most `count`.
std::vector<ReportGenotype> bestGenotypes(symulator& sim, std::size_t count);

struct ReportInputs {
  std::string source;  // what the rows come from, for the heading
  const RunTable* table = nullptr;
  bool havePool = false;
  std::vector<ReportGenotype> best;
  std::string treeSvg;  // the family tree's <svg> element, or empty
};

std::string reportHtml(const ReportInputs& in);

// The <svg> element of a family-tree file, ready to sit inside the page.
// False, with a message, when the file cannot be read, holds no SVG picture,
// or holds a script or a link to elsewhere (the report must stand alone).
bool readTreeSvg(const std::string& path, std::string& svg, std::string& error);

// Writes the page beside `path`, syncs it and renames it into place.
bool writeReportFile(const std::string& path, const std::string& html, std::string& error);

}  // namespace vorlund::cli
