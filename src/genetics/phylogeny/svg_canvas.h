// A canvas that records its drawing as an SVG picture on a black background.
#pragma once

#include <string>

#include "genetics/phylogeny/canvas.h"

namespace vorlund {

class SvgCanvas : public Canvas {
 public:
  SvgCanvas(int width, int height);

  int width() const override { return width_; }
  int height() const override { return height_; }
  void ellipse(double cx, double cy, double rx, double ry, CanvasColor color) override;
  void line(double x1, double y1, double x2, double y2, CanvasColor color, bool dashed) override;
  void text(double x, double y, const std::string& s, CanvasColor color) override;

  // The whole document.
  std::string svg() const;
  // Writes the document; false (with a message) when the file cannot be written.
  bool save(const std::string& path) const;

 private:
  int width_, height_;
  std::string body_;
};

}  // namespace vorlund
