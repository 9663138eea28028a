#include "genetics/phylogeny/evolstudy.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "core/message.h"
#include "core/random.h"
#include "core/strutil.h"

namespace vorlund {

namespace {

constexpr ParamTab kEvolStudyTab[] = {
    paramHeader("Phylogeny", 1, 6, nullptr),
    {"es_method", 0, "Use information from", "d 0 1 ~Genetic operations~Phenotype (not impl.)",
     offsetof(EvolStudyFields, es_method), "How to measure diversification?"},
    {"es_show", 0, "Show", "d 0 2 ~Mutated only~Crossed over only~Mutated and crossed over",
     offsetof(EvolStudyFields, es_show), "What to show"},
    {"es_scale", 0, "Vertial axis", "d 0 1 ~Absolute (generations, genetic time)~Relative (genetic steps)",
     offsetof(EvolStudyFields, es_scale), "Genetic scale (operations)"},
    {"es_rep", 0, "Show repeating genotypes?", "d 0 1 ~As dashed lines~No", offsetof(EvolStudyFields, es_rep),
     "How to cope with duplicated genotypes"},
    {"es_scat", 0, "Scatter tree leaves", "d 0 2 ~Randomly (fast)~Max. local distance~Max. global distance (slow)",
     offsetof(EvolStudyFields, es_scat), "Tree layout"},
    {"es_slow", 0, "Slow display", "d 0 1", offsetof(EvolStudyFields, es_slow), "Display phylogenic tree slowly?"},
    paramEnd(),
};
static_assert(paramTableValid(kEvolStudyTab));

// A mutant lands this far to the side of its parent per unit of change.
constexpr float kSideStep = 100.0f;
// With the absolute scale a point shares the level of the heights up to this far below it.
constexpr float kAbsoluteLevelDepth = 3.0f;
// The global scatter rule looks at points within this height of the new one.
constexpr float kGlobalScatterReach = 50.0f;
// Each normalised range is widened by this share of (range + 1) on both sides.
constexpr float kMargin = 0.05f;
// Point radius as a share of the smaller canvas side.
constexpr double kPointRadiusDivisor = 300.0;
// Labels of short genotypes sit left of their point, this many pixels per character.
constexpr std::size_t kLabelMaxLength = 8;
constexpr double kLabelShiftPerChar = 3.0;
// The axis marks: heights as shares of the canvas, and their horizontal extent.
constexpr double kAxisTop = 0.05, kAxisBottom = 0.95;
constexpr double kAxisLeft = 10.0;
constexpr double kAxisLabelGap = 4.0;
// Slow display refreshes this many times over the whole tree.
constexpr std::size_t kSlowRefreshes = 100;

constexpr CanvasColor kMutationColor{255, 0, 0};
constexpr CanvasColor kCrossoverColor{255, 255, 255};
constexpr CanvasColor kLabelColor{200, 200, 200};

}  // namespace

EvolStudy::EvolStudy() : params_(kEvolStudyTab, &vars) {}

int EvolStudy::find(const std::string& genotype) const {
  for (std::size_t i = layout_.size(); i-- > 0;)
    if (layout_[i].genotype == genotype) return static_cast<int>(i);
  return -1;
}

float EvolStudy::scatter(float right, float left, float y) const {
  switch (vars.es_scat) {
    case ES_SCAT_RANDOM:
      return (r31() & 1) ? right : left;
    case ES_SCAT_LOCAL: {
      float dRight = std::numeric_limits<float>::infinity(), dLeft = dRight;
      for (const GenoPos& p : layout_) {
        const bool sameLevel =
            vars.es_scale == ES_SCALE_RELATIVE ? p.y == y : (p.y <= y && y < p.y + kAbsoluteLevelDepth);
        if (!sameLevel) continue;
        dRight = std::min(dRight, std::fabs(p.x - right));
        dLeft = std::min(dLeft, std::fabs(p.x - left));
      }
      return dRight > dLeft ? right : left;
    }
    default: {
      double sumRight = 0.0, sumLeft = 0.0;
      for (const GenoPos& p : layout_) {
        if (std::fabs(p.y - y) >= kGlobalScatterReach) continue;
        sumRight += std::hypot(p.x - right, p.y - y);
        sumLeft += std::hypot(p.x - left, p.y - y);
      }
      return sumRight > sumLeft ? right : left;
    }
  }
}

void EvolStudy::addCrossover(const GenoLink& first, const GenoLink& second) {
  const int p1 = find(first.parent);
  const int p2 = find(second.parent);
  if (p1 < 0 || p2 < 0) {
    logMessage("EvolStudy", "Analyze", "XO: Unknown: " + first.parent, LOG_ERROR);
    return;
  }
  const GenoPos parent1 = layout_[static_cast<std::size_t>(p1)];
  const GenoPos parent2 = layout_[static_cast<std::size_t>(p2)];
  const GenoLink* records[2] = {&first, &second};
  for (int k = 0; k < 2; ++k) {
    const GenoLink& rec = *records[k];
    GenoPos pos;
    pos.kind = GENOPOS_CROSSOVER;
    const int present = find(rec.child);
    if (present >= 0) {
      pos.x = layout_[static_cast<std::size_t>(present)].x;
      pos.y = layout_[static_cast<std::size_t>(present)].y;
      pos.genotype = kAlreadyPresentGenotype;
    } else {
      // The change is the child's share of its own parent: the second child
      // leans towards the second parent.
      const GenoPos& own = k == 0 ? parent1 : parent2;
      const GenoPos& other = k == 0 ? parent2 : parent1;
      pos.x = own.x * rec.change + (1.0f - rec.change) * other.x;
      pos.y = vars.es_scale == ES_SCALE_RELATIVE ? (parent1.y + parent2.y) / 2.0f : static_cast<float>(rec.number);
      pos.genotype = rec.child;
    }
    pos.parent = p1;
    layout_.push_back(pos);
    pos.parent = p2;
    layout_.push_back(pos);
  }
}

void EvolStudy::addMutation(const GenoLink& link) {
  const int parent = find(link.parent);
  if (parent < 0) {
    logMessage("EvolStudy", "Analyze", "Mut: Unknown: " + link.parent, LOG_ERROR);
    return;
  }
  const GenoPos from = layout_[static_cast<std::size_t>(parent)];
  GenoPos pos;
  pos.kind = GENOPOS_MUTATION;
  pos.parent = parent;
  const int present = find(link.child);
  if (present >= 0) {
    pos.x = layout_[static_cast<std::size_t>(present)].x;
    pos.y = layout_[static_cast<std::size_t>(present)].y;
    pos.genotype = kAlreadyPresentGenotype;
  } else {
    pos.y = vars.es_scale == ES_SCALE_RELATIVE ? from.y + 1.0f : static_cast<float>(link.number);
    pos.x = scatter(from.x + kSideStep * link.change, from.x - kSideStep * link.change, pos.y);
    pos.genotype = link.child;
  }
  layout_.push_back(pos);
}

void EvolStudy::normalise() {
  points_ = layout_;
  if (points_.empty()) return;
  float minX = points_[0].x, maxX = minX, minY = points_[0].y, maxY = minY;
  for (const GenoPos& p : points_) {
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  const float padX = kMargin * (maxX - minX + 1.0f), padY = kMargin * (maxY - minY + 1.0f);
  minX -= padX;
  maxX += padX;
  minY -= padY;
  maxY += padY;
  for (GenoPos& p : points_) {
    p.x = (p.x - minX) / (maxX - minX);
    p.y = (p.y - minY) / (maxY - minY);
  }
}

bool EvolStudy::Analyze(const std::vector<GenoLink>& history, const std::function<bool(param&)>& askParameters) {
  layout_.clear();
  points_.clear();
  if (history.empty()) {
    logMessage("EvolStudy", "Analyze", "No data. Turn on 'Genetics->Remember...' before you start evolution.",
               LOG_ERROR);
    return false;
  }
  if (askParameters && !askParameters(params_)) return false;

  GenoPos root;
  root.genotype = history[0].parent;
  root.parent = 0;
  layout_.push_back(root);
  std::size_t i = 0;
  while (i < history.size()) {
    if (i + 1 < history.size() && history[i + 1].number == history[i].number) {
      // A crossover pair is consumed as a whole, even when a parent is unknown,
      // so that its second record is not taken for a mutation.
      addCrossover(history[i], history[i + 1]);
      i += 2;
    } else {
      addMutation(history[i]);
      ++i;
    }
  }
  normalise();
  return true;
}

void EvolStudy::Draw(Canvas& canvas) const {
  const double w = canvas.width(), h = canvas.height();
  const double radius = std::min(w, h) / kPointRadiusDivisor;
  const std::size_t refreshEvery = points_.size() / kSlowRefreshes + 1;
  for (std::size_t i = 0; i < points_.size(); ++i) {
    const GenoPos& p = points_[i];
    const CanvasColor color = p.kind == GENOPOS_CROSSOVER ? kCrossoverColor : kMutationColor;
    const double px = w * p.x, py = h * p.y;
    canvas.ellipse(px, py, radius, radius, color);
    if (p.genotype.size() < kLabelMaxLength)
      canvas.text(px - kLabelShiftPerChar * static_cast<double>(p.genotype.size()), py, p.genotype, kLabelColor);
    const bool shown = p.kind == GENOPOS_MUTATION ? vars.es_show != ES_SHOW_CROSSED : vars.es_show != ES_SHOW_MUTATED;
    const bool repeated = p.genotype == kAlreadyPresentGenotype;
    if (shown && static_cast<std::size_t>(p.parent) != i && !(repeated && vars.es_rep == ES_REP_NONE)) {
      const GenoPos& q = points_[static_cast<std::size_t>(p.parent)];
      canvas.line(px, py, w * q.x, h * q.y, color, repeated);
    }
    if (vars.es_slow && (i + 1) % refreshEvery == 0) canvas.refresh();
  }
  const double right = w / 10.0 + kAxisLeft;
  canvas.line(kAxisLeft, h * kAxisTop, right, h * kAxisTop, kLabelColor, false);
  canvas.text(right + kAxisLabelGap, h * kAxisTop, "0", kLabelColor);
  canvas.line(kAxisLeft, h * kAxisBottom, right, h * kAxisBottom, kLabelColor, false);
  const std::string bottom = vars.es_scale == ES_SCALE_ABSOLUTE
                                 ? ssprintf("most recent: #%d", static_cast<int>(points_.size()))
                                 : std::string("max. # of gen. oper.");
  canvas.text(right + kAxisLabelGap, h * kAxisBottom, bottom, kLabelColor);
}

}  // namespace vorlund
