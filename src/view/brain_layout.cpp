#include "view/brain_layout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <unordered_set>

#include "world/org.h"

namespace vorlund {

namespace {

// Stagger of the Dumb array: cells move by this much per step of (row + column) mod 4.
constexpr int kDumbStagger = 4;
constexpr int kDumbStaggerPeriod = 4;

// A set of neurons that already sit on grid cells relative to each other.
struct Cluster {
  std::vector<int> members;
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // inclusive cell bounds
  std::unordered_set<int64_t> cells;
  bool alive = true;
};

int64_t cellKey(int x, int y) { return (static_cast<int64_t>(x) << 32) ^ static_cast<uint32_t>(y); }

class SmartLayout {
 public:
  explicit SmartLayout(const NeuronSources& net)
      : net_(net), clusterOf_(net.size(), -1), gx_(net.size(), 0), gy_(net.size(), 0), visited_(net.size(), 0) {}

  std::vector<NeuronBox> run() {
    for (int i = 0; i < count(); ++i) visit(i);
    stackClusters();
    std::vector<NeuronBox> boxes(net_.size());
    for (int i = 0; i < count(); ++i) {
      boxes[static_cast<std::size_t>(i)].x = kNeuronCellPitch * gx_[static_cast<std::size_t>(i)];
      boxes[static_cast<std::size_t>(i)].y = kNeuronCellPitch * gy_[static_cast<std::size_t>(i)];
    }
    return boxes;
  }

 private:
  int count() const { return static_cast<int>(net_.size()); }

  // Iterative depth-first walk: a neuron is entered once, so a cycle in the
  // network ends the walk instead of recursing forever, and a long chain
  // cannot exhaust the stack.
  void visit(int start) {
    if (visited_[static_cast<std::size_t>(start)]) return;
    struct Frame {
      int neuron;
      std::size_t next;  // next input to look at
      int pending;       // source being visited, attached when it returns (-1: none)
    };
    std::vector<Frame> stack;
    enter(start);
    stack.push_back({start, 0, -1});
    while (!stack.empty()) {
      Frame& f = stack.back();
      if (f.pending >= 0) {
        attach(f.pending, f.neuron);
        f.pending = -1;
      }
      const std::vector<int>& inputs = net_[static_cast<std::size_t>(f.neuron)];
      if (f.next >= inputs.size()) {
        stack.pop_back();
        continue;
      }
      const int s = inputs[f.next++];
      if (s == f.neuron || s < 0 || s >= count()) continue;
      f.pending = s;
      if (!visited_[static_cast<std::size_t>(s)]) {
        enter(s);
        stack.push_back({s, 0, -1});
      }
    }
  }

  void enter(int i) {
    visited_[static_cast<std::size_t>(i)] = 1;
    if (clusterOf_[static_cast<std::size_t>(i)] >= 0) return;
    Cluster c;
    c.members.push_back(i);
    c.cells.insert(cellKey(0, 0));
    clusterOf_[static_cast<std::size_t>(i)] = static_cast<int>(clusters_.size());
    gx_[static_cast<std::size_t>(i)] = gy_[static_cast<std::size_t>(i)] = 0;
    clusters_.push_back(std::move(c));
  }

  bool fits(const Cluster& moving, int dx, int dy, const Cluster& into) const {
    for (int m : moving.members)
      if (into.cells.count(cellKey(gx_[static_cast<std::size_t>(m)] + dx, gy_[static_cast<std::size_t>(m)] + dy)))
        return false;
    return true;
  }

  void merge(int from, int dx, int dy, int into) {
    Cluster& a = clusters_[static_cast<std::size_t>(from)];
    Cluster& b = clusters_[static_cast<std::size_t>(into)];
    for (int m : a.members) {
      int& x = gx_[static_cast<std::size_t>(m)];
      int& y = gy_[static_cast<std::size_t>(m)];
      x += dx;
      y += dy;
      b.cells.insert(cellKey(x, y));
      b.members.push_back(m);
      clusterOf_[static_cast<std::size_t>(m)] = into;
    }
    b.x0 = std::min(b.x0, a.x0 + dx);
    b.y0 = std::min(b.y0, a.y0 + dy);
    b.x1 = std::max(b.x1, a.x1 + dx);
    b.y1 = std::max(b.y1, a.y1 + dy);
    a.alive = false;
    a.members.clear();
    a.cells.clear();
  }

  // Moves s's cluster so that s lands one cell left of i, trying rows above
  // and below in turn. Past both clusters' heights every shift is free, so
  // the search is bounded. The smaller cluster is the one whose cells are
  // moved (the overlap test is symmetric), so a long chain stays linear.
  void attach(int s, int i) {
    const int cs = clusterOf_[static_cast<std::size_t>(s)];
    const int ci = clusterOf_[static_cast<std::size_t>(i)];
    if (cs == ci) return;
    const Cluster& a = clusters_[static_cast<std::size_t>(cs)];
    const Cluster& b = clusters_[static_cast<std::size_t>(ci)];
    const int dx = gx_[static_cast<std::size_t>(i)] - 1 - gx_[static_cast<std::size_t>(s)];
    const int dy0 = gy_[static_cast<std::size_t>(i)] - gy_[static_cast<std::size_t>(s)];
    const int reach = (a.y1 - a.y0 + 1) + (b.y1 - b.y0 + 1) + 1;
    const bool moveA = a.members.size() <= b.members.size();
    for (int k = 0; k <= 2 * reach; ++k) {
      const int step = (k + 1) / 2;
      const int dy = dy0 + (k % 2 == 1 ? -step : step);
      if (moveA ? fits(a, dx, dy, b) : fits(b, -dx, -dy, a)) {
        if (moveA)
          merge(cs, dx, dy, ci);
        else
          merge(ci, -dx, -dy, cs);
        return;
      }
    }
  }

  void stackClusters() {
    std::vector<int> order;
    for (int c = 0; c < static_cast<int>(clusters_.size()); ++c)
      if (clusters_[static_cast<std::size_t>(c)].alive) order.push_back(c);
    auto first = [&](int c) {
      const auto& m = clusters_[static_cast<std::size_t>(c)].members;
      return *std::min_element(m.begin(), m.end());
    };
    std::sort(order.begin(), order.end(), [&](int a, int b) { return first(a) < first(b); });
    if (order.empty()) return;
    const int base = order[0];
    for (std::size_t k = 1; k < order.size(); ++k) {
      const Cluster& b = clusters_[static_cast<std::size_t>(base)];
      const Cluster& c = clusters_[static_cast<std::size_t>(order[k])];
      merge(order[k], b.x0 - c.x0, b.y1 + 1 - c.y0, base);
    }
  }

  const NeuronSources& net_;
  std::vector<Cluster> clusters_;
  std::vector<int> clusterOf_;
  std::vector<int> gx_, gy_;
  std::vector<char> visited_;
};

const std::array<BrainLayout, 3> kLayouts = {{
    {"Random", layoutRandom},
    {"Dumb array", layoutDumbArray},
    {"Smart", layoutSmart},
}};

}  // namespace

NeuronSources neuronSources(const org& creature) {
  const int n = creature.neuroCount();
  NeuronSources net(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const neuro* nu = creature.getNeuro(i);
    for (int k = 0; k < nu->inputCount(); ++k) {
      const wej* in = nu->input(k);
      if (in->typ != WEJ_NEURON) continue;
      const int s = i + in->conn;
      if (s >= 0 && s < n) net[static_cast<std::size_t>(i)].push_back(s);
    }
  }
  return net;
}

int brainLayoutCount() { return static_cast<int>(kLayouts.size()); }

const BrainLayout& brainLayout(int i) {
  if (i < 0 || i >= brainLayoutCount()) i = brainLayoutCount() - 1;
  return kLayouts[static_cast<std::size_t>(i)];
}

std::vector<NeuronBox> layoutRandom(const NeuronSources& net, ViewRandom& rng) {
  std::vector<NeuronBox> boxes(net.size());
  for (NeuronBox& b : boxes) {
    b.x = static_cast<int>(rng.unit() * kRandomLayoutSpread);
    b.y = static_cast<int>(rng.unit() * kRandomLayoutSpread);
  }
  return boxes;
}

std::vector<NeuronBox> layoutDumbArray(const NeuronSources& net, ViewRandom&) {
  const int n = static_cast<int>(net.size());
  const int side = static_cast<int>(std::sqrt(static_cast<double>(n))) + 1;
  std::vector<NeuronBox> boxes(net.size());
  for (int i = 0; i < n; ++i) {
    const int r = i / side, c = i % side;
    NeuronBox& b = boxes[static_cast<std::size_t>(i)];
    b.x = kNeuronCellPitch * c + ((r + c) % kDumbStaggerPeriod) * kDumbStagger;
    b.y = kNeuronCellPitch * r + ((r + c + 2) % kDumbStaggerPeriod) * kDumbStagger;
  }
  return boxes;
}

std::vector<NeuronBox> layoutSmart(const NeuronSources& net, ViewRandom&) { return SmartLayout(net).run(); }

LayoutBounds layoutBounds(const std::vector<NeuronBox>& boxes) {
  LayoutBounds b;
  if (boxes.empty()) return b;
  b.x0 = b.y0 = INT32_MAX;
  b.x1 = b.y1 = INT32_MIN;
  for (const NeuronBox& n : boxes) {
    b.x0 = std::min(b.x0, n.x);
    b.y0 = std::min(b.y0, n.y);
    b.x1 = std::max(b.x1, n.x + n.w);
    b.y1 = std::max(b.y1, n.y + n.h);
  }
  return b;
}

LayoutFit fitLayout(const LayoutBounds& bounds, int windowW, int windowH) {
  LayoutFit fit;
  if (windowW <= kFitMinWindow || windowH <= kFitMinWindow || bounds.empty()) return fit;
  const double lw = bounds.x1 - bounds.x0, lh = bounds.y1 - bounds.y0;
  fit.scale = std::min(windowW / (lw + kFitMargin), windowH / (lh + kFitMargin));
  fit.ox = static_cast<int>((windowW - lw * fit.scale) / 2 - bounds.x0 * fit.scale);
  fit.oy = static_cast<int>((windowH - lh * fit.scale) / 2 - bounds.y0 * fit.scale);
  return fit;
}

}  // namespace vorlund
