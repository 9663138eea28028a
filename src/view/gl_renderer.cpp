#include "view/gl_renderer.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/data_folders.h"
#include "core/message.h"
#include "view/grab.h"
#include "view/render_rules.h"
#include "world/life.h"

namespace vorlund {

namespace {

constexpr float kAmbientLight[4] = {0.4f, 0.4f, 0.4f, 1.0f};
constexpr float kSpecularOn[4] = {1, 1, 1, 1};
constexpr float kSpecularOff[4] = {0, 0, 0, 1};
constexpr float kShininess = 100.0f;
constexpr float kOffsetFactor = -3.0f;
constexpr float kOffsetUnits = -2.0f;
// Radians to degrees as stick frames have always been turned.
constexpr double kStickDegree = 57.0;

// Object-linear texture planes.
constexpr float kPlaneX[4] = {1, 0, 0, 0};
constexpr float kPlaneY[4] = {0, 1, 0, 0};
constexpr float kPlaneTenthX[4] = {0.1f, 0, 0, 0};
constexpr float kPlaneTenthY[4] = {0, 0.1f, 0, 0};
constexpr float kPlaneTenthZ[4] = {0, 0, 0.1f, 0};

constexpr double kStickHalf = 0.1;
constexpr double kBoxJointHalf = 0.15;
constexpr double kSphereJoint = 0.15;
constexpr double kStickRadius = 0.1;
constexpr double kBallWobble = 0.05;
constexpr int kBallSlices = 16, kBallStacks = 8;
constexpr int kShadowSlices = 12;
constexpr double kMuscleInner = 0.15, kMuscleOuter = 0.16, kMusclePerPower = 0.1;
constexpr double kGyroAt = 0.4, kGyroRadius = 0.13, kGyroLength = 0.2;
constexpr double kSmellAt = 0.75, kSmellOffset = 0.12, kSmellRadius = 0.05;
constexpr double kWhiskerRadius = 0.015, kWhiskerLength = 0.3, kWhiskerTurn = 80, kWhiskerSpread = 20;
constexpr double kStreamStep = 0.05;
constexpr float kStreamPointSize = 5.0f;
constexpr int kWaterFlowPeriod = 128;
constexpr double kFogPerUnit = 0.001;

GLubyte stipplePattern[128];

// A relative name is looked for along the data search order; a missing file
// is named with the places looked in, and kept as given for the error box.
std::string locate(const std::string& file) {
  const std::string found = findDataFile(file);
  if (!found.empty()) return found;
  logMessage("showgl", "loadtexture", missingDataMessage(file, dataFolders()), LOG_WARNING);
  return file;
}

void vertex(const Vec3& v) { glVertex3d(v.x, v.y, v.z); }
void normal(const Vec3& n) { glNormal3d(n.x, n.y, n.z); }

Rgba rgbaOf(const ColourSet& set, ColourName c) { return set[static_cast<size_t>(c)]; }

}  // namespace

GlRenderer::GlRenderer(Camera& camera) : camera_(&camera), params_(settings) {
  params_.changed = [this](int row) { parameterChanged(row); };
  colours_ = aboveWaterColours();
  underwaterSet_ = underwaterColours();
}

GlRenderer::~GlRenderer() {
  // The GL objects die with their context; only the pixel data is ours.
  for (Slot& s : slots_) s.image = RgbImage{};
  if (quadric_ != nullptr) gluDeleteQuadric(quadric_);
}

bool GlRenderer::open() {
  if (open_) return false;
  quadric_ = gluNewQuadric();
  if (quadric_ == nullptr) return false;
  mode_ = settings.sgl_mode;

  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, kAmbientLight);
  glFrontFace(GL_CCW);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glEnable(GL_AUTO_NORMAL);
  glEnable(GL_NORMALIZE);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  for (int row = 0; row < 32; ++row) {
    const GLubyte b = (row & 1) ? 0x55 : 0xAA;
    for (int k = 0; k < 4; ++k) stipplePattern[row * 4 + k] = b;
  }
  glPolygonStipple(stipplePattern);
  underwaterSet_ = underwaterColours();
  underwater_ = -1;
  const Rgba sky = aboveWaterColours()[COL_SKY];
  glClearColor(sky.r, sky.g, sky.b, sky.a);
  glFogi(GL_FOG_MODE, GL_EXP);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
  glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
  glEnable(GL_TEXTURE_GEN_S);
  glEnable(GL_TEXTURE_GEN_T);
  for (Slot& s : slots_) glGenTextures(1, &s.name);
  for (Slot& s : slots_) {
    glBindTexture(GL_TEXTURE_2D, s.name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  }
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, kSpecularOn);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, kShininess);
  groundList_ = glGenLists(1);
  groundKey_ = GroundKey{};
  glPolygonOffset(kOffsetFactor, kOffsetUnits);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glMatrixMode(GL_MODELVIEW);
  open_ = true;
  if (settings.sgl_texture) loadAllTextures();
  return true;
}

bool GlRenderer::close() {
  if (!open_) return false;
  gluDeleteQuadric(quadric_);
  quadric_ = nullptr;
  for (Slot& s : slots_) {
    s.image = RgbImage{};
    if (s.name != 0) glDeleteTextures(1, &s.name);
    s.name = 0;
  }
  if (groundList_ != 0) glDeleteLists(groundList_, 1);
  groundList_ = 0;
  open_ = false;
  return true;
}

void GlRenderer::resize(int width, int height) {
  width_ = std::max(width, 1);
  height_ = std::max(height, 1);
  if (open_) {
    glViewport(0, 0, width_, height_);
    setProjection();
  }
}

void GlRenderer::setProjection() {
  const ClipPlanes clip = clipPlanesFor(camera_->distance(), kWorldSizeMax);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  const double aspect = static_cast<double>(width_) / height_ / (aspectCorrection > 0 ? aspectCorrection : 1.0);
  gluPerspective(fieldOfView(width_, height_), aspect, clip.nearPlane, clip.farPlane);
  glMatrixMode(GL_MODELVIEW);
}

std::vector<std::string> GlRenderer::takeFailedTextures() {
  std::vector<std::string> out;
  out.swap(failedTextures_);
  return out;
}

void GlRenderer::parameterChanged(int row) {
  // The hook may run outside the paint, without the context current: only
  // forget the pixels here; the next frame loads them again.
  if (!open_ || !settings.sgl_texture) return;
  if (row == SGL_TEXTURE) {
    for (int k = 0; k < kTextureSlots; ++k) dropTexture(k);
  } else if (row >= SGL_TEX_0 && row < SGL_TEX_0 + kTextureSlots) {
    dropTexture(row - SGL_TEX_0);
  }
}

void GlRenderer::dropTexture(int slot) { slots_[static_cast<size_t>(slot)].image = RgbImage{}; }

void GlRenderer::loadAllTextures() {
  for (int k = 0; k < kTextureSlots; ++k) loadTexture(k);
}

void GlRenderer::loadTexture(int slot) {
  Slot& s = slots_[static_cast<size_t>(slot)];
  const std::string& file = settings.sgl_tex[static_cast<size_t>(slot)];
  if (!s.image.empty() || file.empty()) return;
  bool failed = false;
  s.image = readTextureFile(locate(file), failed);
  if (failed) failedTextures_.push_back(file);
  while (glGetError() != GL_NO_ERROR) {
  }
  glBindTexture(GL_TEXTURE_2D, s.name);
  glTexImage2D(GL_TEXTURE_2D, 0, 3, s.image.width, s.image.height, 0, GL_RGB, GL_UNSIGNED_BYTE, s.image.pixels.data());
  if (s.image.empty() || glGetError() != GL_NO_ERROR) {
    s.image = RgbImage{};
    logMessage("showgl", "loadtexture", std::string("Can't load texture for '") + textureSlotName(slot) + "'", 1);
  }
}

bool GlRenderer::useTexture(int slot) const {
  return settings.sgl_texture && mode_ == GL_MODE_RGB && textureLoaded(slot);
}

void GlRenderer::colour(ColourName c) {
  if (mode_ != GL_MODE_INDEX || !hasPaletteRamp(c)) {
    colour(rgbaOf(colours_, c));
    return;
  }
  // A six-entry ramp: ambient from its dark end, diffuse from its light end,
  // as the index mode's materials take them.
  const Rgba base = rgbaOf(colours_, c);
  const Rgba dark = paletteRamp(base, 0, 5, 0), light = paletteRamp(base, 0, 5, 5);
  const float ambient[4] = {dark.r, dark.g, dark.b, dark.a};
  const float diffuse[4] = {light.r, light.g, light.b, light.a};
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
  glColor4fv(diffuse);
}

void GlRenderer::colour(const Rgba& c) {
  const float v[4] = {c.r, c.g, c.b, c.a};
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, v);
  glColor4fv(v);
}

void GlRenderer::blendOn() {
  if (settings.sgl_blend == BLEND_TRUE && mode_ == GL_MODE_RGB) {
    glEnable(GL_BLEND);
  } else if (settings.sgl_blend != BLEND_OFF) {
    glEnable(GL_POLYGON_STIPPLE);
  }
}

void GlRenderer::blendOff() {
  glDisable(GL_BLEND);
  glDisable(GL_POLYGON_STIPPLE);
}

void GlRenderer::bindTexture(int slot, const float* planeS, const float* planeT) {
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, slots_[static_cast<size_t>(slot)].name);
  glTexGenfv(GL_S, GL_OBJECT_PLANE, planeS);
  glTexGenfv(GL_T, GL_OBJECT_PLANE, planeT);
}

void GlRenderer::textureOff() { glDisable(GL_TEXTURE_2D); }

void GlRenderer::drawFrame(const Life& life, const Grab* grab) {
  if (!open_) return;
  const world& w = life.world;
  if (settings.sgl_texture) loadAllTextures();  // slots dropped by a parameter change
  ++frame_;
  eye_ = camera_->eye();
  const int under = eye_.z < w.waterLevel() ? 1 : 0;
  colours_ = under ? underwaterSet_ : aboveWaterColours();
  if (under != underwater_) {
    const Rgba sky = colours_[COL_SKY];
    glClearColor(sky.r, sky.g, sky.b, sky.a);
    underwater_ = under;
  }
  if (settings.sgl_fog > 0 && mode_ == GL_MODE_RGB) {
    const Rgba sky = colours_[COL_SKY];
    const float fog[4] = {sky.r, sky.g, sky.b, sky.a};
    glFogfv(GL_FOG_COLOR, fog);
    glFogf(GL_FOG_DENSITY, static_cast<float>(settings.sgl_fog * kFogPerUnit));
    glEnable(GL_FOG);
  } else {
    glDisable(GL_FOG);
  }
  glViewport(0, 0, width_, height_);
  setProjection();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  static constexpr GLenum kStyles[] = {GLU_POINT, GLU_LINE, GLU_SILHOUETTE, GLU_FILL};
  gluQuadricDrawStyle(quadric_, kStyles[std::clamp(settings.sgl_style, 0, 3)]);
  gluQuadricNormals(quadric_, settings.sgl_shading ? GLU_SMOOTH : GLU_FLAT);

  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  const Vec3& t = camera_->target;
  gluLookAt(eye_.x, eye_.y, eye_.z, t.x, t.y, t.z, 0, 0, 1);
  glGetDoublev(GL_MODELVIEW_MATRIX, modelview_);
  glGetDoublev(GL_PROJECTION_MATRIX, projection_);
  glGetIntegerv(GL_VIEWPORT, viewport_);
  lastView_ = PerspectiveView(*camera_, width_, height_, aspectCorrection);
  const GLint filter = settings.sgl_lintex ? GL_LINEAR : GL_NEAREST;
  for (Slot& s : slots_) {
    glBindTexture(GL_TEXTURE_2D, s.name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  }
  const Vec3 light = lightPosition(settings.sgl_lia, settings.sgl_lih);
  const float lightPos[4] = {static_cast<float>(light.x), static_cast<float>(light.y), static_cast<float>(light.z), 0};
  glLightfv(GL_LIGHT0, GL_POSITION, lightPos);
  glShadeModel(settings.sgl_shading ? GL_SMOOTH : GL_FLAT);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, kSpecularOff);

  drawGround(w);

  textureOff();
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, kSpecularOn);
  glDisable(GL_CULL_FACE);
  const int step = static_cast<int>(frame_ & 0x7fffffff);
  for (int i = 0; i < life.creatures.size(); ++i) drawObject(*life.creatures.get(i), w, step);
  for (int i = 0; i < life.food.size(); ++i) drawObject(*life.food.get(i), w, step);
  if (grab != nullptr && grab->active()) drawPointer(*grab);
  drawWater(w);
  // Translucent colours leave their alpha in the frame; a window that
  // composes the frame must see it opaque.
  glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  const Rgba sky = colours_[COL_SKY];
  glClearColor(sky.r, sky.g, sky.b, sky.a);
  glFlush();
}

void GlRenderer::drawGround(const world& w) {
  GroundKey key{w.activeType(), w.activeSize(), w.waterLevel(), w.boundaries(), w.activeMap(), settings.sgl_drawflat,
                0, mode_, underwater_};
  for (int k = 0; k < kTextureSlots; ++k) key.textures |= useTexture(k) ? 1 << k : 0;
  const bool same = key.type == groundKey_.type && std::fabs(key.size - groundKey_.size) <= 0.0001 &&
                    std::fabs(key.water - groundKey_.water) <= 0.0001 && key.boundaries == groundKey_.boundaries &&
                    key.map == groundKey_.map && key.drawflat == groundKey_.drawflat &&
                    key.textures == groundKey_.textures && key.mode == groundKey_.mode &&
                    key.underwater == groundKey_.underwater;
  if (same) {
    glCallList(groundList_);
    return;
  }
  groundKey_ = key;
  // Compiled, then called: Mesa's compile-and-execute applies each material
  // one quad late while it records.
  glNewList(groundList_, GL_COMPILE);
  emitGround(w);
  glEndList();
  glCallList(groundList_);
}

void GlRenderer::emitGround(const world& w) {
  const GroundMesh mesh = buildGroundMesh(w, settings.sgl_drawflat != 0);
  // Fence.
  if (!mesh.fence.empty()) {
    if (useTexture(TEX_BOUNDARY)) {
      colour(COL_TEXTURED);
      bindTexture(TEX_BOUNDARY, kPlaneX, kPlaneY);
    } else {
      colour(COL_FENCE);
    }
    for (const WorldBox& b : mesh.fence) drawBox(b.min, b.max);
    textureOff();
  }
  for (const GroundQuad& q : mesh.quads) {
    int slot = -1;
    ColourName plain = q.parity ? COL_CHECKER_DARK : COL_CHECKER_LIGHT;
    const float* planeS = kPlaneTenthX;
    const float* planeT = kPlaneTenthY;
    switch (q.part) {
      case GroundPart::Band:
        slot = TEX_TELEPORT;
        plain = COL_TELEPORT;
        break;
      case GroundPart::Tile:
        slot = TEX_GROUND;
        break;
      case GroundPart::Top:
      case GroundPart::WallX:
      case GroundPart::WallY:
        if (q.height < w.waterLevel() && useTexture(TEX_UNDERWATER)) {
          slot = TEX_UNDERWATER;
        } else if (q.height > kHighGround && useTexture(TEX_HEIGHTS)) {
          slot = TEX_HEIGHTS;
        } else {
          slot = TEX_GROUND;
        }
        if (q.part == GroundPart::WallX) {
          planeS = kPlaneTenthY;
          planeT = kPlaneTenthZ;
        } else if (q.part == GroundPart::WallY) {
          planeT = kPlaneTenthZ;
        }
        break;
    }
    if (useTexture(slot)) {
      colour(COL_TEXTURED);
      bindTexture(slot, planeS, planeT);
    } else {
      colour(plain);
      textureOff();
    }
    glBegin(GL_QUADS);
    normal(q.normal);
    for (const Vec3& v : q.v) vertex(v);
    glEnd();
  }
  textureOff();
}

void GlRenderer::drawBox(const Vec3& lo, const Vec3& hi) {
  glBegin(GL_QUADS);
  normal({-1, 0, 0});
  vertex({lo.x, lo.y, lo.z}), vertex({lo.x, lo.y, hi.z}), vertex({lo.x, hi.y, hi.z}), vertex({lo.x, hi.y, lo.z});
  normal({1, 0, 0});
  vertex({hi.x, lo.y, lo.z}), vertex({hi.x, hi.y, lo.z}), vertex({hi.x, hi.y, hi.z}), vertex({hi.x, lo.y, hi.z});
  normal({0, -1, 0});
  vertex({lo.x, lo.y, lo.z}), vertex({hi.x, lo.y, lo.z}), vertex({hi.x, lo.y, hi.z}), vertex({lo.x, lo.y, hi.z});
  normal({0, 1, 0});
  vertex({lo.x, hi.y, lo.z}), vertex({lo.x, hi.y, hi.z}), vertex({hi.x, hi.y, hi.z}), vertex({hi.x, hi.y, lo.z});
  normal({0, 0, -1});
  vertex({lo.x, lo.y, lo.z}), vertex({lo.x, hi.y, lo.z}), vertex({hi.x, hi.y, lo.z}), vertex({hi.x, lo.y, lo.z});
  normal({0, 0, 1});
  vertex({lo.x, lo.y, hi.z}), vertex({hi.x, lo.y, hi.z}), vertex({hi.x, hi.y, hi.z}), vertex({lo.x, hi.y, hi.z});
  glEnd();
}

void GlRenderer::drawObject(const org& o, const world& w, int step) {
  if (o.sesCount() == 0) return;
  if (o.estCount() == 0) {
    drawBall(o, w);
    return;
  }
  for (int i = 0; i < o.estCount(); ++i) drawStick(o, *o.getEst(i), i == 0, w, step);
}

void GlRenderer::drawBall(const org& o, const world& w) {
  const Vec3& p = o.getSes(0)->p;
  const double r = ballRadius(o.energy);
  if (r <= 0) return;
  const double t = static_cast<double>(frame_ % 1024) + 0.05 * (p.x + p.y);
  const double rr = (std::sin(0.5 * t) * kBallWobble + 1) * r;
  glDisable(GL_CULL_FACE);
  blendOn();
  glPushMatrix();
  glTranslated(p.x, p.y, p.z - 0.1 + rr);
  glScaled(std::sin(0.7 * t) * kBallWobble + 1, std::sin(0.6 * t) * kBallWobble + 1, 1);
  if (useTexture(TEX_ENERGY)) {
    colour(COL_TEXTURED);
    bindTexture(TEX_ENERGY, kPlaneX, kPlaneY);
  } else {
    colour(COL_ENERGY);
  }
  gluSphere(quadric_, rr, kBallSlices, kBallStacks);
  glPopMatrix();
  textureOff();
  blendOff();
  if (settings.sgl_shadow) drawShadowDisk(p, rr, w);
}

void GlRenderer::drawShadowDisk(const Vec3& p, double r, const world& w) {
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LIGHTING_BIT);
  glDisable(GL_LIGHTING);
  glEnable(GL_POLYGON_OFFSET_FILL);
  glDisable(GL_CULL_FACE);
  colour(COL_SHADOW);
  blendOn();
  glPushMatrix();
  glTranslated(p.x, p.y, w.height(p.x, p.y) + kGroundDrawOffset);
  gluDisk(quadric_, 0, r, kShadowSlices, 1);
  glPopMatrix();
  glPopAttrib();
}

void GlRenderer::drawStick(const org& o, const est& k, bool first, const world& w, int step) {
  if (k.e[0] == nullptr || k.e[1] == nullptr) return;
  const ses& a = *k.e[0];
  const ses& b = *k.e[1];
  glDisable(GL_CULL_FACE);
  // The index mode has no colour per stick: living sticks take the green ramp.
  const ColourName indexColour = o.typ == ORG_FOOD ? COL_CORPSE : COL_GREEN;
  Rgba c = mode_ == GL_MODE_RGB ? stickColour(k, o) : rgbaOf(colours_, indexColour);
  if (underwater() && mode_ == GL_MODE_RGB) c = underwaterVariant(c);
  auto stickMaterial = [&] {
    if (mode_ == GL_MODE_RGB) {
      colour(c);
    } else {
      colour(indexColour);
    }
  };
  stickMaterial();
  const Vec3 d = b.p - a.p;
  const double len = d.length();
  const bool eating = (b.state & SES_ATE) != 0;
  auto joint = [&](const Vec3& at) {
    glPushMatrix();
    glTranslated(at.x, at.y, at.z);
    // Accessories may have set their own colours since the stick was drawn.
    if (eating) {
      colour(COL_EATING);
    } else {
      stickMaterial();
    }
    if (settings.sgl_shape == STICK_CYLINDER) {
      gluSphere(quadric_, kSphereJoint, 10, 5);
    } else {
      drawBox({-kBoxJointHalf, -kBoxJointHalf, -kBoxJointHalf}, {kBoxJointHalf, kBoxJointHalf, kBoxJointHalf});
    }
    glPopMatrix();
  };
  if (len > 1e-9 && std::isfinite(len)) {
    // The stick's frame: x along the stick, y from the second end's frame.
    const Vec3 x = d / len;
    Vec3 y = b.o.y - x * dot(b.o.y, x);
    if (y.length() < 1e-6) y = a.o.z - x * dot(a.o.z, x);
    if (y.length() < 1e-6) y = std::fabs(x.z) < 0.9 ? cross({0, 0, 1}, x) : cross({0, 1, 0}, x);
    y = y / y.length();
    const Vec3 z = cross(x, y);
    const double m[16] = {x.x, x.y, x.z, 0, y.x, y.y, y.z, 0, z.x, z.y, z.z, 0, a.p.x, a.p.y, a.p.z, 1};
    glPushMatrix();
    glMultMatrixd(m);
    if (settings.sgl_shape == STICK_CYLINDER) {
      glPushMatrix();
      glRotated(90, 0, 1, 0);
      gluCylinder(quadric_, kStickRadius, kStickRadius, len, 12, 1);
      glPopMatrix();
    } else {
      drawBox({-kStickHalf, -kStickHalf, -kStickHalf}, {len + kStickHalf, kStickHalf, kStickHalf});
    }
    if (settings.sgl_xtras && o.typ == ORG_CREATURE) drawAccessories(k, len);
    glPopMatrix();
  }
  joint(b.p);
  if (first) joint(a.p);
  if (eating) drawFoodStream(b.foodPos, b.p, b.wchl, step);
  if (settings.sgl_shadow) {
    Vec3 q[4];
    if (stickShadow(w, a.p, b.p, q)) {
      glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LIGHTING_BIT);
      glDisable(GL_LIGHTING);
      colour(COL_SHADOW);
      blendOn();
      glEnable(GL_POLYGON_OFFSET_FILL);
      glBegin(GL_QUADS);
      for (const Vec3& v : q) vertex(v);
      glEnd();
      glPopAttrib();
    }
  }
}

void GlRenderer::drawAccessories(const est& k, double len) {
  if (k.muscles != 0) {
    colour(COL_MUSCLE);
    const double outer = kMuscleOuter + kMusclePerPower * std::clamp(k.ruch, 0.0, 10.0);
    if (k.muscles & EST_MUSCLE_BEND) gluDisk(quadric_, kMuscleInner, outer, 12, 1);
    if (k.muscles & EST_MUSCLE_ROTATE) {
      glPushMatrix();
      glRotated(90, 0, 1, 0);
      gluDisk(quadric_, kMuscleInner, outer, 12, 1);
      glPopMatrix();
    }
  }
  if (k.sensors & EST_SENSOR_EQUILIBRIUM) {
    colour(COL_GYROSCOPE);
    glPushMatrix();
    glTranslated(kGyroAt * len, 0, 0);
    glRotated(90, 0, 1, 0);
    gluCylinder(quadric_, kGyroRadius, kGyroRadius, kGyroLength * len, 12, 1);
    glPopMatrix();
  }
  if (k.sensors & EST_SENSOR_SMELL) {
    colour(COL_SMELL);
    for (int side = -1; side <= 1; side += 2) {
      glPushMatrix();
      glTranslated(kSmellAt * len, 0, side * kSmellOffset);
      gluDisk(quadric_, 0, kSmellRadius, 10, 1);
      glPopMatrix();
      glPushMatrix();
      glTranslated(kSmellAt * len, side * kSmellOffset, 0);
      glRotated(90, 1, 0, 0);
      gluDisk(quadric_, 0, kSmellRadius, 10, 1);
      glPopMatrix();
    }
  }
  if (k.sensors & EST_SENSOR_TOUCH) {
    colour(COL_TOUCH);
    glPushMatrix();
    glTranslated(len, 0, 0);
    glRotated(kWhiskerTurn, 0, 1, 0);
    gluCylinder(quadric_, kWhiskerRadius, kWhiskerRadius, kWhiskerLength, 6, 1);
    glRotated(kWhiskerSpread, 0, 1, 0);
    gluCylinder(quadric_, kWhiskerRadius, kWhiskerRadius, kWhiskerLength, 6, 1);
    glPopMatrix();
  }
}

void GlRenderer::drawFoodStream(const Vec3& food, const Vec3& end, double ingestion, int step) {
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_POINT_BIT | GL_LIGHTING_BIT);
  glDisable(GL_LIGHTING);
  glPointSize(kStreamPointSize);
  colour(COL_TEXTURED);
  const Vec3 v = (end - food) * 2.0;
  std::uniform_int_distribution<int> r100(0, 99), r200(0, 199);
  // At most one point per 0.05 of ingestion, and ingestion counts up to 1.
  const double top = std::isfinite(ingestion) ? std::min(ingestion, 1.0) : 0.0;
  glBegin(GL_POINTS);
  for (double t = top; t > 0; t -= kStreamStep) {
    const double f = std::fmod((step % 32) / 31.0 + 0.01 * r100(random_), 1.0);
    const Vec3 jitter(0.001 * r200(random_) - 0.1, 0.001 * r200(random_) - 0.1, 0.001 * r200(random_) - 0.1);
    if (f <= 0.5) vertex(food + v * f + jitter);
  }
  glEnd();
  glPopAttrib();
}

void GlRenderer::drawPointer(const Grab& grab) {
  const int counter = grab.counter();
  if (counter >= kGrabSpan) return;
  const Vec3& p = grab.pointer();
  const double raise = std::abs(counter) * 0.1;
  glDisable(GL_CULL_FACE);
  colour(COL_POINTER);
  glPushMatrix();
  glTranslated(p.x, p.y, p.z + raise + 1.41);
  gluCylinder(quadric_, 0.2, 0.2, 5.0, 12, 1);
  const double arm = counter == 0 ? 130 : 100;
  for (int side = -1; side <= 1; side += 2) {
    glPushMatrix();
    glRotated(side * arm, 0, 1, 0);
    gluCylinder(quadric_, 0.12, 0.12, 1.0, 12, 1);
    glTranslated(0, 0, 1.0);
    glRotated(-side * 90, 0, 1, 0);
    gluCylinder(quadric_, 0.12, 0.12, 1.0, 12, 1);
    glPopMatrix();
  }
  glPopMatrix();
}

void GlRenderer::drawWater(const world& w) {
  const double level = w.waterLevel();
  if (!(level > 0 || (w.activeType() == WORLD_BLOCKS && level > -5))) return;
  const double size = w.activeSize();
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LIGHTING_BIT);
  glDisable(GL_LIGHTING);
  glDisable(GL_CULL_FACE);
  blendOn();
  glNormal3d(0, 0, 1);
  double s = 0;
  if (mode_ == GL_MODE_RGB && useTexture(TEX_WATER)) {
    colour(COL_TEXTURED);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, slots_[TEX_WATER].name);
    s = static_cast<double>(frame_ % kWaterFlowPeriod) / kWaterFlowPeriod;
  } else {
    colour(COL_WATER);
  }
  glDisable(GL_TEXTURE_GEN_S);
  glDisable(GL_TEXTURE_GEN_T);
  glBegin(GL_QUADS);
  glTexCoord2d(s, 0), glVertex3d(0, 0, level);
  glTexCoord2d(s + 1, 0), glVertex3d(size, 0, level);
  glTexCoord2d(s + 1, 1), glVertex3d(size, size, level);
  glTexCoord2d(s, 1), glVertex3d(0, size, level);
  glEnd();
  glPopAttrib();
}

bool GlRenderer::unproject(int x, int y, double planeZ, Vec3& out) const {
  if (viewport_[2] <= 0 || viewport_[3] <= 0) return false;
  const double wy = viewport_[3] - y;
  Vec3 p0, p1;
  if (!gluUnProject(x, wy, 0.0, modelview_, projection_, viewport_, &p0.x, &p0.y, &p0.z)) return false;
  if (!gluUnProject(x, wy, 1.0, modelview_, projection_, viewport_, &p1.x, &p1.y, &p1.z)) return false;
  const double dz = p1.z - p0.z;
  if (std::fabs(dz) < 1e-12) return false;
  const double t = (planeZ - p0.z) / dz;
  if (t < 0 || t > 1) return false;
  out = p0 + (p1 - p0) * t;
  return true;
}

bool GlRenderer::project(const Vec3& p, double& x, double& y) const {
  if (viewport_[2] <= 0 || viewport_[3] <= 0) return false;
  double wx = 0, wy = 0, wz = 0;
  if (!gluProject(p.x, p.y, p.z, modelview_, projection_, viewport_, &wx, &wy, &wz)) return false;
  if (wz < 0 || wz > 1) return false;
  x = wx;
  y = viewport_[3] - wy;
  return true;
}

}  // namespace vorlund
