#include "genetics/f4/f4_organism.h"

#include <cmath>
#include <numbers>

namespace vorlund {

namespace {

f4frame multiply(const f4frame& a, const f4frame& b) {
  f4frame r{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
  return r;
}

f4frame rotationZ(double a) {
  const double c = std::cos(a), s = std::sin(a);
  return {{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}};
}

f4frame rotationX(double a) {
  const double c = std::cos(a), s = std::sin(a);
  return {{{1, 0, 0}, {0, c, -s}, {0, s, c}}};
}

constexpr f4frame kIdentity{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

// The nearest ancestor of cell `i` (starting at `from`) that is a stick, or -1.
int stickAncestor(const std::vector<cell4>& cells, int from) {
  // Parents are always created before their daughters, so the walk goes down in index.
  for (int k = from, guard = 0; k >= 0 && guard <= static_cast<int>(cells.size()); k = cells[k].parent, ++guard) {
    if (k >= static_cast<int>(cells.size())) return -1;
    if (cells[k].state == cell4State::stick) return k;
  }
  return -1;
}

}  // namespace

int Organism::build(const std::vector<cell4>& cells) {
  sticks.clear();
  neurons.clear();
  const int n = static_cast<int>(cells.size());
  std::vector<int> stickOf(n, -1), neuronOf(n, -1);
  for (int i = 0; i < n; ++i) {
    if (cells[i].state == cell4State::stick)
      stickOf[i] = static_cast<int>(sticks.size()), sticks.emplace_back();
    else if (cells[i].state == cell4State::neuron)
      neuronOf[i] = static_cast<int>(neurons.size()), neurons.emplace_back();
    else
      return F4_ERR_NOPOS;  // a development that left a cell undecided is not a body
  }
  if (sticks.empty()) return F4_ERR_NOPOS;

  for (int i = 0; i < n; ++i) {
    const cell4& c = cells[i];
    if (stickOf[i] >= 0) {
      stick& s = sticks[stickOf[i]];
      const int parentCell = c.parent >= 0 ? stickAncestor(cells, c.parent) : -1;
      s.parent = parentCell >= 0 ? stickOf[parentCell] : -1;
      s.length = c.length;
      s.curvedness = c.curvedness;
      s.third = c.third;
      s.rotation = c.rotation;
      s.branchCount = c.branchCount;
      s.branchIndex = c.branchIndex;
    } else {
      neuron& nu = neurons[neuronOf[i]];
      // A neuron born from a neuron sits where its ancestors' stick is.
      const int home = c.parent >= 0 ? stickAncestor(cells, c.parent) : -1;
      if (home < 0) return F4_ERR_NOPOS;
      nu.stick = stickOf[home];
      nu.control = c.control;
      for (const cell4Link& l : c.links) {
        link out;
        out.kind = l.kind;
        out.weight = l.weight;
        if (l.kind == F4_LINK_NEURON) {
          if (l.sourceCell < 0 || l.sourceCell >= n || neuronOf[l.sourceCell] < 0) return F4_ERR_NOPOS;
          out.source = neuronOf[l.sourceCell];
        }
        nu.links.push_back(out);
      }
    }
  }
  // A root must come first for the geometry; more than one root cannot be drawn.
  for (std::size_t k = 0; k < sticks.size(); ++k) {
    const int p = sticks[k].parent;
    if ((k == 0) != (p < 0) || p >= static_cast<int>(k)) return F4_ERR_NOPOS;
    if (p >= 0) ++sticks[p].children;
  }
  computeGeometry();
  return F4_ORGANISM_OK;
}

void Organism::computeGeometry() {
  for (stick& s : sticks) {
    if (s.parent < 0) {
      s.start = {0, 0, 0};
      s.frame = kIdentity;
      s.share = 1.0;
    } else {
      const stick& p = sticks[s.parent];
      const double spread =
          (static_cast<double>(s.branchIndex) / (p.branchCount + 1.0) - 0.5) * 2.0 * std::numbers::pi;
      s.start = p.end;
      s.frame = multiply(multiply(multiply(p.frame, rotationX(p.rotation)), rotationZ(spread)),
                         rotationZ(p.curvedness));
      s.share = p.share / p.children;
    }
    for (int a = 0; a < 3; ++a) s.end[a] = s.start[a] + s.length * s.frame[a][0];
  }
}

int developOrganism(const std::string& body, Organism& org) {
  f4tree tree;
  const int parsed = tree.parse(body);
  if (parsed != F4_PARSE_OK) return parsed;
  bool repaired = false;
  std::vector<cell4> cells;
  const int developed = developTree(tree, 0, repaired, &cells);
  if (developed != F4_DEV_OK) return developed;
  return org.build(cells);
}

}  // namespace vorlund
