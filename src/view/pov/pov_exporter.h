// The scene exporter: while `pov_act` is on, every (pov_skip + 1)-th step of
// the world becomes a scene file for the POV-Ray ray tracer, next to one
// "world.inc" that describes the terrain. The looks live in "vorlund.inc",
// which the exporter puts into the output folder when none is there.
//
// One exporter per world; it subscribes itself to the world's after-step
// hooks at construction and leaves them in its destructor, so it must not
// outlive the world. It only reads the world.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "view/pov/pov_param.h"
#include "view/pov/pov_scene.h"
#include "world/vec3.h"

namespace vorlund {

class Life;
class world;

// Where the exported camera stands and what it looks at.
struct PovViewpoint {
  Vec3 target;
  Vec3 eye;
};

// A grab counter at or above this means no grab is in progress.
constexpr int kPovGrabIdle = 50;
// How far the manipulator's second number moves per grab count.
constexpr double kPovGrabScale = 0.02;

// The grab tool as the exporter draws it.
struct PovGrab {
  Vec3 pointer;
  int counter = kPovGrabIdle;
};

// The view of the whole world that a camera with its default settings gives
// (used where no camera is bound, as in the headless runner).
PovViewpoint defaultPovViewpoint(const world& w);

// The eye moved out of the terrain when it is under it (and only then).
Vec3 povEyeAboveGround(const world& w, const Vec3& eye);

class PovExporter {
 public:
  explicit PovExporter(Life& life);
  ~PovExporter();
  PovExporter(const PovExporter&) = delete;
  PovExporter& operator=(const PovExporter&) = delete;

  PovSettings vars;
  // The accessor for the settings chain; assigning 1 to `pov_act` starts.
  param& parameters() { return params_; }

  // Where the camera is; without a source the default whole-world view.
  void setCameraSource(std::function<PovViewpoint()> source) { camera_ = std::move(source); }
  // The grab tool's state; without a source no manipulator is drawn.
  void setGrabSource(std::function<PovGrab()> source) { grab_ = std::move(source); }

  // Writes "world.inc" (and "vorlund.inc" and "povray.ini" when the folder
  // has none), forgets the dust and restarts the frame count at `pov_fr`.
  void Start();
  // The after-step work: a scene every pov_skip + 1 calls while active.
  void Frame();

  // Shift+E: recording on when it is off, else off (through the accessor, so
  // switching on starts).
  void toggle() { params_.set(POV_ACT, vars.pov_act == 0 ? "1" : "0"); }

  int frameNumber() const { return frame_; }
  const std::vector<PovDustCloud>& dustClouds() const { return dust_; }
  // The path of the last scene written (empty before the first).
  const std::string& scenePath() const { return scenePath_; }

 private:
  static void afterStep(void* self);
  void writeScene();
  std::string sceneText();
  // Recording off after a failure; the next switch-on starts afresh.
  void disable(const char* function, const std::string& message);
  // Whole-file write; `sync` off skips the syncs (the scenes of a film).
  bool writeFile(const std::string& path, const std::string& text, bool sync = true);
  void runCommand();
  void warnNonFinite();

  Life* life_;
  pov_param params_;
  std::function<PovViewpoint()> camera_;
  std::function<PovGrab()> grab_;
  int frame_ = 0;
  int countdown_ = 0;
  std::vector<PovDustCloud> dust_;
  std::string scenePath_;
  bool warnedNonFinite_ = false;
};

}  // namespace vorlund
