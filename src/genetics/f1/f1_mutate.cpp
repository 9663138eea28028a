// Mutation of encoding-1 genotypes: parser passes with mutation sites, the
// edit list applied, the result repaired, and possibly one new neuron.
#include <algorithm>

#include "core/message.h"
#include "core/random.h"
#include "core/strutil.h"
#include "genetics/f1/f1_alphabet.h"
#include "genetics/f1/f1_parser.h"
#include "genetics/f1/geno_f1.h"

namespace vorlund {

using f1::F1EditList;
using f1::F1Mode;
using f1::F1Parser;

namespace {

// A new neuron's input: one neuron back or forward, weight from a normal draw times this.
constexpr double kNewWeightScale = 5.0;

}  // namespace

int TGeno_f1::Mutate(std::string& body, float& change) {
  if (body.empty()) {
    logMessage("TGeno_f1", "Mutate", "Born from the dust???", LOG_ERROR);
    body = "X";
    change = 1.0f;
    return 0;
  }
  // Work on a copy so that a failed mutation leaves the caller's text as it was.
  std::string text = body;
  if (Validate(text) > 0) return F1_FAILED;
  const std::size_t originalLength = text.size();

  F1EditList edits;
  double multiplier = 1.0;
  while (edits.empty() && multiplier < kF1MultiplierLimit) {
    F1Parser pass(F1Mode::Mutate, {&vars, multiplier, &normal_});
    pass.run(text);
    edits = std::move(pass.edits());
    multiplier *= kF1MultiplierStep;
  }
  multiplier /= kF1MultiplierStep;
  vars.geno_f1_mult = multiplier;

  const int bodyChanges = f1::applyMutations(text, edits);
  int v = Validate(text);
  if (v > 0 && vars.gm_repair == 1) {
    text = "(" + text + ")";
    v = Validate(text);
  }
  if (v > 0) return F1_FAILED;

  edits.clear();
  if (text.empty() || !addNeuron(text, edits, multiplier)) return F1_FAILED;
  const int neuronChanges = f1::applyMutations(text, edits);
  if (Validate(text) > 0) return F1_FAILED;

  body = std::move(text);
  // Insertions can outgrow the parent; the share of the genotype changed stays a share.
  change = std::min(1.0f, static_cast<float>(bodyChanges + neuronChanges) / static_cast<float>(originalLength));
  return 0;
}

bool TGeno_f1::addNeuron(std::string& text, F1EditList& edits, double multiplier) {
  const double length = static_cast<double>(text.size());
  const double x = vars.geno_f1_nm2 / length * vars.mut_neu * multiplier;
  std::size_t at = std::string::npos;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != 'X') continue;
    std::size_t q = i + 1;
    while (q < text.size() && f1::isWhite(text[q])) ++q;
    if (f1::unitDraw() < 1.0 - 1.0 / (1.0 + x)) {
      at = q;
      break;
    }
  }
  if (at == std::string::npos) return true;

  const char muscle = f1::drawChar(f1::kMusclesOrNone, vars.mut_exctl);
  const int direction = (r31() & 1) ? 1 : -1;
  const double weight = normal_.next() * kNewWeightScale;
  edits.push_back({static_cast<int>(at), static_cast<int>(at), ssprintf("[%c %d :%.3lf]", muscle, direction, weight)});

  // The new neuron takes number K + 1; connections crossing it move by one.
  const int before = static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(at), '['));
  std::string scratch = text;
  F1Parser scan(F1Mode::Check);
  if (scan.run(scratch) != 0) return false;
  for (const f1::F1IntInput& in : scan.intInputs()) {
    long renumbered = in.value;
    if (in.neuron <= before && in.neuron + in.value > before)
      renumbered = in.value + 1;
    else if (in.neuron > before && in.neuron + in.value <= before)
      renumbered = in.value - 1;
    if (renumbered == in.value) continue;
    std::string digits = formatInt(renumbered);
    const std::size_t room = static_cast<std::size_t>(in.colon - in.numberStart);
    if (digits.size() > room) return false;
    digits.append(room - digits.size(), ' ');
    text.replace(static_cast<std::size_t>(in.numberStart), room, digits);
  }
  return true;
}

}  // namespace vorlund
