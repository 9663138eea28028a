#include "view/render_rules.h"

#include <algorithm>
#include <cmath>

#include "view/camera.h"
#include "view/ground_mesh.h"
#include "world/org.h"

namespace vorlund {

namespace {
constexpr double kFieldOfView = 60.0;
constexpr double kLightDistance = 100.0;
constexpr double kBallRadiusMax = 0.5;
constexpr double kShadowMinLength = 0.05;
constexpr double kShadowHalfWidth = 0.1;
// Colour channel = base + share x the stick's property (0 .. 1).
constexpr float kPropertyShare = 0.7f;
constexpr float kPropertyBase = 0.3f;

float channel(double property) {
  const double p = std::isfinite(property) ? std::clamp(property, 0.0, 1.0) : 0.0;
  return static_cast<float>(kPropertyShare * p + kPropertyBase);
}
}  // namespace

double fieldOfView(int width, int height) {
  const double w = std::max(width, 1), h = std::max(height, 1);
  return w <= h ? kFieldOfView : kFieldOfView / (w / h);
}

Vec3 lightPosition(double angle, double height) {
  const double a = angle * kViewDegree, h = height * kViewDegree;
  return {-kLightDistance * std::cos(h) * std::sin(a), -kLightDistance * std::cos(h) * std::cos(a),
          kLightDistance * std::sin(h)};
}

Rgba stickColour(const est& stick, const org& owner) {
  if (owner.typ == ORG_FOOD) return aboveWaterColours()[COL_CORPSE];
  const double ing = stick.e[0] != nullptr ? stick.e[0]->wchl : 0.0;
  return {channel(stick.odpor), channel(stick.asym), channel(ing), 1.0f};
}

double ballRadius(double energy) {
  if (!(energy > 0)) return 0;
  return std::min(energy, kBallRadiusMax);
}

bool stickShadow(const world& w, const Vec3& a, const Vec3& b, Vec3 (&quad)[4]) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double dxy = std::sqrt(dx * dx + dy * dy);
  if (!(dxy >= kShadowMinLength)) return false;
  const double za = w.height(a.x, a.y) + kGroundDrawOffset;
  const double zb = w.height(b.x, b.y) + kGroundDrawOffset;
  if (std::fabs(za - zb) > dxy) return false;
  // Perpendicular to the stick's horizontal direction.
  const double px = -dy / dxy * kShadowHalfWidth, py = dx / dxy * kShadowHalfWidth;
  quad[0] = {a.x - px, a.y - py, za};
  quad[1] = {b.x - px, b.y - py, zb};
  quad[2] = {b.x + px, b.y + py, zb};
  quad[3] = {a.x + px, a.y + py, za};
  return true;
}

bool isBall(const org& o) { return o.estCount() == 0 && o.sesCount() > 0; }

}  // namespace vorlund
