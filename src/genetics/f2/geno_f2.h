// The format operator of encoding 2: every text is valid; mutation works on
// the record lines directly (drop or repeat a line, or change receptors,
// muscles and digits); the editor colours the records' characters.
#pragma once

#include "core/param.h"
#include "genetics/geno_fx.h"

namespace vorlund {

// Settings of the "Genetics: f2" table; kept for the settings file and the
// dialog, no operation reads them.
struct GenoF2Fields {
  double geno_f2_pro = 0.5;
  double geno_f2_min = 0.0;
  double geno_f2_max = 9.0;
};

// What the last Mutate call did (kind 1 drop, 2 repeat, 3 character changes).
struct F2MutationReport {
  int kind = 0;
  int replacements = 0;  // counted changes of the second pass of kind 3
};

// The share of the genotype every encoding-2 mutation reports as changed.
constexpr float F2_MUTATION_CHANGE = 0.5f;

class TGeno_f2 : public TGeno_fx {
 public:
  TGeno_f2();

  int CheckValidity(const std::string& body) override;
  int Mutate(std::string& body, float& change) override;
  uint32_t Style(const std::string& text, int position) override;
  int MarkerNewline() override { return 0; }
  param* parameters() override { return &params_; }

  GenoF2Fields vars;
  const F2MutationReport& lastMutation() const { return last_; }

 private:
  void dropLine(std::string& body);
  void repeatLine(std::string& body);
  void changeCharacters(std::string& body);

  param params_;
  F2MutationReport last_;
};

}  // namespace vorlund
