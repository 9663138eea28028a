#include "view/value_chart.h"

#include <algorithm>
#include <cmath>

namespace vorlund {

void ValueChart::add(double value) {
  if (!std::isfinite(value)) return;
  values_.push_back(value);
  while (values_.size() > capacity_) values_.pop_front();
}

void ValueChart::draw(Area2D& area, int x, int y, int w, int h, int lineColor) const {
  area.color(VC_CHART_FRAME);
  area.rect(x, y, w, h, false);
  if (values_.size() < 2 || w < 2 || h < 2) return;
  double lo = lo_, hi = hi_;
  if (!fixed_) {
    const auto [mn, mx] = std::minmax_element(values_.begin(), values_.end());
    lo = *mn;
    hi = *mx;
  }
  if (hi - lo < 1e-12) {  // a flat signal sits in the middle
    lo -= 1.0;
    hi += 1.0;
  }
  const double dx = static_cast<double>(w - 1) / static_cast<double>(capacity_ - 1 ? capacity_ - 1 : 1);
  const double x0 = x + w - 1 - dx * static_cast<double>(values_.size() - 1);
  auto py = [&](double v) { return clampToPixel(y + (h - 1) * (1.0 - (std::clamp(v, lo, hi) - lo) / (hi - lo))); };
  area.color(lineColor);
  int px = clampToPixel(x0), prev = py(values_[0]);
  for (std::size_t i = 1; i < values_.size(); ++i) {
    const int nx = clampToPixel(x0 + dx * static_cast<double>(i));
    const int ny = py(values_[i]);
    area.line(px, prev, nx, ny);
    px = nx;
    prev = ny;
  }
}

}  // namespace vorlund
