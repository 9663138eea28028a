// The brain view's logic: the neural network of one creature as boxes and
// connections, laid out by the chosen layout and fitted to the window, with
// probes that chart a neuron's signal over time. It draws on an Area2D and
// answers hit tests for the window's mouse handling; it never owns the creature.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "view/area2d.h"
#include "view/brain_layout.h"
#include "view/creature_watch.h"
#include "view/display_settings.h"
#include "view/value_chart.h"
#include "view/view_random.h"

namespace vorlund {

class org;
class Life;

// Brain view modes: the network of a genotype's display body, or of a living creature.
constexpr int BRAIN_MODE_GENOTYPE = 0;
constexpr int BRAIN_MODE_LIVE = 1;

// What a probe charts of its neuron.
enum ProbeSignal : int { PROBE_OUTPUT = 0, PROBE_STATE, PROBE_VELOCITY, PROBE_SIGNAL_COUNT };
const char* probeSignalName(int signal);

// Probe sizes in pixels.
constexpr int kProbeWidth = 140;
constexpr int kProbeHeight = 70;
constexpr int kProbeMinSide = 30;
// The square at a probe's lower right corner that resizes it.
constexpr int kProbeGrip = 8;

struct Probe {
  int neuron = 0;
  int signal = PROBE_OUTPUT;
  int x = 0, y = 0, w = kProbeWidth, h = kProbeHeight;  // pixels
  ValueChart chart;
};

class BrainView {
 public:
  explicit BrainView(const NeuronDisplayFields& settings);
  BrainView(const BrainView&) = delete;
  BrainView& operator=(const BrainView&) = delete;

  // The world whose deaths let the view go (may be null); set before show.
  void setWorld(Life* life) { life_ = life; }
  // Called (inside a simulation step, possibly) after the shown creature went.
  void setOnLost(std::function<void()> fn) { onLost_ = std::move(fn); }

  // Shows a creature's network (null clears): frees the probes, lays out the
  // neurons by the chosen layout and fits them into the window at the next paint.
  void show(org* creature);
  org* creature() const { return watch_.get(); }
  bool showing() const { return watch_.get() != nullptr; }
  int mode() const { return mode_; }
  void setMode(int mode) { mode_ = mode; }
  // Lays the shown network out again (after the layout setting changed).
  void relayout();

  // Adds a probe on neuron i beside its box; false for an index outside the network.
  bool addProbe(int neuron);
  int probeCount() const { return static_cast<int>(probes_.size()); }
  const Probe& probe(int i) const { return *probes_[static_cast<std::size_t>(i)]; }
  // Every probe takes one sample of its neuron's signal.
  void sampleProbes();

  // Draws the view; fits again when the window size changed since the last fit.
  void paint(Area2D& area);

  // --- hit tests and interaction (pixels) ---
  int neuronAt(int px, int py) const;
  // Probe under the point (topmost first) and whether the point is on its grip.
  int probeAt(int px, int py, bool* onGrip = nullptr) const;
  void selectNeuron(int i) { selected_ = i; }
  int selectedNeuron() const { return selected_; }
  void pan(int dx, int dy);
  // Zooms about the window centre by exp(0.005 dx).
  void zoom(int dx, int w, int h);
  void moveNeuron(int i, int dxPixels, int dyPixels);
  void moveProbe(int i, int dx, int dy);
  void resizeProbe(int i, int dw, int dh);
  void nextSignal(int probe);

  const std::vector<NeuronBox>& boxes() const { return boxes_; }
  const LayoutFit& fit() const { return fit_; }
  // The pixel rectangle of neuron i's box.
  void boxPixels(int i, int& x, int& y, int& w, int& h) const;
  // Where input `input` of a neuron with `inputs` inputs enters its box (layout units from the top).
  static int inputEntryY(int top, int height, int input, int inputs);

 private:
  void lost();
  double probeValue(const Probe& p) const;
  void drawConnections(Area2D& area, int i) const;
  void drawProbe(Area2D& area, const Probe& p) const;

  const NeuronDisplayFields& settings_;
  CreatureWatch watch_;
  Life* life_ = nullptr;
  std::function<void()> onLost_;
  int mode_ = BRAIN_MODE_LIVE;
  std::vector<NeuronBox> boxes_;
  LayoutFit fit_;
  int fittedW_ = -1, fittedH_ = -1;
  std::vector<std::unique_ptr<Probe>> probes_;
  int selected_ = -1;
  ViewRandom rng_;
};

}  // namespace vorlund
