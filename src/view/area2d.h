// The drawing base of the software views (world, body and brain): a surface of
// whole pixels that draws lines, rectangles, ellipses and text in one of a
// fixed set of colour numbers. The window layer implements it over an
// off-screen image; tests implement it by recording the calls.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vorlund {

// The colour numbers every view draws with.
enum ViewColor : int {
  VC_BACKGROUND = 0,
  VC_TEXT,
  VC_OUTLINE,      // world square, box frames
  VC_GRID,
  VC_FENCE,
  VC_TELEPORT,
  VC_SHADOW,
  VC_CONTACT,      // ground-contact marks
  VC_SPECK,
  VC_STICK,
  VC_STICK_END,
  VC_MUSCLE_ROTATE,
  VC_MUSCLE_BEND,
  VC_NEURON,
  VC_RECEPTOR,
  VC_CONNECTION,
  VC_BALL,
  VC_REMAINS,
  VC_POINTER,
  VC_LABEL,
  VC_CHART_FRAME,
  VC_CHART_LINE,
  VC_PROBE_BACK,
  VC_PROBE_SIGNAL,
  VC_HIGHLIGHT,    // a grabbed or selected element
  VC_COUNT
};

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

class Area2D {
 public:
  virtual ~Area2D() = default;

  virtual int width() const = 0;
  virtual int height() const = 0;

  // Selects the colour of the following drawing. A number outside ViewColor
  // is reported ("Invalid constant") and leaves the colour as it was.
  bool color(int number);
  int currentColor() const { return color_; }
  // The RGB value of a colour number (black for an unknown one).
  static Rgb rgbOf(int number);

  // Fills the whole surface with the background colour.
  virtual void clear() = 0;
  virtual void line(int x1, int y1, int x2, int y2) = 0;
  virtual void rect(int x, int y, int w, int h, bool filled) = 0;
  // An ellipse with centre (cx, cy) and radii rx, ry.
  virtual void ellipse(int cx, int cy, int rx, int ry, bool filled) = 0;
  // Text whose top-left corner is at (x, y), cut to its first `maxChars`
  // characters when maxChars >= 0.
  void text(int x, int y, std::string_view s, int maxChars = -1);
  // Height of one text line in pixels.
  virtual int lineHeight() const { return 12; }

 protected:
  virtual void applyColor(Rgb rgb) = 0;
  virtual void drawText(int x, int y, std::string_view s) = 0;

 private:
  int color_ = VC_TEXT;
};

// The first line of a text, cut to `maxChars` characters: how a value that may
// span lines (a genotype, an info text) is shown as a label.
std::string firstLineCut(std::string_view s, std::size_t maxChars);

// Pixels are ints; anything projected from the world goes through this first
// so a far-away or non-finite point never overflows the conversion.
int clampToPixel(double v);

}  // namespace vorlund
