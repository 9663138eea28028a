#include "view/area2d.h"

#include <array>
#include <cmath>

#include "core/message.h"

namespace vorlund {

namespace {

constexpr std::array<Rgb, VC_COUNT> kPalette = {{
    {0, 0, 0},        // background
    {230, 230, 230},  // text
    {160, 160, 160},  // outline
    {60, 70, 60},     // grid
    {170, 120, 60},   // fence
    {90, 90, 220},    // teleport
    {45, 45, 45},     // shadow
    {200, 200, 90},   // contact
    {110, 100, 80},   // speck
    {210, 210, 170},  // stick
    {240, 240, 240},  // stick end
    {230, 120, 40},   // rotating muscle
    {240, 60, 60},    // bending muscle
    {80, 160, 255},   // neuron
    {90, 230, 120},   // receptor
    {90, 120, 170},   // connection
    {40, 200, 40},    // ball
    {120, 90, 60},    // remains
    {255, 255, 0},    // pointer
    {255, 220, 160},  // label
    {120, 120, 120},  // chart frame
    {120, 220, 255},  // chart line
    {25, 25, 40},     // probe back
    {255, 255, 255},  // probe signal
    {255, 80, 255},   // highlight
}};

// Beyond this a pixel coordinate is off every screen; the margin keeps
// arithmetic on clamped values (adding offsets, widths) from overflowing.
constexpr double kPixelLimit = 1.0e6;

}  // namespace

Rgb Area2D::rgbOf(int number) {
  if (number < 0 || number >= VC_COUNT) return {};
  return kPalette[static_cast<std::size_t>(number)];
}

bool Area2D::color(int number) {
  if (number < 0 || number >= VC_COUNT) {
    logMessage("Area2D", "Color", "Invalid constant", LOG_ERROR);
    return false;
  }
  color_ = number;
  applyColor(kPalette[static_cast<std::size_t>(number)]);
  return true;
}

void Area2D::text(int x, int y, std::string_view s, int maxChars) {
  if (maxChars >= 0 && s.size() > static_cast<std::size_t>(maxChars)) s = s.substr(0, static_cast<std::size_t>(maxChars));
  if (!s.empty()) drawText(x, y, s);
}

std::string firstLineCut(std::string_view s, std::size_t maxChars) {
  const std::size_t eol = s.find_first_of("\r\n");
  if (eol != std::string_view::npos) s = s.substr(0, eol);
  if (s.size() > maxChars) s = s.substr(0, maxChars);
  return std::string(s);
}

int clampToPixel(double v) {
  if (std::isnan(v)) return 0;
  if (v > kPixelLimit) return static_cast<int>(kPixelLimit);
  if (v < -kPixelLimit) return static_cast<int>(-kPixelLimit);
  return static_cast<int>(v);
}

}  // namespace vorlund
