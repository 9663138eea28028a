#include "phylogeny_svg.h"

#include <ostream>

#include "genetics/phylogeny/svg_canvas.h"

namespace vorlund::cli {

bool writePhylogenySvg(const GenMan& gm, const PhylogenyPicture& pic, const std::string& file, std::ostream& err,
                       std::size_t& points) {
  EvolStudy study;
  study.vars.es_show = pic.show;
  study.vars.es_scale = pic.scale;
  study.vars.es_scat = pic.scatter;
  study.vars.es_rep = pic.repeats;
  points = 0;
  if (!study.Analyze(gm.history())) {
    err << "no genetic operation succeeded: nothing to draw\n";
    return false;
  }
  SvgCanvas canvas(pic.width, pic.height);
  study.Draw(canvas);
  if (!canvas.save(file)) {
    err << "cannot write " << file << '\n';
    return false;
  }
  points = study.points().size();
  return true;
}

}  // namespace vorlund::cli
