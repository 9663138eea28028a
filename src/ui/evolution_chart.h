// The chart of the "Evolution" window: the run's samples over steps, one
// curve per chosen series, each scaled to its own range over the steps in
// view; a linear or logarithmic step axis, the values under the pointer,
// zoom by dragging across and reset by a double click. Snapshot and picture
// copy come from AreaWidget.
#pragma once

#include <QColor>
#include <QPoint>
#include <bitset>
#include <cstdint>

#include "sim/evolution_samples.h"
#include "ui/area_widget.h"

namespace vorlund::ui {

// Colour of each series' curve, check box and legend entry.
QColor evolutionSeriesColour(int series);

class EvolutionChart : public AreaWidget {
  Q_OBJECT

 public:
  // `samples` is observed and must outlive the chart.
  EvolutionChart(const EvolutionSamples& samples, QWidget* parent);

  void setShown(int series, bool on);
  bool shown(int series) const { return shown_.test(static_cast<std::size_t>(series)); }
  void setLogSteps(bool on);
  bool logSteps() const { return log_; }
  // The steps in view; the whole run unless zoomed.
  bool zoomed() const { return zoomed_; }
  void zoomTo(double firstStep, double lastStep);
  void resetZoom();
  // The sample nearest to the pointer, or -1; what the hover box shows.
  int hoverSample() const { return hover_; }

 protected:
  void paintView(QPainter& painter, int w, int h) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  struct Axis {
    double lo = 0, hi = 1;  // in axis units (log10 of the step on a log axis)
    int left = 0, right = 1;
  };
  Axis stepAxis(int w) const;
  double axisUnit(double step) const;
  double stepAt(const Axis& a, int x) const;
  int nearestSample(int x) const;

  const EvolutionSamples& samples_;
  std::bitset<EVS_SERIES_COUNT> shown_;
  bool log_ = false;
  bool zoomed_ = false;
  double zoomLo_ = 0, zoomHi_ = 0;  // steps
  int hover_ = -1;
  QPoint hoverAt_;
  bool dragging_ = false;
  int dragFrom_ = 0, dragTo_ = 0;
};

}  // namespace vorlund::ui
