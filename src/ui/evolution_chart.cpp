#include "ui/evolution_chart.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "core/strutil.h"

namespace vorlund::ui {

namespace {

constexpr int kMarginLeft = 64, kMarginRight = 34, kMarginTop = 12, kMarginBottom = 28;
// A drag narrower than this many pixels is a click, not a zoom.
constexpr int kMinDragPx = 5;
constexpr int kTicks = 5;

constexpr QRgb kSeriesColours[EVS_SERIES_COUNT] = {
    0x1f77b4, 0xff7f0e, 0x2ca02c, 0x8c564b, 0xd62728, 0x9467bd, 0x000000,
    0x17becf, 0xe377c2, 0xbcbd22, 0x7f7f7f, 0x2e8b57, 0xb22222};

QString number(double v) { return QString::fromStdString(formatReal(v)); }

}  // namespace

QColor evolutionSeriesColour(int series) { return QColor::fromRgb(kSeriesColours[series % EVS_SERIES_COUNT]); }

EvolutionChart::EvolutionChart(const EvolutionSamples& samples, QWidget* parent)
    : AreaWidget(parent), samples_(samples) {
  setMouseTracking(true);
  setMinimumSize(240, 160);
  shown_.set(EVS_FITNESS_BEST);
  shown_.set(EVS_FITNESS_MEAN);
  shown_.set(EVS_GENOTYPES);
}

void EvolutionChart::setShown(int series, bool on) {
  shown_.set(static_cast<std::size_t>(series), on);
  update();
}

void EvolutionChart::setLogSteps(bool on) {
  log_ = on;
  update();
}

void EvolutionChart::zoomTo(double firstStep, double lastStep) {
  if (!(lastStep > firstStep)) return;
  zoomed_ = true;
  zoomLo_ = firstStep;
  zoomHi_ = lastStep;
  update();
}

void EvolutionChart::resetZoom() {
  zoomed_ = false;
  update();
}

double EvolutionChart::axisUnit(double step) const { return log_ ? std::log10(std::max(step, 1.0)) : step; }

EvolutionChart::Axis EvolutionChart::stepAxis(int w) const {
  Axis a;
  a.left = kMarginLeft;
  a.right = std::max(kMarginLeft + 1, w - kMarginRight);
  double lo = 0, hi = 1;
  if (zoomed_) {
    lo = zoomLo_;
    hi = zoomHi_;
  } else if (samples_.size() > 0) {
    lo = static_cast<double>(samples_.at(0).step);
    hi = static_cast<double>(samples_.at(samples_.size() - 1).step);
  }
  a.lo = axisUnit(lo);
  a.hi = axisUnit(hi);
  if (!(a.hi > a.lo)) a.hi = a.lo + 1;
  return a;
}

double EvolutionChart::stepAt(const Axis& a, int x) const {
  const double u = a.lo + (a.hi - a.lo) * (x - a.left) / std::max(1, a.right - a.left);
  return log_ ? std::pow(10.0, u) : u;
}

int EvolutionChart::nearestSample(int x) const {
  if (samples_.size() == 0) return -1;
  const Axis a = stepAxis(width());
  const double step = stepAt(a, x);
  std::size_t lo = 0, hi = samples_.size() - 1;
  while (lo < hi) {  // first sample at or after `step`
    const std::size_t mid = (lo + hi) / 2;
    if (static_cast<double>(samples_.at(mid).step) < step)
      lo = mid + 1;
    else
      hi = mid;
  }
  if (lo > 0 && std::fabs(static_cast<double>(samples_.at(lo - 1).step) - step) <
                    std::fabs(static_cast<double>(samples_.at(lo).step) - step))
    --lo;
  return static_cast<int>(lo);
}

void EvolutionChart::paintView(QPainter& p, int w, int h) {
  p.fillRect(0, 0, w, h, Qt::white);
  p.setRenderHint(QPainter::Antialiasing, true);
  const Axis a = stepAxis(w);
  const int top = kMarginTop, bottom = std::max(top + 1, h - kMarginBottom);
  p.setPen(QColor(0x88, 0x88, 0x88));
  p.drawRect(a.left, top, a.right - a.left, bottom - top);
  auto px = [&](double step) { return a.left + (axisUnit(step) - a.lo) / (a.hi - a.lo) * (a.right - a.left); };
  const QFontMetrics fm = p.fontMetrics();
  for (int k = 0; k <= kTicks; ++k) {
    const int x = a.left + (a.right - a.left) * k / kTicks;
    const QString label = QString::number(std::llround(stepAt(a, x)));
    p.setPen(QColor(0xe4, 0xe4, 0xe4));
    p.drawLine(x, top, x, bottom);
    p.setPen(QColor(0x44, 0x44, 0x44));
    p.drawText(x - fm.horizontalAdvance(label) / 2, bottom + fm.ascent() + 3, label);
  }
  p.drawText(a.right - fm.horizontalAdvance("step"), h - 2, log_ ? "step (log)" : "step");
  if (samples_.size() == 0) {
    p.drawText(QRect(a.left, top, a.right - a.left, bottom - top), Qt::AlignCenter, "No samples yet");
    return;
  }
  // The samples in view, one more on each side so that curves reach the edges.
  std::size_t first = 0, last = samples_.size() - 1;
  while (first + 1 < samples_.size() && px(static_cast<double>(samples_.at(first + 1).step)) < a.left) ++first;
  while (last > first && px(static_cast<double>(samples_.at(last - 1).step)) > a.right) --last;
  bool labelled = false;
  p.setClipRect(a.left, top, a.right - a.left + 1, bottom - top + 1);
  for (int s = 0; s < EVS_SERIES_COUNT; ++s) {
    if (!shown(s)) continue;
    double lo = 0, hi = 0;
    bool any = false;
    for (std::size_t i = first; i <= last; ++i) {
      const double v = samples_.value(i, s);
      if (!std::isfinite(v)) continue;
      lo = any ? std::min(lo, v) : v;
      hi = any ? std::max(hi, v) : v;
      any = true;
    }
    if (!any) continue;
    if (hi - lo < 1e-12 * std::max(1.0, std::fabs(hi))) {
      lo -= 1;
      hi += 1;
    }
    auto py = [&](double v) { return bottom - (v - lo) / (hi - lo) * (bottom - top); };
    if (!labelled) {  // the first curve's values label the axis
      labelled = true;
      p.setClipping(false);
      for (int k = 0; k <= kTicks; ++k) {
        const double v = lo + (hi - lo) * k / kTicks;
        const int y = static_cast<int>(py(v));
        p.setPen(QColor(0xe4, 0xe4, 0xe4));
        p.drawLine(a.left, y, a.right, y);
        p.setPen(evolutionSeriesColour(s));
        const QString label = number(v);
        p.drawText(a.left - 4 - fm.horizontalAdvance(label), y + fm.ascent() / 2, label);
      }
      p.setClipRect(a.left, top, a.right - a.left + 1, bottom - top + 1);
    }
    QPainterPath path;
    bool started = false;
    for (std::size_t i = first; i <= last; ++i) {
      const double v = samples_.value(i, s);
      if (!std::isfinite(v)) continue;
      const QPointF pt(px(static_cast<double>(samples_.at(i).step)), py(v));
      if (started)
        path.lineTo(pt);
      else
        path.moveTo(pt);
      started = true;
    }
    p.setPen(QPen(evolutionSeriesColour(s), 1.5));
    p.drawPath(path);
    if (first == last) p.drawEllipse(path.currentPosition(), 2.5, 2.5);
  }
  p.setClipping(false);
  if (dragging_) {
    const int x0 = std::min(dragFrom_, dragTo_), x1 = std::max(dragFrom_, dragTo_);
    p.fillRect(x0, top, x1 - x0, bottom - top, QColor(0x58, 0x84, 0xab, 60));
  }
  if (hover_ >= 0 && static_cast<std::size_t>(hover_) < samples_.size()) {
    const std::size_t i = static_cast<std::size_t>(hover_);
    const double x = px(static_cast<double>(samples_.at(i).step));
    p.setPen(QPen(QColor(0x55, 0x55, 0x55), 1, Qt::DashLine));
    p.drawLine(QPointF(x, top), QPointF(x, bottom));
    QStringList lines{"step " + QString::number(samples_.at(i).step)};
    QList<int> of{-1};
    for (int s = 0; s < EVS_SERIES_COUNT; ++s) {
      if (!shown(s)) continue;
      lines << QString(kEvolutionSeries[s].caption) + ": " + number(samples_.value(i, s));
      of << s;
    }
    int boxW = 0;
    for (const QString& l : lines) boxW = std::max(boxW, fm.horizontalAdvance(l));
    boxW += 12;
    const int boxH = fm.height() * static_cast<int>(lines.size()) + 8;
    int bx = static_cast<int>(x) + 10;
    if (bx + boxW > a.right) bx = static_cast<int>(x) - 10 - boxW;
    const int by = std::clamp(hoverAt_.y() - boxH / 2, top, std::max(top, bottom - boxH));
    p.setPen(QColor(0x88, 0x88, 0x88));
    p.setBrush(QColor(255, 255, 240, 235));
    p.drawRect(bx, by, boxW, boxH);
    p.setBrush(Qt::NoBrush);
    for (int k = 0; k < lines.size(); ++k) {
      p.setPen(of[k] < 0 ? QColor(Qt::black) : evolutionSeriesColour(of[k]));
      p.drawText(bx + 6, by + 4 + fm.ascent() + k * fm.height(), lines[k]);
    }
  }
}

void EvolutionChart::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return AreaWidget::mousePressEvent(event);
  dragging_ = true;
  dragFrom_ = dragTo_ = event->position().toPoint().x();
}

void EvolutionChart::mouseMoveEvent(QMouseEvent* event) {
  hoverAt_ = event->position().toPoint();
  if (dragging_) dragTo_ = hoverAt_.x();
  hover_ = nearestSample(hoverAt_.x());
  update();
}

void EvolutionChart::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_ || event->button() != Qt::LeftButton) return AreaWidget::mouseReleaseEvent(event);
  dragging_ = false;
  dragTo_ = event->position().toPoint().x();
  if (std::abs(dragTo_ - dragFrom_) >= kMinDragPx) {
    const Axis a = stepAxis(width());
    zoomTo(stepAt(a, std::min(dragFrom_, dragTo_)), stepAt(a, std::max(dragFrom_, dragTo_)));
  }
  update();
}

void EvolutionChart::mouseDoubleClickEvent(QMouseEvent*) {
  dragging_ = false;
  resetZoom();
}

void EvolutionChart::leaveEvent(QEvent*) {
  hover_ = -1;
  update();
}

}  // namespace vorlund::ui
