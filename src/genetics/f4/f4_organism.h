// The body developed from an encoding-4 genotype: sticks with their tree of
// parents, neurons placed on sticks with their input links, and the geometry
// (frames, stick end positions, shares) that the format writers need.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "genetics/f4/f4_cells.h"

namespace vorlund {

// Organism results: 0 success, F4_ERR_NOPOS when the cells do not make a body.
constexpr int F4_ORGANISM_OK = 0;

using f4vec = std::array<double, 3>;
using f4frame = std::array<f4vec, 3>;  // rows

class Organism {
 public:
  struct stick {
    int parent = -1;  // parent stick, -1 for the root
    double length = 1.0;
    double curvedness = 0.0;
    double third = 0.0;
    double rotation = 0.0;
    int branchCount = 0;
    int branchIndex = 0;
    int children = 0;     // child sticks
    double share = 1.0;   // movement range handed down the branches
    f4vec start{0, 0, 0};
    f4vec end{0, 0, 0};
    f4frame frame{};
  };
  struct link {
    int kind = F4_LINK_NEURON;
    int source = -1;  // kind 0: the source neuron
    float weight = 0.0f;
  };
  struct neuron {
    int stick = -1;
    int control = 0;
    std::vector<link> links;
  };

  // Builds the body from a finished development; F4_ORGANISM_OK or F4_ERR_NOPOS.
  int build(const std::vector<cell4>& cells);

  std::vector<stick> sticks;
  std::vector<neuron> neurons;

 private:
  void computeGeometry();
};

// Parses and develops a body text (no repairs) into an organism: F4_DEV_OK,
// a positive 1-based error position, or F4_ERR_NOPOS.
int developOrganism(const std::string& body, Organism& org);

}  // namespace vorlund
