// The brain view ("Brain"): the selected creature's neural network, with
// probes added by a double click on a neuron, grabbing and resizing probes,
// grabbing neurons, panning and zooming.
#pragma once

#include <QPoint>
#include <QPointer>

#include "ui/area_widget.h"
#include "ui/tool_window.h"
#include "view/body_view.h"
#include "view/brain_view.h"
#include "view/display_settings.h"
#include "ui/ui_context.h"

namespace vorlund {
class org;
class przodek;
}  // namespace vorlund

namespace vorlund::ui {

// The popup menu's information items (what the mouse does), in order.
extern const char* const kBrainMenuHints[6];

class BrainArea : public AreaWidget {
  Q_OBJECT
 public:
  BrainArea(BrainView& view, QWidget* parent) : AreaWidget(parent), view_(view) {}

 protected:
  void render(Area2D& area) override { view_.paint(area); }
  void addMenuItems(QMenu& menu) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  enum class Drag { None, Zoom, Pan, Neuron, Probe, ProbeSize };
  BrainView& view_;
  Drag drag_ = Drag::None;
  int target_ = -1;
  QPoint last_, pressed_;
};

class BrainViewWindow : public ToolWindow {
  Q_OBJECT

 public:
  BrainViewWindow(UiContext& ctx, QWidget* parent);
  ~BrainViewWindow() override;

  // Draws the current state now (a real, synchronous paint).
  void redraw();
  // Whether a creature is shown (the stopped simulation redraws only then).
  bool showsCreature() const;
  // Neurons of the shown network, and selecting one of them (the demo does).
  int neuronCount() const;
  void selectNeuron(int index);

  // What the lists' selection shows: a living creature (live mode), or the
  // display body of a genotype (genotype mode), or nothing.
  void showCreature(org* creature);
  void showGenotype(const przodek* genotype);
  bool addProbe(int neuron);

  BrainView& view() { return view_; }
  BrainArea* area() const { return area_; }
  NeuronDisplayFields& settings() { return settings_; }

 private:
  NeuronDisplayFields settings_;
  NeuronDisplayParams params_{&settings_};
  BrainView view_{settings_};
  BodyView genotypeBody_;  // builds the body of a genotype shown in genotype mode
  BrainArea* area_;
  QPointer<UiContext> ctxGuard_;
};

}  // namespace vorlund::ui
