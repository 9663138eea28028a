#include "ui/body_view_window.h"

#include <QVBoxLayout>

#include "ui/ui_context.h"

namespace vorlund::ui {

BodyViewWindow::BodyViewWindow(UiContext& ctx, QWidget* parent) : ToolWindow(ctx, QStringLiteral("Body"), parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  area_ = new BodyArea(view_, this);
  layout->addWidget(area_);
  resize(240, 180);
  // Let go inside the step; paint when the window system asks.
  view_.setOnLost([this] { area_->update(); });
  connect(&ctx, &UiContext::creatureSelectionChanged, this, [this] { showCreature(context().selectedCreature()); });
  connect(&ctx, &UiContext::genotypeSelected, this, [this](przodek* g) { showGenotype(g); });
}

BodyViewWindow::~BodyViewWindow() = default;

void BodyViewWindow::redraw() { area_->repaint(); }

void BodyViewWindow::advanceAnimation() {
  if (view_.displayBody() == nullptr) return;
  view_.animate();
  area_->update();
}

void BodyViewWindow::showGenotype(const przodek* genotype) {
  if (genotype == nullptr)
    view_.clear();
  else
    view_.showGenotype(genotype->genotype, context().sim().geneticsContext());
  area_->update();
}

void BodyViewWindow::showCreature(org* creature) {
  view_.showCreature(creature, context().sim().geneticsContext(), &context().sim());
  area_->update();
}

}  // namespace vorlund::ui
