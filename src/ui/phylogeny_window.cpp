#include "ui/phylogeny_window.h"

#include <QPainter>
#include <QVBoxLayout>

#include "ui/param_dialog.h"
#include "ui/prompt_service.h"
#include "ui/qt_area.h"
#include "ui/ui_context.h"

namespace vorlund::ui {

namespace {
// The tree's background (its colours are drawn for a dark ground).
constexpr QRgb kTreeBackground = 0xff000000;
}  // namespace

void PhylogenyArea::paintView(QPainter& painter, int w, int h) {
  painter.fillRect(0, 0, w, h, QColor::fromRgb(kTreeBackground));
  painter.setRenderHint(QPainter::Antialiasing, true);
  QtCanvas canvas(painter, w, h);
  study_.Draw(canvas);
}

PhylogenyWindow::PhylogenyWindow(const EvolStudy& study, QWidget* parent) : QDialog(parent) {
  setWindowTitle("Phylogeny analysis");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  area_ = new PhylogenyArea(study, this);
  layout->addWidget(area_);
  resize(700, 500);
}

void runPhylogenyAnalysis(QWidget* parent, UiContext& ctx) {
  if (ctx.sim().genman.history().empty()) {
    // The analysis would only log its refusal; the person who asked is told here.
    prompts().message(parent, PromptKind::Information, "Phylogeny analysis",
                      "There is no history of genetic operations to analyze.\n\nTurn on \"Remember history of "
                      "genetic operations?\" (Simulation > Parameters..., Genetics: Statistics) before you "
                      "start evolution.");
    return;
  }
  EvolStudy study;
  const bool drawn = study.Analyze(ctx.sim().genman.history(), [parent](param& p) {
    bool confirmed = false;
    editParameters(parent, p, false, "Phylogeny Analysis Parameters", nullptr, &confirmed);
    return confirmed;
  });
  if (!drawn) return;
  PhylogenyWindow window(study, parent);
  window.exec();
}

}  // namespace vorlund::ui
