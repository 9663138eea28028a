#include "view/camera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "view/motion_clock.h"
#include "view/view_input.h"
#include "world/org.h"

namespace vorlund {
namespace {

void resize(world& w, double size) {
  w.vars.wrldsiz = size;
  w.build();
}

std::unique_ptr<org> creatureAt(std::initializer_list<Vec3> ends) {
  auto o = std::make_unique<org>(nullptr);
  for (const Vec3& p : ends) o->addSes()->p = p;
  return o;
}

TEST(CameraTest, WithNothingFollowedTheGoalIsTheWholeSquare) {
  world w;
  resize(w, 20);
  Camera cam;
  cam.settings.ka_zoom = 1.5;
  cam.settings.ka_auto = FOLLOW_ALWAYS;
  cam.update(w);
  EXPECT_EQ(cam.target, Vec3(10, 10, 0));
  EXPECT_NEAR(cam.scale, 0.8 / (20 * std::sqrt(2.0)) * 1.5, 1e-12);
}

TEST(CameraTest, OneEndCreatureCountsAsHalfUnitDiagonalAndItsBoxIsLeftAlone) {
  world w;
  auto o = creatureAt({{3, 4, 5}});
  o->bboxMin = o->bboxMax = Vec3(-7, -7, -7);  // stale physics box: must not be read nor written
  Camera cam;
  cam.settings.ka_zoom = 2;
  cam.follow(o.get());
  Vec3 t;
  double s = 0;
  cam.computeGoal(w, t, s);
  EXPECT_EQ(t, Vec3(3, 4, 5));
  EXPECT_DOUBLE_EQ(s, 1.6 * 2);
  EXPECT_EQ(o->bboxMin, Vec3(-7, -7, -7));
}

TEST(CameraTest, FollowModesJumpOnceTrackOrGlide) {
  world w;
  auto o = creatureAt({{0, 0, 0}, {2, 0, 0}});
  struct Case {
    int mode;
    bool refresh;
    double expectX;  // target x after one update from x = 11 towards goal x = 1
  };
  const Case cases[] = {
      {FOLLOW_OFF, true, 11},   {FOLLOW_ONCE, true, 1},    {FOLLOW_ONCE, false, 11},
      {FOLLOW_ALWAYS, false, 1}, {FOLLOW_FAST, false, 10}, {FOLLOW_SLOW, false, 10.9},
  };
  for (const Case& c : cases) {
    Camera cam;
    cam.settings.ka_auto = c.mode;
    if (c.refresh) {
      cam.follow(o.get());
    } else {
      cam.setFollowed({o.get()});
      cam.update(w);  // consumes the refresh request in any mode
      cam.settings.ka_auto = c.mode;
    }
    cam.target = {11, 0, 0};
    cam.update(w);
    EXPECT_NEAR(cam.target.x, c.expectX, 1e-12) << "mode " << c.mode << " refresh " << c.refresh;
    EXPECT_FALSE(cam.refreshRequested());
  }
}

TEST(CameraTest, ForgettingACreatureRequestsARefreshAndFallsBackToTheWorld) {
  world w;
  resize(w, 30);
  auto o = creatureAt({{1, 1, 1}});
  Camera cam;
  cam.settings.ka_auto = FOLLOW_ONCE;
  cam.follow(o.get());
  cam.update(w);
  EXPECT_TRUE(cam.forget(o.get()));
  EXPECT_FALSE(cam.forget(o.get()));
  cam.update(w);
  EXPECT_EQ(cam.target, Vec3(15, 15, 0));
}

TEST(CameraTest, OffsetAtZeroAnglesLooksAlongPlusY) {
  Camera cam;
  cam.scale = 0.5;
  cam.settings.ka_a = 0;
  cam.settings.ka_h = 0;
  EXPECT_NEAR((cam.offset() - Vec3(0, -2, 0)).length(), 0, 1e-12);
  cam.settings.ka_h = 90;
  EXPECT_NEAR(cam.offset().z, 2 * std::sin(90 / 57.4), 1e-12);
}

TEST(CameraTest, ResetRestoresAnglesZoomAndWholeWorld) {
  world w;
  resize(w, 40);
  auto o = creatureAt({{1, 1, 1}});
  Camera cam;
  cam.follow(o.get());
  cam.settings = {FOLLOW_ALWAYS, 1.7, 123, -45};
  cam.reset(w);
  EXPECT_DOUBLE_EQ(cam.settings.ka_h, 20);
  EXPECT_DOUBLE_EQ(cam.settings.ka_a, 0);
  EXPECT_DOUBLE_EQ(cam.settings.ka_zoom, 1);
  EXPECT_EQ(cam.target, Vec3(20, 20, 0));
  EXPECT_EQ(cam.followed().size(), 1u);
}

TEST(CameraTest, ScaleStaysFiniteWhateverTheDragOrZoom) {
  Camera cam;
  cam.zoomBy(dragZoomFactor(1e6));
  EXPECT_DOUBLE_EQ(cam.scale, kScaleMax);
  cam.zoomBy(dragZoomFactor(-1e6));
  EXPECT_DOUBLE_EQ(cam.scale, kScaleMin);
  CameraMotion m{0, 0, 0.5f};
  for (int i = 0; i < 100; ++i) m.step(cam, false);
  EXPECT_DOUBLE_EQ(cam.scale, kScaleMin);
  EXPECT_FLOAT_EQ(m.zoomFactor, 1.0f);
  EXPECT_TRUE(std::isfinite(cam.offset().length()));
  cam.pan(10, 10, 0, 0);  // a collapsed view moves nothing
  EXPECT_EQ(cam.target, Vec3());
}

TEST(CameraTest, PanMovesTargetByPixelsOverViewSize) {
  Camera cam;
  cam.scale = 0.1;
  cam.pan(20, -40, 200, 400);
  EXPECT_NEAR((cam.target - Vec3(-1, -1, 0)).length(), 0, 1e-12);
}

TEST(CameraMotionTest, HeightStopsAtNinetyAndAngleWraps) {
  Camera cam;
  CameraMotion m;
  for (int i = 0; i < 7; ++i) applyViewKey(m, ViewKey::Up);
  applyViewKey(m, ViewKey::Right);
  for (int i = 0; i < 1000; ++i) m.step(cam, true);
  EXPECT_DOUBLE_EQ(cam.settings.ka_h, 90);
  EXPECT_EQ(m.heightSpeed, 0);
  EXPECT_GE(cam.settings.ka_a, 0);
  EXPECT_LE(cam.settings.ka_a, 360);
  cam.settings.ka_a = 359.95;
  m = {0.1f, 0, 1};
  m.step(cam, true);
  EXPECT_NEAR(cam.settings.ka_a, 0.05, 1e-5);
}

TEST(CameraMotionTest, ZoomParameterSnapsToItsBoundsAndStops) {
  Camera cam;
  CameraMotion m;
  applyViewKey(m, ViewKey::ZoomIn);
  for (int i = 0; i < 2000; ++i) m.step(cam, true);
  EXPECT_DOUBLE_EQ(cam.settings.ka_zoom, 2);
  EXPECT_EQ(m.zoomFactor, 1);
  m.zoomFactor = 0.5f;
  for (int i = 0; i < 10; ++i) m.step(cam, true);
  EXPECT_DOUBLE_EQ(cam.settings.ka_zoom, 0.2);
}

// Regression: the camera keys acted once per simulation step, so at thousands
// of steps a second one press of + zoomed into the ground within a second.
TEST(CameraMotionTest, MotionFollowsRealTimeHoweverOftenTheClockIsRead) {
  const auto turned = [](double ms, int reads) {
    Camera cam;
    CameraMotion m;
    m.angleSpeed = 0.5f;
    m.zoomFactor = 1.01f;
    MotionClock clock;
    double now = 1000;
    clock.ticksAt(now);  // the first reading only starts the clock
    for (int i = 0; i < reads; ++i) m.advance(cam, true, clock.ticksAt(now += ms / reads));
    return std::pair{cam.settings.ka_a - 30.0, cam.settings.ka_zoom};
  };
  // Four timer ticks while stopped are four ticks of motion, also in 100 pieces (a running loop).
  for (int reads : {1, 10, 100}) {
    const auto [angle, zoom] = turned(4 * MotionClock::kTickMs, reads);
    EXPECT_NEAR(angle, 2.0, 1e-4) << reads;
    EXPECT_NEAR(zoom, std::pow(1.01, 4), 1e-5) << reads;
  }
  // Reads closer than the smallest piece keep their time for later; a stall counts as its cap.
  EXPECT_NEAR(turned(MotionClock::kTickMs, 1000).first, 0.5, 0.5 * MotionClock::kMinPieceMs / MotionClock::kTickMs);
  EXPECT_NEAR(turned(60000, 1).first, 0.5 * MotionClock::kMaxGapMs / MotionClock::kTickMs, 1e-9);
}

TEST(ViewInputTest, KeysChangeTheMotionAsTheTableSays) {
  CameraMotion m;
  applyViewKey(m, ViewKey::Left);
  applyViewKey(m, ViewKey::Left);
  applyViewKey(m, ViewKey::Down);
  applyViewKey(m, ViewKey::ZoomIn);
  EXPECT_FLOAT_EQ(m.angleSpeed, 0.2f);
  EXPECT_FLOAT_EQ(m.heightSpeed, -0.1f);
  applyViewKey(m, ViewKey::SlowAngle);
  EXPECT_FLOAT_EQ(m.angleSpeed, 0.2f / 1.1f);
  applyViewKey(m, ViewKey::Slow);
  EXPECT_FLOAT_EQ(m.heightSpeed, -0.1f / 1.1f);
  // Slowing a zoom in keeps it a (slower) zoom in.
  EXPECT_GT(m.zoomFactor, 1.0f);
  EXPECT_LT(m.zoomFactor, 1.001f);
  EXPECT_EQ(applyViewKey(m, ViewKey::Stop), ViewCommand::None);
  EXPECT_FALSE(m.moving());
  m.angleSpeed = 3;
  EXPECT_EQ(applyViewKey(m, ViewKey::Reset), ViewCommand::ResetCamera);
  EXPECT_FALSE(m.moving());
  EXPECT_EQ(applyViewKey(m, ViewKey::TogglePov), ViewCommand::TogglePov);
}

TEST(ClipPlanesTest, PlanesFollowTheDistance) {
  const ClipPlanes close = clipPlanesFor(0.3, 20);
  EXPECT_LT(close.nearPlane, 0.3);
  const ClipPlanes far = clipPlanesFor(2000, 200);
  EXPECT_GT(far.farPlane, 2000 + 200 * std::sqrt(2.0));
  EXPECT_DOUBLE_EQ(clipPlanesFor(1, 50).farPlane, 200);
}

TEST(CameraTest, TableRowsBindTheSettings) {
  Camera cam;
  cam.parameters().set(KA_H, "120");
  EXPECT_DOUBLE_EQ(cam.settings.ka_h, 90);
  cam.settings.ka_a = 45;
  EXPECT_EQ(cam.parameters().getText(KA_A), "45");
}

}  // namespace
}  // namespace vorlund
