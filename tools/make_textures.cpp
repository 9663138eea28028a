// Writes the 3D view's texture images into a folder: each is made from a few
// lines of seamless procedural noise, so the same program always gives the
// same pictures.
//   make_textures <folder>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "view/bmp_image.h"

namespace {

using vorlund::RgbImage;

constexpr double kPi = 3.14159265358979323846;

// A hash of a lattice point to 0 .. 1.
double hash(int x, int y, int seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               static_cast<uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xffffff) / static_cast<double>(0xffffff);
}

double smooth(double t) { return t * t * (3 - 2 * t); }

// Value noise with `cells` lattice cells across the image, wrapping at its edge.
double noise(double u, double v, int cells, int seed) {
  const double x = u * cells, y = v * cells;
  const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  const double fx = smooth(x - x0), fy = smooth(y - y0);
  auto at = [&](int i, int j) { return hash(((i % cells) + cells) % cells, ((j % cells) + cells) % cells, seed); };
  const double a = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * fx;
  const double b = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * fx;
  return a + (b - a) * fy;
}

double fractal(double u, double v, int cells, int octaves, int seed) {
  double sum = 0, weight = 0, amp = 1;
  for (int o = 0; o < octaves; ++o, cells *= 2, amp *= 0.5) {
    sum += amp * noise(u, v, cells, seed + o);
    weight += amp;
  }
  return sum / weight;
}

// Distance to the nearest of a wrapped grid of jittered points, and a value for its cell.
void cellular(double u, double v, int cells, int seed, double& dist, double& edge, double& id) {
  const double x = u * cells, y = v * cells;
  const int cx = static_cast<int>(std::floor(x)), cy = static_cast<int>(std::floor(y));
  double best = 1e9, second = 1e9;
  for (int j = -1; j <= 1; ++j) {
    for (int i = -1; i <= 1; ++i) {
      const int gx = cx + i, gy = cy + j;
      const int wx = ((gx % cells) + cells) % cells, wy = ((gy % cells) + cells) % cells;
      const double px = gx + hash(wx, wy, seed), py = gy + hash(wx, wy, seed + 1);
      const double d = std::hypot(px - x, py - y);
      if (d < best) {
        second = best;
        best = d;
        id = hash(wx, wy, seed + 2);
      } else if (d < second) {
        second = d;
      }
    }
  }
  dist = best;
  edge = second - best;
}

uint8_t byte(double v) { return static_cast<uint8_t>(std::clamp(v, 0.0, 1.0) * 255.0 + 0.5); }

RgbImage paint(int side, const std::function<void(double u, double v, double rgb[3])>& f) {
  RgbImage img;
  img.width = img.height = side;
  img.pixels.resize(static_cast<size_t>(side) * side * 3);
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      double rgb[3];
      f((x + 0.5) / side, (y + 0.5) / side, rgb);
      uint8_t* p = img.pixels.data() + (static_cast<size_t>(y) * side + x) * 3;
      for (int k = 0; k < 3; ++k) p[k] = byte(rgb[k]);
    }
  }
  return img;
}

void desert(double u, double v, double c[3]) {
  const double n = fractal(u, v, 8, 4, 11);
  const double ripple = 0.5 + 0.5 * std::sin(2 * kPi * (6 * v + 1.5 * u) + 4 * n);
  const double t = 0.75 * n + 0.25 * ripple;
  c[0] = 0.78 + 0.18 * t;
  c[1] = 0.66 + 0.16 * t;
  c[2] = 0.44 + 0.12 * t;
}

void stone(double u, double v, double c[3]) {
  double d, edge, id;
  cellular(u, v, 6, 21, d, edge, id);
  const double grain = fractal(u, v, 16, 3, 23);
  const double mortar = std::clamp(edge * 6, 0.0, 1.0);
  const double g = (0.45 + 0.25 * id + 0.15 * grain) * (0.35 + 0.65 * mortar);
  c[0] = g * 1.02;
  c[1] = g;
  c[2] = g * 0.95;
}

void manystones(double u, double v, double c[3]) {
  double d, edge, id;
  cellular(u, v, 16, 31, d, edge, id);
  const double pebble = std::clamp(edge * 5, 0.0, 1.0);
  const double grain = fractal(u, v, 8, 3, 33);
  const double g = (0.35 + 0.3 * id + 0.1 * grain) * (0.4 + 0.6 * pebble);
  c[0] = g * 0.8;
  c[1] = g * 0.95;
  c[2] = g * 0.9;
}

void water(double u, double v, double c[3]) {
  const double n = fractal(u, v, 4, 3, 41);
  const double w = 0.5 + 0.25 * std::sin(2 * kPi * (3 * u + 2 * n)) + 0.25 * std::sin(2 * kPi * (2 * v + 3 * n));
  c[0] = 0.05 + 0.25 * w;
  c[1] = 0.35 + 0.35 * w;
  c[2] = 0.75 + 0.25 * w;
}

void energy(double u, double v, double c[3]) {
  const double n = fractal(u, v, 4, 4, 51);
  const double swirl = 0.5 + 0.5 * std::sin(2 * kPi * (2 * u + 2 * v) + 6 * n);
  c[0] = 0.9 + 0.1 * swirl;
  c[1] = 0.45 + 0.4 * swirl;
  c[2] = 0.1 + 0.3 * swirl * n;
}

void wood(double u, double v, double c[3]) {
  const double n = fractal(u, v, 4, 4, 61);
  const double rings = 0.5 + 0.5 * std::sin(2 * kPi * (8 * v + 3 * n));
  const double t = 0.6 * rings + 0.4 * fractal(u, v, 32, 2, 63);
  c[0] = 0.45 + 0.2 * t;
  c[1] = 0.25 + 0.12 * t;
  c[2] = 0.1 + 0.06 * t;
}

void teleport(double u, double v, double c[3]) {
  const double n = fractal(u, v, 8, 3, 71);
  const double gx = std::fabs(std::sin(kPi * 8 * u)), gy = std::fabs(std::sin(kPi * 8 * v));
  const double line = std::pow(1 - std::min(gx, gy), 8);
  const double glow = 0.85 + 0.15 * n;
  c[0] = glow - 0.35 * line;
  c[1] = glow - 0.55 * line;
  c[2] = glow;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_textures <folder>\n");
    return 2;
  }
  const std::string dir = argv[1];
  struct Texture {
    const char* file;
    int side;
    void (*fn)(double, double, double*);
  };
  const Texture textures[] = {
      {"desert256.bmp", 256, desert},   {"stone256.bmp", 256, stone}, {"manystones256.bmp", 256, manystones},
      {"water128.bmp", 128, water},     {"energy128.bmp", 128, energy}, {"wood128.bmp", 128, wood},
      {"teleport-w256.bmp", 256, teleport},
  };
  int failures = 0;
  for (const Texture& t : textures) {
    const std::string path = dir + "/" + t.file;
    if (!vorlund::writeBmp(path, paint(t.side, t.fn))) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
