// Test helper: an Area2D that records what is drawn instead of drawing it.
#pragma once

#include <string>
#include <vector>

#include "view/area2d.h"

namespace vorlund::test {

class RecordingArea : public Area2D {
 public:
  struct Op {
    char kind;  // 'l' line, 'r' rect, 'e' ellipse, 't' text
    int color;
    int a, b, c, d;
    std::string text;
  };

  RecordingArea(int w, int h) : w_(w), h_(h) {}
  int width() const override { return w_; }
  int height() const override { return h_; }
  void clear() override { ops.clear(); }
  void line(int x1, int y1, int x2, int y2) override { ops.push_back({'l', currentColor(), x1, y1, x2, y2, {}}); }
  void rect(int x, int y, int w, int h, bool) override { ops.push_back({'r', currentColor(), x, y, w, h, {}}); }
  void ellipse(int cx, int cy, int rx, int ry, bool) override { ops.push_back({'e', currentColor(), cx, cy, rx, ry, {}}); }

  int count(char kind, int color) const {
    int n = 0;
    for (const Op& o : ops)
      if (o.kind == kind && (color < 0 || o.color == color)) ++n;
    return n;
  }
  bool hasText(const std::string& s) const {
    for (const Op& o : ops)
      if (o.kind == 't' && o.text == s) return true;
    return false;
  }

  std::vector<Op> ops;

 protected:
  void applyColor(Rgb) override {}
  void drawText(int x, int y, std::string_view s) override {
    ops.push_back({'t', currentColor(), x, y, 0, 0, std::string(s)});
  }

 private:
  int w_, h_;
};

}  // namespace vorlund::test
