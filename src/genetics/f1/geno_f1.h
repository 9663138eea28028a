// The format operator of encoding 1: checks and repairs genotypes through the
// encoding's parser, mutates them through the parser's mutation sites, crosses
// two over at two cut points, measures their similarity and colours their
// characters for the editor.
#pragma once

#include <string>

#include "core/param.h"
#include "genetics/f1/f1_edits.h"
#include "genetics/f1/f1_params.h"
#include "genetics/f1/f1_random.h"
#include "genetics/geno_fx.h"

namespace vorlund {

// Result of a failed mutation or crossover.
constexpr int F1_FAILED = -3;
// The multiplier of the mutation probabilities grows by this factor per empty pass...
constexpr double kF1MultiplierStep = 1.01;
// ...until it reaches this limit.
constexpr double kF1MultiplierLimit = 2.0;
// Cut points of a crossover are redrawn this often before the crossover fails.
constexpr int kF1CutPointRedraws = 100;

class TGeno_f1 : public TGeno_fx {
 public:
  TGeno_f1();

  int CheckValidity(const std::string& body) override;
  int Validate(std::string& body) override;
  int Mutate(std::string& body, float& change) override;
  int CrossOver(std::string& body1, std::string& body2, float& change1, float& change2) override;
  float Similarity(const std::string& text1, const std::string& text2) override;
  uint32_t Style(const std::string& text, int position) override;
  int MarkerNewline() override { return 0; }
  param* parameters() override { return &params_; }
  std::vector<double> carriedState() const override;
  bool setCarriedState(const std::vector<double>& state) override;

  f1::F1Params vars;

 private:
  // Adds one neuron behind the first stick where the die says so, renumbering
  // the connections that pass the insertion point. False when a renumbered
  // connection does not fit in place.
  bool addNeuron(std::string& text, f1::F1EditList& edits, double multiplier);

  param params_;
  f1::NormalDraw normal_;
};

// The structural difference of two genotypes: their branch-separated segments
// compared by stick count, 0 (same) to 1.
double f1StructSim(const std::string& text1, const std::string& text2);

}  // namespace vorlund
