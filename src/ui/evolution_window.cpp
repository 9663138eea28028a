#include "ui/evolution_window.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cstddef>

#include "sim/symulator.h"
#include "ui/evolution_chart.h"
#include "ui/prompt_service.h"
#include "ui/ui_context.h"

namespace vorlund::ui {

namespace {
// New samples are drawn at most this often [ms], however short U is: a
// window that repaints for every sample would slow the run it shows.
constexpr int kChartRedrawMs = 250;
#define ECS(f) static_cast<int32_t>(offsetof(EvolutionChartSettings, f))
}  // namespace

constexpr ParamEntry kEvolutionChartTab[] = {
    paramHeader("Evolution chart", 1, 1, nullptr),
    {"evo_u", 0, "Sample every U steps", "d 1 1000000", ECS(U),
     "Steps between two samples of the Evolution window's chart.\nThe chart keeps a bounded number of samples and "
     "halves its resolution when full."},
    paramEnd(),
};
static_assert(paramTableValid(kEvolutionChartTab));
#undef ECS

EvolutionWindow::EvolutionWindow(UiContext& ctx, QWidget* parent)
    : ToolWindow(ctx, QStringLiteral("Evolution"), parent), samples_(kEvolutionSampleCapacity) {
  auto* row = new QHBoxLayout(this);
  auto* side = new QVBoxLayout;
  chart_ = new EvolutionChart(samples_, this);
  for (int s = 0; s < EVS_SERIES_COUNT; ++s) {
    auto* box = new QCheckBox(kEvolutionSeries[s].caption, this);
    box->setStyleSheet(QString("QCheckBox { color: %1; }").arg(evolutionSeriesColour(s).name()));
    box->setChecked(chart_->shown(s));
    connect(box, &QCheckBox::toggled, chart_, [this, s](bool on) { chart_->setShown(s, on); });
    boxes_[static_cast<std::size_t>(s)] = box;
    side->addWidget(box);
  }
  side->addSpacing(8);
  log_ = new QCheckBox("Logarithmic step axis", this);
  connect(log_, &QCheckBox::toggled, chart_, &EvolutionChart::setLogSteps);
  side->addWidget(log_);
  auto* exportButton = new QPushButton("Export CSV", this);
  connect(exportButton, &QPushButton::clicked, this, [this] { exportCsv(); });
  side->addWidget(exportButton);
  auto* pngButton = new QPushButton("Snapshot (PNG)", this);
  connect(pngButton, &QPushButton::clicked, this, [this] { savePng(); });
  side->addWidget(pngButton);
  auto* copyButton = new QPushButton("Copy picture", this);
  copyButton->setToolTip("SVG picture and bitmap to the clipboard");
  connect(copyButton, &QPushButton::clicked, chart_, &AreaWidget::copyToClipboard);
  side->addWidget(copyButton);
  side->addStretch(1);
  row->addLayout(side);
  row->addWidget(chart_, 1);
  resize(720, 420);
  redraw_ = new QTimer(this);
  redraw_->setSingleShot(true);
  redraw_->setInterval(kChartRedrawMs);
  connect(redraw_, &QTimer::timeout, chart_, [this] { chart_->update(); });
  restart();
}

EvolutionWindow::~EvolutionWindow() = default;

void EvolutionWindow::afterStep() {
  symulator& sim = context().sim();
  if (!samples_.due(sim.stepCount)) return;
  // "U" may have changed in the Options dialog.
  if (samples_.every() != settings_.U) samples_.setEvery(settings_.U);
  samples_.sample(sim);
  if (isVisible() && !redraw_->isActive()) redraw_->start();
}

void EvolutionWindow::restart() {
  symulator& sim = context().sim();
  samples_.setEvery(settings_.U);
  samples_.restart(sim.stepCount, static_cast<double>(sim.bornTotal), static_cast<double>(sim.diedTotal));
  chart_->resetZoom();
  chart_->update();
}

bool EvolutionWindow::exportCsv() {
  QString file = prompts().saveFileName(this, "Export the chart as:", QString(), "CSV files (*.csv)");
  if (file.isEmpty()) return false;
  if (QFileInfo(file).suffix().isEmpty()) file += ".csv";
  QFile out(file);
  const QByteArray text = QByteArray::fromStdString(samples_.csv());
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(text) != text.size() || !out.flush()) {
    prompts().message(this, PromptKind::Warning, "Warning", "Cannot write " + file);
    return false;
  }
  return true;
}

bool EvolutionWindow::savePng() {
  const QImage& image = chart_->renderImage();
  QString file = prompts().saveFileName(this, "Save snapshot as:", QString(), "PNG pictures (*.png)");
  if (file.isEmpty()) return false;
  if (QFileInfo(file).suffix().isEmpty()) file += ".png";
  if (!image.save(file, "PNG")) {
    prompts().message(this, PromptKind::Warning, "Warning", "Cannot save the snapshot to " + file);
    return false;
  }
  return true;
}

}  // namespace vorlund::ui
