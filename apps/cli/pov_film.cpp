#include "pov_film.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <ostream>

#include "sim/symulator.h"
#include "view/pov/pov_exporter.h"

namespace vorlund::cli {

namespace {
// How the film looks at its creature: from 70 degrees above (into the pits between blocks), circling it
// slowly, close enough that it fills a good part of the picture.
constexpr double kStartAngle = 30.0;
constexpr double kTurnPerScene = 0.5;  // degrees
constexpr double kHeight = 70.0;
constexpr double kDegree = 1.0 / 57.4;
constexpr double kGoalScale = 0.8;
// A box diagonal below this counts as this long, so a small creature is seen
// with some of its surroundings.
constexpr double kMinDiagonal = 10.0;
// Share of the way to the goal the camera moves each step (the views' "Fast").
constexpr double kGlide = 0.1;
constexpr const char* kScenePattern = "scene%04d.pov";
}  // namespace

// Glides after the oldest living creature (the first of the living list), or
// over the whole world when nothing lives.
struct PovFilm::Camera {
  explicit Camera(const symulator& s) : sim(s) { goal(target, scale); }

  void goal(Vec3& t, double& s) const {
    Vec3 lo, hi;
    bool any = false;
    for (int i = 0; i < sim.creatures.size() && !any; ++i) {
      const org& o = *sim.creatures.get(i);
      if (o.sesCount() == 0) continue;
      Vec3 a = o.getSes(0)->p, b = a;
      for (const auto& e : o.l_ses) {
        a = {std::min(a.x, e->p.x), std::min(a.y, e->p.y), std::min(a.z, e->p.z)};
        b = {std::max(b.x, e->p.x), std::max(b.y, e->p.y), std::max(b.z, e->p.z)};
      }
      if (!std::isfinite(a.length2()) || !std::isfinite(b.length2())) continue;
      lo = a;
      hi = b;
      any = true;
    }
    if (!any) {
      const double size = sim.world.activeSize();
      lo = {0, 0, 0};
      hi = {size, size, 0};
    }
    t = (lo + hi) * 0.5;
    s = kGoalScale / std::max((hi - lo).length(), kMinDiagonal);
  }

  PovViewpoint view() {
    Vec3 t;
    double s = 0;
    goal(t, s);
    target = target * (1 - kGlide) + t * kGlide;
    scale = scale * (1 - kGlide) + s * kGlide;
    angle = std::fmod(angle + kTurnPerScene, 360.0);
    const double r = std::cos(kHeight * kDegree) / scale;
    const Vec3 offset(-r * std::sin(angle * kDegree), -r * std::cos(angle * kDegree),
                      std::sin(kHeight * kDegree) / scale);
    return {target, target + offset};
  }

  const symulator& sim;
  Vec3 target;
  double scale = 1;
  double angle = kStartAngle;
};

PovFilm::PovFilm(symulator& sim)
    : camera_(std::make_unique<Camera>(sim)), exporter_(std::make_unique<PovExporter>(sim)) {}

PovFilm::~PovFilm() = default;

std::unique_ptr<PovFilm> PovFilm::start(symulator& sim, const std::string& dir, long skip, std::ostream& err) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (!std::filesystem::is_directory(dir, ec)) {
    err << "cannot make the scene folder " << dir << '\n';
    return nullptr;
  }
  std::unique_ptr<PovFilm> film(new PovFilm(sim));
  PovExporter& pov = *film->exporter_;
  Camera* camera = film->camera_.get();
  pov.setCameraSource([camera] { return camera->view(); });
  param& p = pov.parameters();
  p.set(POV_DIR, dir.back() == '/' ? dir : dir + "/");
  p.set(POV_FILE, kScenePattern);
  p.setInt(POV_SKIP, skip);
  film->firstFrame_ = pov.vars.pov_fr;
  p.set(POV_ACT, "1");
  if (pov.vars.pov_act == 0) {
    err << "cannot write scenes into " << dir << '\n';
    return nullptr;
  }
  return film;
}

int PovFilm::framesWritten() const { return exporter_->frameNumber() - firstFrame_; }

}  // namespace vorlund::cli
