// The "Evolution" window: the run charted over steps (pool and world sizes,
// fitness, performance, births and deaths), sampled every `U` steps into a
// bounded memory whether or not the window is shown; series chosen by check
// boxes, a logarithmic step axis, snapshots, picture copies and "Export CSV".
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

#include "core/param.h"
#include "sim/evolution_samples.h"
#include "ui/tool_window.h"
#include "ui/ui_context.h"

class QCheckBox;
class QTimer;

namespace vorlund::ui {

class EvolutionChart;

struct EvolutionChartSettings {
  int32_t U = 1000;  // steps between two samples of the chart
};
// The "Evolution chart" table, stored in "Default.par".
extern const ParamEntry kEvolutionChartTab[];

class EvolutionWindow : public ToolWindow {
  Q_OBJECT

 public:
  EvolutionWindow(UiContext& ctx, QWidget* parent);
  ~EvolutionWindow() override;

  EvolutionSamples& samples() { return samples_; }
  EvolutionChart* chart() const { return chart_; }
  QCheckBox* seriesBox(int series) const { return boxes_[static_cast<std::size_t>(series)]; }
  QCheckBox* logBox() const { return log_; }
  EvolutionChartSettings& settings() { return settings_; }
  // The "Evolution chart" table; the main window puts it into the settings chain.
  param& parameters() { return params_; }

  // Called after every step of the run: one comparison unless a sample is due.
  void afterStep();
  // A new chart from the simulator's current step (a file was loaded, the pool was cleared).
  void restart();
  // Asks for a file and writes the charted samples; false when nothing was written.
  bool exportCsv();
  // Asks for a file and saves the chart as a PNG picture; false when nothing was saved.
  bool savePng();

 private:
  EvolutionChartSettings settings_;
  param params_{kEvolutionChartTab, &settings_};
  EvolutionSamples samples_;
  EvolutionChart* chart_ = nullptr;
  std::array<QCheckBox*, EVS_SERIES_COUNT> boxes_{};
  QCheckBox* log_ = nullptr;
  QTimer* redraw_ = nullptr;  // coalesces the redraws of new samples
};

}  // namespace vorlund::ui
