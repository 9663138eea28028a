// The phylogeny analysis: lays out the family tree of the genotypes recorded
// in the genetic manager's history (one point per child, joined to its parents)
// and draws it on any canvas.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/param.h"
#include "genetics/genman.h"
#include "genetics/phylogeny/canvas.h"

namespace vorlund {

// Settings of the "Phylogeny" table.
struct EvolStudyFields {
  int es_method = 0;  // 0 genetic operations; 1 phenotype, not implemented
  int es_show = 2;    // see the ES_SHOW_ values
  int es_scale = 0;   // see the ES_SCALE_ values
  int es_rep = 0;     // see the ES_REP_ values
  int es_scat = 2;    // see the ES_SCAT_ values
  int es_slow = 0;    // refresh the canvas while drawing
};

constexpr int ES_SHOW_MUTATED = 0;
constexpr int ES_SHOW_CROSSED = 1;
constexpr int ES_SHOW_BOTH = 2;
constexpr int ES_SCALE_ABSOLUTE = 0;  // height = number of the genetic operation
constexpr int ES_SCALE_RELATIVE = 1;  // height = genetic steps from the root
constexpr int ES_REP_DASHED = 0;
constexpr int ES_REP_NONE = 1;
constexpr int ES_SCAT_RANDOM = 0;
constexpr int ES_SCAT_LOCAL = 1;
constexpr int ES_SCAT_GLOBAL = 2;

constexpr int GENOPOS_MUTATION = 0;
constexpr int GENOPOS_CROSSOVER = 1;

// The text a point carries when its genotype was already drawn earlier.
constexpr const char* kAlreadyPresentGenotype = "NO_GENOTYPE_REFER_TO_ALREADY_PRESENT";

// One point of the tree.
struct GenoPos {
  float x = 0.0f, y = 0.0f;
  int kind = GENOPOS_MUTATION;
  std::string genotype;
  int parent = 0;  // index of the point it is joined to (itself for the root)
};

class EvolStudy {
 public:
  EvolStudy();
  EvolStudy(const EvolStudy&) = delete;
  EvolStudy& operator=(const EvolStudy&) = delete;

  // Rebuilds the points from the history. `askParameters` (the settings
  // dialog) may cancel by returning false. False when there is nothing to draw.
  bool Analyze(const std::vector<GenoLink>& history, const std::function<bool(param&)>& askParameters = {});
  // Draws the last analysis.
  void Draw(Canvas& canvas) const;

  // Points as drawn (0..1) and as laid out before normalisation.
  const std::vector<GenoPos>& points() const { return points_; }
  const std::vector<GenoPos>& layout() const { return layout_; }

  param& parameters() { return params_; }
  EvolStudyFields vars;

 private:
  int find(const std::string& genotype) const;
  float scatter(float right, float left, float y) const;
  void addCrossover(const GenoLink& first, const GenoLink& second);
  void addMutation(const GenoLink& link);
  void normalise();

  std::vector<GenoPos> layout_;
  std::vector<GenoPos> points_;
  param params_;
};

}  // namespace vorlund
