#include "view/brain_view.h"

#include <algorithm>
#include <cmath>

#include "core/strutil.h"
#include "view/receptor_letter.h"
#include "world/org.h"

namespace vorlund {

namespace {

// Connections with right angles leave an output and go around boxes this far away (layout units).
constexpr int kRouteGap = 10;
// Length of a receptor stub (layout units).
constexpr int kStubLength = 18;
// Labels are written only in boxes at least this large (pixels).
constexpr int kMinLabelBox = 18;
// Zoom factor per pixel of horizontal drag.
constexpr double kZoomPerPixel = 0.005;
// A probe keeps this many samples.
constexpr std::size_t kProbeSamples = 200;
// Where a new probe goes relative to its neuron box (pixels).
constexpr int kProbeOffset = 12;

}  // namespace

const char* probeSignalName(int signal) {
  switch (signal) {
    case PROBE_STATE:
      return "state";
    case PROBE_VELOCITY:
      return "velocity";
    default:
      return "output";
  }
}

BrainView::BrainView(const NeuronDisplayFields& settings) : settings_(settings) {
  watch_.setOnLost([this] { lost(); });
}

void BrainView::lost() {
  // Runs inside the step that removed the creature: only forget, never paint.
  probes_.clear();
  boxes_.clear();
  selected_ = -1;
  if (onLost_) onLost_();
}

void BrainView::show(org* creature) {
  watch_.stop();
  probes_.clear();
  boxes_.clear();
  selected_ = -1;
  if (creature != nullptr) {
    watch_.watch(creature, mode_ == BRAIN_MODE_LIVE ? life_ : nullptr);
    relayout();
  }
}

void BrainView::relayout() {
  org* o = watch_.get();
  boxes_.clear();
  fittedW_ = fittedH_ = -1;
  layoutUsed_ = settings_.nn_layout;
  if (o == nullptr || o->neuroCount() == 0) return;
  boxes_ = brainLayout(settings_.nn_layout).fn(neuronSources(*o), rng_);
}

bool BrainView::addProbe(int neuron) {
  if (neuron < 0 || neuron >= static_cast<int>(boxes_.size())) return false;
  auto p = std::make_unique<Probe>();
  p->neuron = neuron;
  p->chart = ValueChart(kProbeSamples);
  int bx, by, bw, bh;
  boxPixels(neuron, bx, by, bw, bh);
  p->x = bx + bw + kProbeOffset;
  p->y = by - kProbeOffset - kProbeHeight / 2;
  // Keep the new probe inside the window it was asked for in.
  if (fittedW_ > 0 && p->x + p->w > fittedW_) p->x = std::max(0, bx - kProbeOffset - p->w);
  if (fittedH_ > 0) p->y = std::clamp(p->y, 0, std::max(0, fittedH_ - p->h));
  p->chart.setFixedRange(-1.0, 1.0);
  probes_.push_back(std::move(p));
  return true;
}

double BrainView::probeValue(const Probe& p) const {
  const org* o = watch_.get();
  const neuro* n = o ? o->getNeuro(p.neuron) : nullptr;
  if (n == nullptr) return 0.0;
  switch (p.signal) {
    case PROBE_STATE:
      return n->sstan;
    case PROBE_VELOCITY:
      return n->vel;
    default:
      return n->stan;
  }
}

void BrainView::sampleProbes() {
  for (auto& p : probes_) p->chart.add(probeValue(*p));
}

void BrainView::nextSignal(int i) {
  if (i < 0 || i >= probeCount()) return;
  Probe& p = *probes_[static_cast<std::size_t>(i)];
  p.signal = (p.signal + 1) % PROBE_SIGNAL_COUNT;
  p.chart.clear();
  // The output is bounded; the other signals scale to what they show.
  if (p.signal == PROBE_OUTPUT)
    p.chart.setFixedRange(-1.0, 1.0);
  else
    p.chart = ValueChart(kProbeSamples);
}

void BrainView::boxPixels(int i, int& x, int& y, int& w, int& h) const {
  const NeuronBox& b = boxes_[static_cast<std::size_t>(i)];
  x = clampToPixel(b.x * fit_.scale + fit_.ox);
  y = clampToPixel(b.y * fit_.scale + fit_.oy);
  w = std::max(1, clampToPixel(b.w * fit_.scale));
  h = std::max(1, clampToPixel(b.h * fit_.scale));
}

int BrainView::inputEntryY(int top, int height, int input, int inputs) {
  return top + (input + 1) * height / (inputs + 1);
}

int BrainView::neuronAt(int px, int py) const {
  for (int i = static_cast<int>(boxes_.size()) - 1; i >= 0; --i) {
    int x, y, w, h;
    boxPixels(i, x, y, w, h);
    if (px >= x && px < x + w && py >= y && py < y + h) return i;
  }
  return -1;
}

int BrainView::probeAt(int px, int py, bool* onGrip) const {
  for (int i = probeCount() - 1; i >= 0; --i) {
    const Probe& p = *probes_[static_cast<std::size_t>(i)];
    if (px >= p.x && px < p.x + p.w && py >= p.y && py < p.y + p.h) {
      if (onGrip) *onGrip = px >= p.x + p.w - kProbeGrip && py >= p.y + p.h - kProbeGrip;
      return i;
    }
  }
  return -1;
}

void BrainView::pan(int dx, int dy) {
  fit_.ox += dx;
  fit_.oy += dy;
}

void BrainView::zoom(int dx, int w, int h) {
  const double f = std::exp(kZoomPerPixel * dx);
  const double cx = w / 2.0, cy = h / 2.0;
  fit_.scale *= f;
  fit_.ox = clampToPixel(cx - (cx - fit_.ox) * f);
  fit_.oy = clampToPixel(cy - (cy - fit_.oy) * f);
}

void BrainView::moveNeuron(int i, int dxPixels, int dyPixels) {
  if (i < 0 || i >= static_cast<int>(boxes_.size()) || fit_.scale <= 0) return;
  boxes_[static_cast<std::size_t>(i)].x += clampToPixel(dxPixels / fit_.scale);
  boxes_[static_cast<std::size_t>(i)].y += clampToPixel(dyPixels / fit_.scale);
}

void BrainView::moveProbe(int i, int dx, int dy) {
  if (i < 0 || i >= probeCount()) return;
  probes_[static_cast<std::size_t>(i)]->x += dx;
  probes_[static_cast<std::size_t>(i)]->y += dy;
}

void BrainView::resizeProbe(int i, int dw, int dh) {
  if (i < 0 || i >= probeCount()) return;
  Probe& p = *probes_[static_cast<std::size_t>(i)];
  p.w = std::max(kProbeMinSide, p.w + dw);
  p.h = std::max(kProbeMinSide, p.h + dh);
}

void BrainView::drawConnections(Area2D& area, int i) const {
  const org* o = watch_.get();
  const neuro* n = o->getNeuro(i);
  if (n == nullptr) return;
  int tx, ty, tw, th;
  boxPixels(i, tx, ty, tw, th);
  const int k = n->inputCount();
  const int gap = std::max(2, clampToPixel(kRouteGap * fit_.scale));
  for (int j = 0; j < k; ++j) {
    const wej* in = n->input(j);
    const int ey = inputEntryY(ty, th, j, k);
    if (in->typ == WEJ_NEURON) {
      const int s = i + in->conn;
      if (s < 0 || s >= static_cast<int>(boxes_.size())) continue;
      int sx, sy, sw, sh;
      boxPixels(s, sx, sy, sw, sh);
      const int ox = sx + sw, oy = sy + sh / 2;
      area.color(VC_CONNECTION);
      if (settings_.nn_lines == NN_LINES_STRAIGHT) {
        area.line(ox, oy, tx, ey);
      } else if (sx + sw / 2 < tx) {
        area.line(ox, oy, ox, ey);
        area.line(ox, ey, tx, ey);
      } else {
        // Around both boxes: out to the right, below them, back left of the target.
        const int below = std::max(sy + sh, ty + th) + gap * (j + 1);
        area.line(ox, oy, ox + gap, oy);
        area.line(ox + gap, oy, ox + gap, below);
        area.line(ox + gap, below, tx - gap, below);
        area.line(tx - gap, below, tx - gap, ey);
        area.line(tx - gap, ey, tx, ey);
      }
    } else {
      const int len = std::max(4, clampToPixel(kStubLength * fit_.scale));
      area.color(VC_RECEPTOR);
      area.line(tx - len, ey, tx, ey);
      area.text(tx - len - 8, ey - area.lineHeight() / 2, receptorLetter(in->typ), 1);
    }
  }
}

void BrainView::drawProbe(Area2D& area, const Probe& p) const {
  int bx, by, bw, bh;
  boxPixels(p.neuron, bx, by, bw, bh);
  area.color(VC_PROBE_SIGNAL);
  // From the probe's side that faces the neuron to the neuron's output.
  const int fromX = p.x + p.w <= bx + bw ? p.x + p.w : p.x;
  area.line(fromX, p.y + p.h / 2, bx + bw, by + bh / 2);
  area.color(VC_PROBE_BACK);
  area.rect(p.x, p.y, p.w, p.h, true);
  p.chart.draw(area, p.x, p.y, p.w, p.h, VC_PROBE_SIGNAL);
  area.color(VC_TEXT);
  area.text(p.x + 3, p.y + 2, ssprintf("#%d %s %.3g", p.neuron, probeSignalName(p.signal), p.chart.last()));
  area.color(VC_CHART_FRAME);
  area.rect(p.x + p.w - kProbeGrip, p.y + p.h - kProbeGrip, kProbeGrip, kProbeGrip, false);
}

void BrainView::paint(Area2D& area) {
  const int W = area.width(), H = area.height();
  if (showing() && layoutUsed_ != settings_.nn_layout) relayout();
  if (W != fittedW_ || H != fittedH_) {
    fit_ = fitLayout(layoutBounds(boxes_), W, H);
    fittedW_ = W;
    fittedH_ = H;
  }
  area.clear();
  const org* o = watch_.get();
  if (o == nullptr) return;
  if (o->neuroCount() == 0 || boxes_.empty()) {
    area.color(VC_TEXT);
    area.text(W / 2 - 60, H / 2 - area.lineHeight() / 2, "[No neural network]");
    return;
  }
  const int n = std::min(o->neuroCount(), static_cast<int>(boxes_.size()));
  for (int i = 0; i < n; ++i) drawConnections(area, i);
  for (int i = 0; i < n; ++i) {
    const neuro* nu = o->getNeuro(i);
    int x, y, w, h;
    boxPixels(i, x, y, w, h);
    area.color(VC_PROBE_BACK);
    area.rect(x, y, w, h, true);
    // A bar from the middle shows the output: right for positive, left for negative.
    const int bar = clampToPixel(std::clamp(nu->stan, -1.0, 1.0) * (w / 2 - 2));
    area.color(nu->stan >= 0 ? VC_RECEPTOR : VC_MUSCLE_BEND);
    if (bar != 0) area.rect(std::min(x + w / 2, x + w / 2 + bar), y + h - h / 4 - 1, std::abs(bar), h / 4, true);
    area.color(i == selected_ ? VC_HIGHLIGHT : VC_NEURON);
    area.rect(x, y, w, h, false);
    if (w >= kMinLabelBox && h >= kMinLabelBox) {
      area.color(VC_TEXT);
      area.text(x + 3, y + 2, std::to_string(i));
      if (nu->typster == NEURO_MUSCLE_ROTATE || nu->typster == NEURO_MUSCLE_BEND) {
        area.color(nu->typster == NEURO_MUSCLE_ROTATE ? VC_MUSCLE_ROTATE : VC_MUSCLE_BEND);
        area.text(x + 3, y + 2 + area.lineHeight(), nu->typster == NEURO_MUSCLE_ROTATE ? "Rot" : "Bend");
      }
    }
  }
  for (const auto& p : probes_)
    if (p->neuron < n) drawProbe(area, *p);
}

}  // namespace vorlund
