#include "ui/phylogeny_window.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPainter>
#include <QVBoxLayout>

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

PhylogenyParamsDialog::PhylogenyParamsDialog(param& params, QWidget* parent) : QDialog(parent), params_(params) {
  setWindowTitle("Phylogeny Analysis Parameters");
  auto* form = new QFormLayout;
  for (int i = 0; i < params.paramCount(); ++i) {
    auto* box = new QComboBox(this);
    const ParamType t = parseParamType(params.type(i));
    QStringList labels = QString::fromUtf8(t.labels.data(), static_cast<qsizetype>(t.labels.size()))
                             .split('~', Qt::SkipEmptyParts);
    if (labels.isEmpty()) labels = {"No", "Yes"};  // a plain on/off value
    box->addItems(labels);
    box->setCurrentIndex(static_cast<int>(params.getInt(i) - static_cast<long>(t.lo)));
    if (params.help(i)) box->setToolTip(params.help(i));
    form->addRow(params.name(i), box);
    choices_.push_back(box);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

void PhylogenyParamsDialog::apply() {
  for (int i = 0; i < static_cast<int>(choices_.size()); ++i) {
    const ParamType t = parseParamType(params_.type(i));
    params_.setInt(i, static_cast<long>(t.lo) + choices_[static_cast<std::size_t>(i)]->currentIndex());
  }
}

void runPhylogenyAnalysis(QWidget* parent, UiContext& ctx) {
  EvolStudy study;
  const bool drawn = study.Analyze(ctx.sim().genman.history(), [parent](param& p) {
    PhylogenyParamsDialog dialog(p, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    dialog.apply();
    return true;
  });
  if (!drawn) return;
  PhylogenyWindow window(study, parent);
  window.exec();
}

}  // namespace vorlund::ui
