// The 3D world view's renderer: fixed-function OpenGL 1.1 and GLU on whatever
// context is current when its calls are made (the window layer creates and
// binds the context). It reads the world, its objects, the camera and the
// grab, and changes nothing in the simulation; its own random numbers come
// from a generator of its own.
#pragma once

#include <array>
#include <random>
#include <string>
#include <vector>

#include "view/bmp_image.h"
#include "view/camera.h"
#include "view/gl_settings.h"
#include "view/ground_mesh.h"
#include "view/pick.h"

struct GLUquadric;

namespace vorlund {

class Grab;
class Life;
class org;
struct est;

class GlRenderer {
 public:
  // The camera is observed and must outlive the renderer.
  explicit GlRenderer(Camera& camera);
  ~GlRenderer();
  GlRenderer(const GlRenderer&) = delete;
  GlRenderer& operator=(const GlRenderer&) = delete;

  GlSettings settings;
  // The "OpenGL" accessor; chained into the interface settings.
  param& parameters() { return params_; }

  // Sets up the state on the current context and loads the textures when
  // they are on. False when already open or when GLU fails.
  bool open();
  // Frees the textures and GL objects (the context must still be current).
  // False when not open.
  bool close();
  bool isOpen() const { return open_; }

  // The view's size in pixels.
  void resize(int width, int height);
  double aspectCorrection = 1.0;

  // Draws one frame of `life` (no buffer swap: the window layer presents).
  // The grab, when given, shows its pointer.
  void drawFrame(const Life& life, const Grab* grab = nullptr);

  long frameNumber() const { return frame_; }
  bool underwater() const { return underwater_ == 1; }
  Vec3 eye() const { return eye_; }

  // Texture files that could not be read since the last call: the window
  // shows one box for each, outside the paint.
  std::vector<std::string> takeFailedTextures();
  // Whether slot k holds pixels (a read file or the substitute).
  bool textureLoaded(int slot) const { return !slots_[static_cast<size_t>(slot)].image.empty(); }

  // The world point under a window position (x right, y down, in pixels) on the ground
  // plane z = `planeZ`, using the last frame's matrices. False when the ray
  // misses the plane.
  bool unproject(int x, int y, double planeZ, Vec3& out) const;
  // The window pixel (x right, y down) of a world point in the last frame;
  // false when it lies behind the eye.
  bool project(const Vec3& p, double& x, double& y) const;
  // The perspective of the last frame, as plain arithmetic (what picking uses).
  const PerspectiveView& lastView() const { return lastView_; }

 private:
  struct Slot {
    RgbImage image;
    unsigned name = 0;
  };
  struct GroundKey {
    int type = -1;
    double size = 0, water = 0;
    int boundaries = -1;
    std::string map;
    int drawflat = -1, textures = -1, mode = -1, underwater = -1;
    bool operator==(const GroundKey&) const = default;
  };

  void parameterChanged(int row);
  void loadTexture(int slot);
  void dropTexture(int slot);
  void loadAllTextures();
  bool useTexture(int slot) const;
  // Material (and plain colour) from the current colour set.
  void colour(ColourName c);
  void colour(const Rgba& c);
  void blendOn();
  void blendOff();
  void bindTexture(int slot, const float* planeS, const float* planeT);
  void textureOff();

  void drawGround(const world& w);
  void emitGround(const world& w);
  void drawBox(const Vec3& lo, const Vec3& hi);
  void drawObject(const org& o, const world& w, int step);
  void drawBall(const org& o, const world& w);
  void drawStick(const org& o, const est& k, bool first, const world& w, int step);
  void drawAccessories(const est& k, double length);
  void drawFoodStream(const Vec3& food, const Vec3& end, double ingestion, int step);
  void drawShadowDisk(const Vec3& p, double r, const world& w);
  void drawPointer(const Grab& grab);
  void drawWater(const world& w);
  void setProjection();

  Camera* camera_;
  GlParams params_;
  bool open_ = false;
  int mode_ = GL_MODE_RGB;
  long frame_ = 0;
  int underwater_ = -1;
  ColourSet colours_{};
  ColourSet underwaterSet_{};
  GroundKey groundKey_;
  GLUquadric* quadric_ = nullptr;
  unsigned groundList_ = 0;
  std::array<Slot, kTextureSlots> slots_;
  std::vector<std::string> failedTextures_;
  int width_ = 1, height_ = 1;
  Vec3 eye_;
  PerspectiveView lastView_;
  double modelview_[16] = {};
  double projection_[16] = {};
  int viewport_[4] = {};
  std::minstd_rand random_{12345};
};

}  // namespace vorlund
