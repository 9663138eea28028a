// Draws the program's icons: the program itself (a stick creature on a
// round tile) and the two file types (a page with a genotype's creature, a
// page with the simulator's sliders), as SVG and as PNG at the usual sizes,
// in the hicolor theme's folder layout:
//   make_icons FOLDER  ->  FOLDER/hicolor/{scalable,NxN}/{apps,mimetypes}/NAME.{svg,png}
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kPngSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
// Every drawing is made on a 256 by 256 canvas.
constexpr const char* kHeader =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n";

// A creature of four sticks: a body, two legs and a raised head; stick ends
// are the round joints.
std::string creature(double x, double y, double scale, const char* stick, const char* joint) {
  const double pts[][2] = {{-40, 0}, {40, 0}, {-60, 50}, {60, 50}, {62, -38}};
  const int sticks[][2] = {{0, 1}, {0, 2}, {1, 3}, {1, 4}};
  auto px = [&](int k) { return x + pts[k][0] * scale; };
  auto py = [&](int k) { return y + pts[k][1] * scale; };
  std::string s;
  char buf[256];
  for (const auto& st : sticks) {
    std::snprintf(buf, sizeof buf,
                  "  <line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"%s\" stroke-width=\"%.1f\" "
                  "stroke-linecap=\"round\"/>\n",
                  px(st[0]), py(st[0]), px(st[1]), py(st[1]), stick, 14 * scale);
    s += buf;
  }
  for (int k = 0; k < 5; ++k) {
    std::snprintf(buf, sizeof buf, "  <circle cx=\"%.1f\" cy=\"%.1f\" r=\"%.1f\" fill=\"%s\"/>\n", px(k), py(k),
                  13 * scale, joint);
    s += buf;
  }
  return s;
}

std::string programIcon() {
  return std::string(kHeader) +
         "  <defs><linearGradient id=\"sky\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
         "<stop offset=\"0\" stop-color=\"#3b8fc4\"/><stop offset=\"1\" stop-color=\"#1d4f7a\"/>"
         "</linearGradient></defs>\n"
         "  <rect x=\"12\" y=\"12\" width=\"232\" height=\"232\" rx=\"44\" fill=\"url(#sky)\"/>\n"
         "  <path d=\"M12 176 H244 V200 A44 44 0 0 1 200 244 H56 A44 44 0 0 1 12 200 Z\" fill=\"#c8a45a\"/>\n" +
         creature(128, 118, 1.25, "#f4f1e6", "#e8553f") + "</svg>\n";
}

// A page with a folded corner, a coloured band and a picture on it.
std::string pageIcon(const char* band, const std::string& picture) {
  return std::string(kHeader) +
         "  <path d=\"M48 16 H168 L216 64 V240 H48 Z\" fill=\"#fbfbf8\" stroke=\"#8a8a86\" stroke-width=\"6\" "
         "stroke-linejoin=\"round\"/>\n"
         "  <path d=\"M168 16 V64 H216\" fill=\"#dedcd4\" stroke=\"#8a8a86\" stroke-width=\"6\" "
         "stroke-linejoin=\"round\"/>\n"
         "  <rect x=\"51\" y=\"196\" width=\"162\" height=\"41\" fill=\"" +
         band + "\"/>\n" + picture + "</svg>\n";
}

std::string genotypesIcon() { return pageIcon("#3e9a4b", creature(132, 118, 0.95, "#2d3a4a", "#3e9a4b")); }

std::string settingsIcon() {
  std::string s;
  char buf[256];
  const double knobs[] = {150, 96, 176};
  for (int k = 0; k < 3; ++k) {
    const double y = 84 + 40 * k;
    std::snprintf(buf, sizeof buf,
                  "  <line x1=\"76\" y1=\"%.0f\" x2=\"188\" y2=\"%.0f\" stroke=\"#2d3a4a\" stroke-width=\"8\" "
                  "stroke-linecap=\"round\"/>\n  <circle cx=\"%.0f\" cy=\"%.0f\" r=\"14\" fill=\"#2f6fb3\"/>\n",
                  y, y, knobs[k], y);
    s += buf;
  }
  return pageIcon("#2f6fb3", s);
}

bool writeIcon(const std::filesystem::path& root, const char* context, const char* name, const std::string& svg) {
  namespace fs = std::filesystem;
  const fs::path scalable = root / "hicolor/scalable" / context;
  fs::create_directories(scalable);
  std::ofstream(scalable / (std::string(name) + ".svg"), std::ios::binary) << svg;
  QSvgRenderer renderer(QByteArray::fromStdString(svg));
  if (!renderer.isValid()) return false;
  for (int size : kPngSizes) {
    const fs::path dir = root / ("hicolor/" + std::to_string(size) + "x" + std::to_string(size)) / context;
    fs::create_directories(dir);
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    if (!image.save(QString::fromStdString((dir / (std::string(name) + ".png")).string()), "PNG")) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icons FOLDER\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const std::filesystem::path root = argv[1];
  const bool ok = writeIcon(root, "apps", "vorlund", programIcon()) &&
                  writeIcon(root, "mimetypes", "application-x-vorlund-genotypes", genotypesIcon()) &&
                  writeIcon(root, "mimetypes", "application-x-vorlund-simulator", settingsIcon());
  if (!ok) std::fprintf(stderr, "make_icons: cannot write the icons to %s\n", argv[1]);
  return ok ? 0 : 1;
}
