// Draws the genetic manager's history as an SVG family tree: shared by the
// phylogeny demo and the runner's --phylogeny option.
#pragma once

#include <iosfwd>
#include <string>

#include "genetics/genman.h"
#include "genetics/phylogeny/evolstudy.h"

namespace vorlund::cli {

// Size of the picture in pixels unless asked otherwise.
constexpr int kPhylogenyWidth = 1000;
constexpr int kPhylogenyHeight = 700;

struct PhylogenyPicture {
  int show = ES_SHOW_BOTH;
  int scale = ES_SCALE_ABSOLUTE;
  int scatter = ES_SCAT_GLOBAL;
  int repeats = ES_REP_DASHED;
  int width = kPhylogenyWidth;
  int height = kPhylogenyHeight;
};

// Analyses the history and writes the picture; false (with a line on `err`)
// when nothing can be drawn or the file cannot be written. `points` receives
// the number of points drawn.
bool writePhylogenySvg(const GenMan& gm, const PhylogenyPicture& pic, const std::string& file, std::ostream& err,
                       std::size_t& points);

}  // namespace vorlund::cli
