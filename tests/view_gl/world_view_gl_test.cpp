// The world view in OpenGL mode on a real window.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTemporaryDir>
#include <QTest>

#include "support/message_capture.h"
#include "ui/main_window_rig.h"
#include "ui/ui_context.h"
#include "ui/ui_test_support.h"
#include "ui/world_view_window.h"

using namespace vorlund;
using namespace vorlund::ui;

namespace {

using vorlund::test::shown;

TEST(WorldViewGl, OpensDrawsAndSavesTheFrameAsSnapshot) {
  test_support::MessageCapture messages;
  ScriptedPrompts scripted;
  ScopedPromptService guard(&scripted);
  UiContext ctx;
  WorldViewWindow view(ctx, nullptr);
  view.renderer().settings.sgl_texture = 1;
  view.renderer().settings.sgl_tex[TEX_WATER] = "no/such/water.bmp";
  view.resize(320, 240);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  bool toggled = false;
  QObject::connect(&view, &WorldViewWindow::openGLModeChanged, [&](bool on) { toggled = on; });
  view.setOpenGLMode(true);
  EXPECT_TRUE(toggled);
  view.redraw();
  // The texture box opens after the paint, which a loaded machine may take a while to reach.
  const bool boxShown =
      QTest::qWaitFor([&] { return shown(scripted, "no/such/water.bmp", "Cannot load texture file!"); }, 10000);
  ASSERT_TRUE(view.openGLMode()) << "the renderer did not open";
  EXPECT_TRUE(view.renderer().isOpen());
  EXPECT_TRUE(boxShown);
  // Regression: a window composing a GL surface painted one asked-for frame per screen refresh.
  const long before = view.framesDrawn();
  for (int i = 0; i < 5; ++i) view.redraw();
  EXPECT_EQ(view.framesDrawn(), before + 5);
  const QImage img = view.picture();
  ASSERT_FALSE(img.isNull());
  // The sky of the default camera fills the top row.
  const QColor sky = img.pixelColor(img.width() / 2, 1);
  EXPECT_NEAR(sky.red(), 179, 2);
  EXPECT_NEAR(sky.green(), 179, 2);
  EXPECT_NEAR(sky.blue(), 153, 2);
  QTemporaryDir dir;
  scripted.fileNames.push_back(dir.filePath("gl-shot"));
  view.runCommand(WorldViewCommand::Snapshot);
  const QImage saved(dir.filePath("gl-shot.bmp"), "BMP");
  ASSERT_EQ(saved.size(), img.size());
  EXPECT_NEAR(saved.pixelColor(img.width() / 2, 1).blue(), 153, 2);
  view.setOpenGLMode(false);
  EXPECT_FALSE(view.renderer().isOpen());
}

TEST(WorldViewGl, DefaultLayoutOpensTheWorldViewInOpenGLUnlessTheSettingsChoseSoftware) {
  WindowRig rig;
  {
    MainWindow& w = rig.make();
    EXPECT_TRUE(w.worldView()->openGLMode());
    EXPECT_TRUE(w.toggle(MainToggle::OpenGL)->isChecked());
    w.layoutEvolution();
    EXPECT_FALSE(w.worldView()->openGLMode());
    w.context().interface().int_opengl = 0;
    w.layoutDefault();
    EXPECT_FALSE(w.worldView()->openGLMode());
    w.closeWithoutAsking();  // writes "Default.par"
  }
  MainWindow& w = rig.make();
  EXPECT_EQ(w.context().interface().int_opengl, 0);
  EXPECT_FALSE(w.worldView()->openGLMode());
}

}  // namespace
