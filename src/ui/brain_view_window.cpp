#include "ui/brain_view_window.h"

#include <QMenu>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "ui/ui_context.h"
#include "world/org.h"

namespace vorlund::ui {

const char* const kBrainMenuHints[6] = {
    "Pan\t Shift + Left button drag",
    "Zoom\t Left button horizontal drag",
    "Grab neuron\t Control + Left button drag",
    "Grab/resize probe\t Shift + Left button drag",
    "Add probe\t Double click on a neuron",
    "Change signal\t Click on a signal white line",
};

void BrainArea::addMenuItems(QMenu& menu) {
  for (const char* hint : kBrainMenuHints) menu.addAction(hint)->setEnabled(false);
  menu.addSeparator();
}

void BrainArea::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return AreaWidget::mousePressEvent(event);
  const QPoint p = event->position().toPoint();
  last_ = pressed_ = p;
  drag_ = Drag::Zoom;
  target_ = -1;
  bool grip = false;
  if (event->modifiers() & Qt::ShiftModifier) {
    target_ = view_.probeAt(p.x(), p.y(), &grip);
    drag_ = target_ >= 0 ? (grip ? Drag::ProbeSize : Drag::Probe) : Drag::Pan;
  } else if (event->modifiers() & Qt::ControlModifier) {
    target_ = view_.neuronAt(p.x(), p.y());
    drag_ = target_ >= 0 ? Drag::Neuron : Drag::None;
  }
}

void BrainArea::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  const int dx = p.x() - last_.x(), dy = p.y() - last_.y();
  last_ = p;
  switch (drag_) {
    case Drag::Zoom:
      view_.zoom(dx, width(), height());
      break;
    case Drag::Pan:
      view_.pan(dx, dy);
      break;
    case Drag::Neuron:
      view_.moveNeuron(target_, dx, dy);
      break;
    case Drag::Probe:
      view_.moveProbe(target_, dx, dy);
      break;
    case Drag::ProbeSize:
      view_.resizeProbe(target_, dx, dy);
      break;
    case Drag::None:
      return;
  }
  update();
}

void BrainArea::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  // A plain click on a probe picks its next signal.
  if (drag_ == Drag::Zoom && p == pressed_) {
    const int probe = view_.probeAt(p.x(), p.y());
    if (probe >= 0) {
      view_.nextSignal(probe);
      update();
    }
  }
  drag_ = Drag::None;
}

void BrainArea::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (view_.addProbe(view_.neuronAt(p.x(), p.y()))) update();
}

BrainViewWindow::BrainViewWindow(UiContext& ctx, QWidget* parent)
    : ToolWindow(ctx, QStringLiteral("Brain"), parent), ctxGuard_(&ctx) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  area_ = new BrainArea(view_, this);
  layout->addWidget(area_);
  resize(240, 180);
  view_.setWorld(&ctx.sim());
  view_.setOnLost([this] { area_->update(); });
  ctx.settingsChain().join(ChainSlot::NeuronDisplay, &params_);
  connect(&ctx, &UiContext::creatureSelectionChanged, this, [this] { showCreature(context().selectedCreature()); });
  connect(&ctx, &UiContext::genotypeSelected, this, [this](przodek* g) { showGenotype(g); });
  // Probes chart what the network did in each drawn step.
  connect(&ctx, &UiContext::stepped, this, [this] {
    if (view_.mode() == BRAIN_MODE_LIVE && view_.showing()) view_.sampleProbes();
  });
}

BrainViewWindow::~BrainViewWindow() {
  view_.show(nullptr);
  // The main window's context may already be gone (Qt deletes child windows last).
  if (ctxGuard_) ctxGuard_->settingsChain().leave(ChainSlot::NeuronDisplay);
}

void BrainViewWindow::redraw() {
  // The layout setting may have changed in the Options dialog.
  area_->repaint();
}

bool BrainViewWindow::showsCreature() const { return view_.showing(); }

int BrainViewWindow::neuronCount() const {
  const org* o = view_.creature();
  return o ? o->neuroCount() : 0;
}

void BrainViewWindow::selectNeuron(int index) {
  view_.selectNeuron(index);
  area_->update();
}

void BrainViewWindow::showCreature(org* creature) {
  view_.setMode(BRAIN_MODE_LIVE);
  view_.show(creature);
  area_->update();
}

void BrainViewWindow::showGenotype(const przodek* genotype) {
  view_.setMode(BRAIN_MODE_GENOTYPE);
  view_.show(nullptr);
  if (genotype != nullptr) {
    genotypeBody_.showGenotype(genotype->genotype, context().sim().geneticsContext());
    view_.show(genotypeBody_.displayBody());
  } else {
    genotypeBody_.clear();
  }
  area_->update();
}

bool BrainViewWindow::addProbe(int neuron) {
  const bool added = view_.addProbe(neuron);
  if (added) area_->update();
  return added;
}

}  // namespace vorlund::ui
