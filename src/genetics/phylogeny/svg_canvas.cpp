#include "genetics/phylogeny/svg_canvas.h"

#include <fstream>

#include "core/message.h"
#include "core/strutil.h"

namespace vorlund {

namespace {

// Pixel size of the labels, and the dash pattern of repeated genotypes.
constexpr int kFontSize = 11;
constexpr const char* kDashPattern = "4,3";

std::string rgb(CanvasColor c) { return ssprintf("rgb(%d,%d,%d)", c.r, c.g, c.b); }

// Genotype texts may hold any character; only well-formed XML text goes out.
std::string escapeXml(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      default:
        if (c >= 0x20 && c < 0x7f) out += static_cast<char>(c);
        else out += '?';
    }
  }
  return out;
}

}  // namespace

SvgCanvas::SvgCanvas(int width, int height) : width_(width), height_(height) {}

void SvgCanvas::ellipse(double cx, double cy, double rx, double ry, CanvasColor color) {
  body_ += ssprintf("<ellipse cx=\"%.2f\" cy=\"%.2f\" rx=\"%.2f\" ry=\"%.2f\" fill=\"none\" stroke=\"%s\"/>\n", cx, cy,
                    rx, ry, rgb(color).c_str());
}

void SvgCanvas::line(double x1, double y1, double x2, double y2, CanvasColor color, bool dashed) {
  body_ += ssprintf("<line x1=\"%.2f\" y1=\"%.2f\" x2=\"%.2f\" y2=\"%.2f\" stroke=\"%s\"%s/>\n", x1, y1, x2, y2,
                    rgb(color).c_str(), dashed ? ssprintf(" stroke-dasharray=\"%s\"", kDashPattern).c_str() : "");
}

void SvgCanvas::text(double x, double y, const std::string& s, CanvasColor color) {
  body_ += ssprintf("<text x=\"%.2f\" y=\"%.2f\" fill=\"%s\" font-family=\"monospace\" font-size=\"%d\">%s</text>\n",
                    x, y, rgb(color).c_str(), kFontSize, escapeXml(s).c_str());
}

std::string SvgCanvas::svg() const {
  std::string out = ssprintf(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\">\n"
      "<rect width=\"100%%\" height=\"100%%\" fill=\"black\"/>\n",
      width_, height_, width_, height_);
  out += body_;
  out += "</svg>\n";
  return out;
}

bool SvgCanvas::save(const std::string& path) const {
  std::ofstream f(path, std::ios::binary);
  if (!f || !(f << svg())) {
    logMessage("EvolStudy", "Save", "Can't write file " + path, LOG_ERROR);
    return false;
  }
  return true;
}

}  // namespace vorlund
