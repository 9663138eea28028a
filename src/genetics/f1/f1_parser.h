// The one recursive-descent parser of encoding 1. In check mode it only judges
// validity; in repair mode it also fixes what it can (around the parse and by
// clamping connections); with mutation enabled it additionally rolls a die at
// every place where the grammar allows a change and records the chosen changes
// in an edit list, applied afterwards by applyMutations.
#pragma once

#include <string>
#include <vector>

#include "genetics/f1/f1_edits.h"
#include "genetics/f1/f1_params.h"

namespace vorlund::f1 {

class NormalDraw;

enum class F1Mode { Check, Repair, Mutate };

// A longer run of modifiers is refused as a critical error.
constexpr int kMaxModifierRun = 499;
// Deeper nesting of branchings is refused, so that the recursion stays bounded.
constexpr int kMaxBranchDepth = 500;
// A normalised modifier run holds at most this many of each letter.
constexpr int kMaxSameModifier = 16;

// One integer input met by the parse (the connection renumbering uses them).
struct F1IntInput {
  int neuron;       // 1-based number of the neuron in text order
  int numberStart;  // first character of the number
  int colon;        // the ':' that ends the number's field
  long value;
};

// What the mutation sites need: the probabilities, the multiplier of this pass
// and the operator's normal draw.
struct F1MutationSettings {
  const F1Params* params = nullptr;
  double multiplier = 1.0;
  NormalDraw* normal = nullptr;
};

class F1Parser {
 public:
  explicit F1Parser(F1Mode mode, F1MutationSettings settings = {});

  // Parses `text`; the repair modes change it in place. 0 when it parses,
  // otherwise the 1-based position at which the parse stopped.
  int run(std::string& text);

  // A repair (not white space removal) changed the text.
  bool changed() const { return changed_; }
  F1EditList& edits() { return edits_; }
  const std::vector<F1IntInput>& intInputs() const { return intInputs_; }

 private:
  int parse();
  bool body();
  bool stickSequence();
  bool branching(int depth);
  bool neuron();
  bool input(int neuronNumber);
  bool fail(std::size_t position);

  char peek() const { return pos_ < text_->size() ? (*text_)[pos_] : '\0'; }
  bool atEnd() const { return pos_ >= text_->size(); }
  void skipWhite();

  // Mutation sites.
  bool fires(double probability, bool neural);
  void record(std::size_t start, std::size_t end, std::string text);
  void groupStartSites(std::size_t at);
  void modifierRunSite(std::size_t start, std::size_t end, const std::string& letters);
  void afterStickSites(std::size_t at, std::size_t neuronStart, bool afterNeuron);
  void commaSites(std::size_t at);

  F1Mode mode_;
  F1MutationSettings settings_;
  std::string* text_ = nullptr;
  std::size_t pos_ = 0;
  int error_ = 0;
  bool changed_ = false;
  int neuronCount_ = 0;   // '[' characters in the text
  int neuronNumber_ = 0;  // neurons read so far
  F1EditList edits_;
  std::vector<F1IntInput> intInputs_;
};

// Rewrites a modifier run: opposite-case pairs cancel, the rest is written in
// the order of kModifiers with at most kMaxSameModifier of each letter.
std::string normaliseModifiers(const std::string& letters);

}  // namespace vorlund::f1
