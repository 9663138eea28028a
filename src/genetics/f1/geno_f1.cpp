#include "genetics/f1/geno_f1.h"

#include <utility>

#include "genetics/f1/f1_parser.h"

namespace vorlund {

using f1::F1Mode;
using f1::F1Parser;

TGeno_f1::TGeno_f1() : params_(f1::f1ParamTable(), &vars) {}

std::vector<double> TGeno_f1::carriedState() const {
  return {normal_.hasSaved() ? 1.0 : 0.0, normal_.saved()};
}

bool TGeno_f1::setCarriedState(const std::vector<double>& state) {
  if (state.size() != 2) return false;
  normal_.restore(state[0] != 0, state[1]);
  return true;
}

int TGeno_f1::CheckValidity(const std::string& body) {
  std::string repaired = body;
  F1Parser repair(F1Mode::Repair);
  const int repairResult = repair.run(repaired);
  if (repaired.empty()) {
    // A text of white space only is wrong past its end, as the empty text is at 1.
    const bool blank = body.find_first_not_of(" \t\r\n") == std::string::npos;
    return blank ? static_cast<int>(body.size()) + 1 : 1;
  }
  std::string checked = body;
  F1Parser check(F1Mode::Check);
  const int checkResult = check.run(checked);
  if (checkResult == 0) return 0;
  // Only a repair that ends in a valid text makes the genotype repairable.
  if (repairResult == 0 && repair.changed()) return -1;
  return checkResult;
}

int TGeno_f1::Validate(std::string& body) {
  std::string repaired = body;
  F1Parser repair(F1Mode::Repair);
  const int r = repair.run(repaired);
  if (r != 0) {
    // The repairs balance parentheses over the whole text, also those in what
    // the grammar skips after a closed branching, and can so break a text that
    // was valid as it stood: such a text is kept as it is.
    return CheckValidity(body) == 0 ? 0 : r;
  }
  body = std::move(repaired);
  return repair.changed() ? -1 : 0;
}

}  // namespace vorlund
