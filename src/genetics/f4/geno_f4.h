// The operator of encoding 4: validates and repairs genotypes by developing
// them, mutates and crosses them over on their code trees, and colours them.
#pragma once

#include <cstdint>
#include <string>

#include "core/param.h"
#include "genetics/f4/f4_node.h"
#include "genetics/geno_fx.h"

namespace vorlund {

// Attempts one single mutation makes before the mutation fails.
constexpr int F4_MUTATION_ATTEMPTS = 20;
// Tries for each child of a crossover.
constexpr int F4_CROSSOVER_TRIES = 10;
// Repicks of a node to delete or to change.
constexpr int F4_DELETE_PICKS = 10;
constexpr int F4_CHANGE_PICKS = 20;
// Repetition counts that mutation keeps.
constexpr int F4_MIN_REPEAT = 1, F4_MAX_REPEAT = 19;

// The mutation probabilities of table "Genetics: f4" (all in 0..1).
struct GenoF4Settings {
  double mut1add = 0.5;      // add a node
  double mut1del = 0.2;      // delete a node (otherwise change one)
  double mutAdd2div = 0.2;   // an added node is a division
  double mutAdd2link = 0.2;  // ... a link
  double mutAdd2rep = 0.1;   // ... a repetition (otherwise a simple code)
};

class TGeno_f4 : public TGeno_fx {
 public:
  TGeno_f4();
  TGeno_f4(const TGeno_f4&) = delete;
  TGeno_f4& operator=(const TGeno_f4&) = delete;

  int CheckValidity(const std::string& body) override;
  int Validate(std::string& body) override;
  // `change` is read as the share of nodes to mutate; it is not written.
  int Mutate(std::string& body, float& change) override;
  // `change1`/`change2` are read as the shares each child keeps; not written.
  int CrossOver(std::string& body1, std::string& body2, float& change1, float& change2) override;
  uint32_t Style(const std::string& text, int position) override;
  param* parameters() override { return &params_; }

  GenoF4Settings vars;

 private:
  // One mutation of a tree; false when it cannot be done.
  bool mutateTree(f4tree& tree);
  void addNode(f4tree& tree, f4node* picked);
  void drawLink(f4node& link);

  param params_;
};

// Swaps a random subtree of `a` with one of `b` whose sizes lie in the window
// around (1 - share) of each tree; false when a tree has no subtree of fitting size.
bool exchangeSubtrees(f4tree& a, f4tree& b, double share);

}  // namespace vorlund
