// The few drawing operations the phylogeny picture needs, so that the analysis
// draws the same way into a window or into a file.
#pragma once

#include <cstdint>
#include <string>

namespace vorlund {

struct CanvasColor {
  uint8_t r = 0, g = 0, b = 0;
};

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual int width() const = 0;
  virtual int height() const = 0;
  // An ellipse outline around (cx, cy) with radii rx, ry, in pixels.
  virtual void ellipse(double cx, double cy, double rx, double ry, CanvasColor color) = 0;
  virtual void line(double x1, double y1, double x2, double y2, CanvasColor color, bool dashed) = 0;
  // Text whose baseline starts at (x, y).
  virtual void text(double x, double y, const std::string& s, CanvasColor color) = 0;
  // Shows what has been drawn so far (slow display); nothing to do for a file.
  virtual void refresh() {}
};

}  // namespace vorlund
