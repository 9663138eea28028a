// A scrolling chart of one value over time: the world view's charts of the
// selected creature and the brain view's probes keep one each.
#pragma once

#include <cstddef>
#include <deque>

#include "view/area2d.h"

namespace vorlund {

class ValueChart {
 public:
  explicit ValueChart(std::size_t capacity = 200) : capacity_(capacity ? capacity : 1) {}

  // Appends a sample; the oldest goes once the chart is full. Non-finite samples are skipped.
  void add(double value);
  void clear() { values_.clear(); }
  std::size_t size() const { return values_.size(); }
  double last() const { return values_.empty() ? 0.0 : values_.back(); }

  // Draws the samples into the rectangle: the newest at the right edge,
  // scaled to their own range (or to [lo, hi] when fixedRange is set).
  void draw(Area2D& area, int x, int y, int w, int h, int lineColor) const;
  void setFixedRange(double lo, double hi) {
    fixed_ = true;
    lo_ = lo;
    hi_ = hi;
  }

 private:
  std::size_t capacity_;
  std::deque<double> values_;
  bool fixed_ = false;
  double lo_ = 0, hi_ = 0;
};

}  // namespace vorlund
