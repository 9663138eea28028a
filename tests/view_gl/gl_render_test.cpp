// Pictures drawn by the 3D renderer on a real (software) OpenGL context,
// read back pixel by pixel.
#include <gtest/gtest.h>

#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QSurfaceFormat>
#include <memory>

#include "support/message_capture.h"
#include "view/camera.h"
#include "view/gl_renderer.h"
#include "view/grab.h"
#include "world/life_test_support.h"

namespace vorlund {
namespace {

constexpr int kSide = 160;

QColor rgb(const Rgba& c) { return QColor::fromRgbF(c.r, c.g, c.b); }

bool near(QColor a, QColor b, int tolerance = 3) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

int brightness(QColor c) { return c.red() + c.green() + c.blue(); }

class GlRenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    surface.setFormat(format);
    surface.create();
    context.setFormat(format);
    ASSERT_TRUE(context.create()) << "no OpenGL context: the GL tests need an X display";
    ASSERT_TRUE(context.makeCurrent(&surface));
    fbo = std::make_unique<QOpenGLFramebufferObject>(kSide, kSide, QOpenGLFramebufferObject::Depth);
    ASSERT_TRUE(fbo->bind());
    life.world.vars.wrldsiz = 20;
    life.world.vars.wrldbnd = BOUNDARY_NONE;
    life.world.build();
    ASSERT_TRUE(renderer.open());
    renderer.resize(kSide, kSide);
  }
  void TearDown() override {
    renderer.close();
    fbo.reset();
    context.doneCurrent();
  }
  // The camera `distance` from `target` (the world's centre), `height` degrees
  // above the horizon (straight down at 90), looking along +y.
  void look(double distance = 15, double height = 90, Vec3 target = {10, 10, 0}) {
    camera.target = target;
    camera.scale = 1 / distance;
    camera.settings.ka_h = height;
    camera.settings.ka_a = 0;
  }
  QImage draw(const Grab* grab = nullptr) {
    renderer.drawFrame(life, grab);
    return fbo->toImage(true).convertToFormat(QImage::Format_RGB32);
  }
  QPoint at(const Vec3& p) {
    double x = 0, y = 0;
    EXPECT_TRUE(renderer.project(p, x, y));
    return {static_cast<int>(x), static_cast<int>(y)};
  }

  test_support::MessageCapture messages;
  QOffscreenSurface surface;
  QOpenGLContext context;
  std::unique_ptr<QOpenGLFramebufferObject> fbo;
  testing_life::World scene;
  Life& life = scene.life;
  Camera camera;
  GlRenderer renderer{camera};
};

TEST_F(GlRenderTest, CheckerTilesUnderTheCameraAndSkyAboveTheHorizon) {
  look();
  QImage img = draw();
  // Tiles of 4 units: the centre (10, 10) is in tile (2, 2), light; one tile over is dark.
  const QColor centre = img.pixelColor(at({10, 10, -0.1}));
  const QColor next = img.pixelColor(at({13, 10, -0.1}));
  EXPECT_GT(brightness(centre), brightness(next));
  EXPECT_GT(centre.red(), centre.blue());
  camera.settings.ka_h = 0;  // side view: the upper half is sky
  img = draw();
  EXPECT_TRUE(near(img.pixelColor(kSide / 2, 3), rgb(aboveWaterColours()[COL_SKY])));
  EXPECT_FALSE(renderer.underwater());
}

TEST_F(GlRenderTest, UnderwaterSkyWhenTheEyeIsBelowTheSurface) {
  life.world.vars.wrldwat = 5;
  look(3, 0, {10, 10, 1});
  const QImage img = draw();
  EXPECT_TRUE(renderer.underwater());
  // Between the far edge of the surface overhead and the horizon.
  EXPECT_TRUE(near(img.pixelColor(kSide / 2, kSide / 2 - 15), rgb(underwaterColours()[COL_SKY])));
}

TEST_F(GlRenderTest, WaterOpaqueBlendedOrStippled) {
  life.world.vars.wrldwat = 2;
  renderer.settings.sgl_drawflat = 0;  // water over the bare sky colour
  look();
  draw();
  const QPoint p = at({10, 10, 2});
  const QColor sky = rgb(aboveWaterColours()[COL_SKY]);
  renderer.settings.sgl_blend = BLEND_OFF;
  EXPECT_TRUE(near(draw().pixelColor(p), rgb(aboveWaterColours()[COL_WATER])));
  renderer.settings.sgl_blend = BLEND_TRUE;
  const Rgba w = aboveWaterColours()[COL_WATER];
  const Rgba s = aboveWaterColours()[COL_SKY];
  const QColor mixed = QColor::fromRgbF(w.r * w.a + s.r * (1 - w.a), w.g * w.a + s.g * (1 - w.a),
                                        w.b * w.a + s.b * (1 - w.a));
  EXPECT_TRUE(near(draw().pixelColor(p), mixed));
  renderer.settings.sgl_blend = BLEND_FAKE;
  const QImage img = draw();
  const QColor a = img.pixelColor(p), b = img.pixelColor(p + QPoint(1, 0));
  EXPECT_TRUE(near(a, sky) != near(b, sky)) << "neighbouring pixels alternate between water and sky";
}

TEST_F(GlRenderTest, FogPullsFarGroundToTheSky) {
  look(8, 5);
  const QPoint far = QPoint(kSide / 2, kSide / 2 + 2);
  const QColor sky = rgb(aboveWaterColours()[COL_SKY]);
  const QColor clear = draw().pixelColor(far);
  renderer.settings.sgl_fog = 100;
  const QColor foggy = draw().pixelColor(far);
  EXPECT_LT(std::abs(brightness(foggy) - brightness(sky)), std::abs(brightness(clear) - brightness(sky)));
}

TEST_F(GlRenderTest, BallAndStickAtTheirPlacesWithDarkerShadows) {
  renderer.settings.sgl_blend = BLEND_OFF;
  look(15, 60);
  const QImage empty = draw();
  scene.ball({6, 10, 3}, 0.5);
  scene.creature("p:13,9,0.3\np:13,11,0.3\nj:0,1\n");  // a stick across y
  const QImage img = draw();
  const QColor ballPixel = img.pixelColor(at({6, 10, 3.4}));
  EXPECT_GT(ballPixel.red(), ballPixel.blue() + 40) << "the ball's orange";
  EXPECT_NE(img.pixelColor(at({13, 10, 0.3})), empty.pixelColor(at({13, 10, 0.3})));
  const QPoint shadow = at({6, 10, -0.1});
  EXPECT_LT(brightness(img.pixelColor(shadow)), brightness(empty.pixelColor(shadow)) - 30);
  renderer.settings.sgl_shadow = 0;
  EXPECT_TRUE(near(draw().pixelColor(shadow), empty.pixelColor(shadow)));
}

TEST_F(GlRenderTest, MissingTextureFileShowsTheSubstitute) {
  look();
  draw();
  const QPoint p = at({10, 10, -0.1});
  const QColor plain = draw().pixelColor(p);
  renderer.settings.sgl_tex[TEX_GROUND] = "no/such/ground.bmp";
  renderer.parameters().set(SGL_TEXTURE, "1");
  const QImage img = draw();
  EXPECT_EQ(renderer.takeFailedTextures(), std::vector<std::string>{"no/such/ground.bmp"});
  EXPECT_TRUE(renderer.textureLoaded(TEX_GROUND));
  EXPECT_NE(img.pixelColor(p), plain);
  draw();
  EXPECT_TRUE(renderer.takeFailedTextures().empty()) << "reported once";
}

TEST_F(GlRenderTest, PictureChangesWithTheWorld) {
  look(25);
  const QImage before = draw();
  life.world.vars.wrldtyp = WORLD_BLOCKS;
  life.world.vars.wrldmap = "m 3 3 159\n951\n519";
  life.world.build();
  const QImage blocks = draw();
  EXPECT_NE(before, blocks);
  life.world.vars.wrldbnd = BOUNDARY_FENCE;
  EXPECT_NE(draw(), blocks) << "the ground is recorded again when the boundaries change";
}

// Regression: Ctrl+click in the 3D view grabbed creatures far from the pointer
// near the corners. The pick's plain perspective is the one the frame was drawn with.
TEST_F(GlRenderTest, PickPerspectiveMatchesTheDrawnProjection) {
  look(12, 35, {7, 9, 0.5});
  camera.settings.ka_a = 123;
  renderer.resize(kSide, kSide / 2);  // a wide view narrows the field of view
  draw();
  const PerspectiveView& view = renderer.lastView();
  for (const Vec3& p : {Vec3{7, 9, 0.5}, Vec3{1, 2, 0}, Vec3{15, 3, 2}, Vec3{12, 16, 0}, Vec3{3, 14, 1}}) {
    double gx = 0, gy = 0, x = 0, y = 0;
    ASSERT_EQ(renderer.project(p, gx, gy), view.project(p, x, y));
    EXPECT_NEAR(x, gx, 0.01) << p.x << "," << p.y;
    EXPECT_NEAR(y, gy, 0.01) << p.x << "," << p.y;
  }
}

TEST_F(GlRenderTest, GrabPointerIsDrawnWhileTheGrabRuns) {
  org* c = scene.creature("p:8,10,0.3\np:12,10,0.3\nj:0,1\n");
  look(20);
  const QImage without = draw();
  Grab grab(life);
  grab.start(*c, 0);
  EXPECT_NE(draw(&grab), without);
  Vec3 ground;
  ASSERT_TRUE(renderer.unproject(kSide / 2, kSide / 2, 0, ground));
  EXPECT_NEAR(ground.x, 10, 0.2);
  EXPECT_NEAR(ground.y, 10, 0.2);
}

}  // namespace
}  // namespace vorlund
