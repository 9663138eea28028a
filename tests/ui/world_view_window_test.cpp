// The world view driven by keys, drags, clicks and its menu, in software mode.
#include "ui/world_view_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include "support/message_capture.h"
#include "ui/prompt_service.h"
#include "ui/ui_context.h"
#include "view/motion_clock.h"
#include "world/org.h"

using namespace vorlund;
using namespace vorlund::ui;

namespace {

struct WorldViewWindowTest : ::testing::Test {
  WorldViewWindowTest() {
    v.resize(400, 300);
    v.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&v));
  }
  void drag(Qt::KeyboardModifiers mods, QPoint from, QPoint to) {
    QMouseEvent press(QEvent::MouseButtonPress, from, v.mapToGlobal(from), Qt::LeftButton, Qt::LeftButton, mods);
    QApplication::sendEvent(&v, &press);
    QMouseEvent move(QEvent::MouseMove, to, v.mapToGlobal(to), Qt::NoButton, Qt::LeftButton, mods);
    QApplication::sendEvent(&v, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, to, v.mapToGlobal(to), Qt::LeftButton, Qt::NoButton, mods);
    QApplication::sendEvent(&v, &release);
  }
  test_support::MessageCapture messages;
  ScriptedPrompts scripted;
  ScopedPromptService prompts{&scripted};
  UiContext ctx;
  WorldViewWindow v{ctx, nullptr};
};

TEST_F(WorldViewWindowTest, KeysDriveTheCameraMotion) {
  double now = 0;
  v.setMotionTime([&now] { return now; });
  v.updateCamera();  // starts the motion's clock
  QTest::keyClick(&v, Qt::Key_Left);
  QTest::keyClick(&v, Qt::Key_Up);
  QTest::keyClick(&v, Qt::Key_Plus, Qt::KeypadModifier);
  EXPECT_FLOAT_EQ(v.motion().angleSpeed, 0.1f);
  EXPECT_FLOAT_EQ(v.motion().heightSpeed, 0.1f);
  EXPECT_FLOAT_EQ(v.motion().zoomFactor, 1.001f);
  const double angle = v.camera().settings.ka_a;
  now += MotionClock::kTickMs;  // one timer tick while stopped
  v.updateCamera();
  EXPECT_NEAR(v.camera().settings.ka_a, angle + 0.1, 1e-6);
  // Running calls it after every step: a tick's worth of steps turns it as far.
  for (int step = 0; step < 1000; ++step) {
    now += MotionClock::kTickMs / 1000;
    v.updateCamera();
  }
  EXPECT_NEAR(v.camera().settings.ka_a, angle + 0.2, 0.1 * MotionClock::kMinPieceMs / MotionClock::kTickMs);
  QTest::keyClick(&v, Qt::Key_Space);
  EXPECT_FALSE(v.motion().moving());
  v.camera().settings.ka_h = 70;
  QTest::keyClick(&v, Qt::Key_R);
  EXPECT_DOUBLE_EQ(v.camera().settings.ka_h, 20);
}

TEST_F(WorldViewWindowTest, DragsZoomAndPan) {
  const double scale = v.camera().scale;
  drag(Qt::NoModifier, {100, 100}, {140, 100});
  EXPECT_NEAR(v.camera().scale, scale * std::exp(0.005 * 40), 1e-9);
  const Vec3 target = v.camera().target;
  drag(Qt::ShiftModifier, {100, 100}, {100 + 40, 100 + 30});
  const double s = v.camera().scale;
  EXPECT_NEAR(v.camera().target.x, target.x - 40 / (400 * s), 1e-9);
  EXPECT_NEAR(v.camera().target.y, target.y + 30 / (300 * s), 1e-9);
}

TEST_F(WorldViewWindowTest, DoubleClickFeedsInsideTheWorldOnly) {
  symulator& sim = ctx.sim();
  const int before = sim.food.size();
  v.redraw();  // the software projection follows the last picture
  QTest::mouseDClick(&v, Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
  ASSERT_EQ(sim.food.size(), before + 1);
  EXPECT_DOUBLE_EQ(sim.food.get(before)->getSes(0)->p.z, 3.0);
  EXPECT_FALSE(v.feedAt(QPoint(2, 2)));  // the sky corner lies outside the square
  EXPECT_EQ(sim.food.size(), before + 1);
}

TEST_F(WorldViewWindowTest, CountsPaintedFramesAndShowsTheOverlayUntilTheNextFrame) {
  const long before = v.framesDrawn();
  v.redraw();
  v.redraw();
  EXPECT_EQ(v.framesDrawn(), before + 2);
  v.showOverlayText("Background simulation...");
  QApplication::processEvents();
  EXPECT_EQ(v.overlayText(), "Background simulation...");
  v.redraw();
  EXPECT_EQ(v.overlayText(), "");
  v.hide();
  const long hidden = v.framesDrawn();
  v.redraw();  // asked for, not painted: not counted
  EXPECT_EQ(v.framesDrawn(), hidden);
}

// Regression: the demo's camera followed "Once" and its creature walked out of the picture.
TEST_F(WorldViewWindowTest, KeptInViewTheCameraTracksAWalkingCreature) {
  symulator& sim = ctx.sim();
  org* c = sim.startCreature(std::make_unique<org>(&sim.geneticsContext(), "XX"));
  ASSERT_NE(c, nullptr);
  ctx.selectCreature(c);
  for (bool keep : {false, true}) {
    v.camera().settings.ka_auto = FOLLOW_ONCE;
    ctx.selectCreature(nullptr);
    v.followSelection(keep);
    ctx.selectCreature(c);
    v.followSelection(keep);  // a new creature: taken at once in both cases
    const Vec3 start = v.camera().target;
    for (const auto& s : c->l_ses) s->p += Vec3(5, 0, 0);
    for (int i = 0; i < 100; ++i) v.followSelection(keep);
    EXPECT_NEAR(v.camera().target.x - start.x, keep ? 5.0 : 0.0, 1e-3) << keep;
    EXPECT_EQ(v.camera().settings.ka_auto, FOLLOW_ONCE);  // the user's mode is kept
  }
}

TEST_F(WorldViewWindowTest, ResizeCommandsKeepTheHeight) {
  v.runCommand(WorldViewCommand::ResizeSquare);
  EXPECT_EQ(v.size(), QSize(300, 300));
  v.resize(333, 301);
  v.runCommand(WorldViewCommand::Resize4x3);
  EXPECT_EQ(v.size(), QSize(401, 301));
}

TEST_F(WorldViewWindowTest, SnapshotSavesTheSoftwarePictureAndCopyPutsAVectorPicture) {
  QTemporaryDir dir;
  const QString file = dir.filePath("shot.bmp");
  scripted.fileNames.push_back(file);
  QTest::keyClick(&v, Qt::Key_B, Qt::ControlModifier);
  EXPECT_EQ(QImage(file).size(), v.size());
  // A name typed without an extension is a bitmap; ".png" writes PNG.
  for (const char* typed : {"snap1", "snap2.png"}) scripted.fileNames.push_back(dir.filePath(typed));
  QTest::keyClick(&v, Qt::Key_B, Qt::ControlModifier);
  QTest::keyClick(&v, Qt::Key_B, Qt::ControlModifier);
  EXPECT_EQ(QImage(dir.filePath("snap1.bmp"), "BMP").size(), v.size());
  EXPECT_EQ(QImage(dir.filePath("snap2.png"), "PNG").size(), v.size());
  QTest::keyClick(&v, Qt::Key_C, Qt::ControlModifier);
  const QMimeData* data = QApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_TRUE(data->hasImage());
  EXPECT_TRUE(data->data("image/svg+xml").contains(kPictureCredit));
}

TEST_F(WorldViewWindowTest, GrabPicksTheNearestEndAndAnyReleaseEndsTheHold) {
  symulator& sim = ctx.sim();
  org* c = sim.startCreature(std::make_unique<org>(&sim.geneticsContext(), "XX"));
  ASSERT_NE(c, nullptr);
  v.camera().target = c->getSes(0)->p;
  v.redraw();
  EXPECT_TRUE(v.grabAt(QPoint(200, 150)));
  ASSERT_TRUE(v.grab()->active());
  drag(Qt::NoModifier, {200, 150}, {210, 150});  // released without Control
  EXPECT_GE(v.grab()->counter(), 1);
  v.hide();
  EXPECT_FALSE(v.grab()->active());
}

}  // namespace
