// The drawing bases over a QPainter: Area2D for the software views and the
// phylogeny Canvas. The painter may draw on an off-screen image (the views'
// back buffers) or on a vector picture (clipboard copies).
#pragma once

#include <QColor>
#include <QPainter>
#include <functional>

#include "genetics/phylogeny/canvas.h"
#include "view/area2d.h"

namespace vorlund::ui {

class QtArea : public Area2D {
 public:
  QtArea(QPainter& painter, int width, int height);
  int width() const override { return w_; }
  int height() const override { return h_; }
  void clear() override;
  void line(int x1, int y1, int x2, int y2) override;
  void rect(int x, int y, int w, int h, bool filled) override;
  void ellipse(int cx, int cy, int rx, int ry, bool filled) override;
  int lineHeight() const override;

 protected:
  void applyColor(Rgb rgb) override;
  void drawText(int x, int y, std::string_view s) override;

 private:
  QPainter& p_;
  int w_, h_;
  QColor color_;
};

class QtCanvas : public Canvas {
 public:
  QtCanvas(QPainter& painter, int width, int height, std::function<void()> refresh = {})
      : p_(painter), w_(width), h_(height), refresh_(std::move(refresh)) {}
  int width() const override { return w_; }
  int height() const override { return h_; }
  void ellipse(double cx, double cy, double rx, double ry, CanvasColor color) override;
  void line(double x1, double y1, double x2, double y2, CanvasColor color, bool dashed) override;
  void text(double x, double y, const std::string& s, CanvasColor color) override;
  void refresh() override {
    if (refresh_) refresh_();
  }

 private:
  QPainter& p_;
  int w_, h_;
  std::function<void()> refresh_;
};

}  // namespace vorlund::ui
