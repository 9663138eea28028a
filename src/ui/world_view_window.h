// The world view: the artificial world drawn by the OpenGL renderer or the
// software painter, through a camera that can follow creatures. The main
// window owns the main view ("Artificial world", on the main camera, with
// the program's one grab) and the spied views (each with a camera of its own
// fixed on one creature). The view answers the camera keys and the mouse
// (zoom, pan, grab, feed), and takes snapshots.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QString>
#include <functional>
#include <memory>

#include "ui/tool_window.h"
#include "view/camera.h"
#include "view/display_settings.h"
#include "view/gl_renderer.h"
#include "view/grab.h"
#include "view/motion_clock.h"
#include "view/soft_world_painter.h"

class QLabel;
class QMenu;
class QPainter;

namespace vorlund {
class org;
}

namespace vorlund::ui {

class GlWorldWidget;
class UiRandom;

// The popup menu's rows, in order; information rows have no action.
enum class WorldViewCommand { StopCamera, ResetCamera, Snapshot, CopyPicture, ToggleOpenGL, ResizeSquare, Resize4x3, None };
struct WorldViewMenuRow {
  const char* text;  // null: a separator
  WorldViewCommand command;
  bool checkable;
};
extern const WorldViewMenuRow kWorldViewMenu[];
extern const int kWorldViewMenuRows;

// The one-line notice written under a copied picture.
extern const char* const kPictureCredit;

class WorldViewWindow : public ToolWindow {
  Q_OBJECT

 public:
  // `spied` null: the main view on the main camera. Otherwise a spied view
  // whose own camera follows that creature in the "Fast" mode; its caption
  // is "'<name>' spied".
  WorldViewWindow(UiContext& ctx, QWidget* parent, org* spied = nullptr);
  ~WorldViewWindow() override;

  bool isSpied() const { return spied_; }

  // Draws the current state now (a real, synchronous paint). The main window
  // calls it for every frame it counts; never during a simulation step.
  void redraw();
  // The camera's update (follow modes; the motion by the real time passed).
  // Called after every step while running and every timer tick while stopped.
  void updateCamera();
  // The milliseconds clock the motion runs by (a steady clock when not set).
  void setMotionTime(std::function<double()> nowMs) { motionTime_ = std::move(nowMs); }
  // Moves the camera towards the selected creatures (the context's
  // selectedCreatures(); called while the lists' Follow box is checked).
  // Returns true when the follow mode was "off" and has been set to "Once",
  // so the caller tells the user. `keepInView` (the demo): a "Once" camera
  // glides after the creature as "Fast" does, so it never walks out of view.
  bool followSelection(bool keepInView = false);

  // The OpenGL button: OpenGL renderer or the software painter. A renderer
  // that cannot open shows "OpenGL open error" and leaves the mode off.
  bool openGLMode() const { return openGL_; }
  void setOpenGLMode(bool on);

  // Pictures painted so far, software and OpenGL (the display rate counts them).
  long framesDrawn() const { return softFrames_ + renderer_.frameNumber(); }

  // Text shown over the picture at (10, 10) until the next redraw (the
  // demo's "Background simulation..."), in both modes.
  void showOverlayText(const QString& text);
  QString overlayText() const;

  // The demo's camera: a new motion picked from the UI's random numbers, and
  // keeping the camera's height angle above ground and water.
  void newDemoMotion(UiRandom& random);
  void keepCameraAboveGround();

  // --- what the exporter, tests and the main window reach ---
  Camera& camera() { return camera_; }
  CameraMotion& motion() { return motion_; }
  GlRenderer& renderer() { return renderer_; }
  // The program's grab (the main view's); null in a spied view.
  Grab* grab() { return grab_.get(); }
  WorldDisplayFields& displaySettings() { return display_; }
  // The popup menu as built for a right click (the caller owns it).
  QMenu* buildPopupMenu(QWidget* parent);
  void runCommand(WorldViewCommand command);
  // The software picture at the current size; in OpenGL mode the GL frame.
  QImage picture();
  // Starts a grab on the stick end nearest to the pixel, if any is on screen.
  bool grabAt(const QPoint& pixel);
  // Drops an energy ball on the ground under the pixel; false outside the world.
  bool feedAt(const QPoint& pixel);

 signals:
  void openGLModeChanged(bool on);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  // The first start's hint while nothing exists yet; empty otherwise.
  QString firstStartHint();
  void showFirstStartHint();
  void onOrgLeaving(org* o);
  void onSelectionChanged();
  void renderSoftware(QPainter& painter, int width, int height);
  void saveSnapshot();
  void copyPicture();
  void resizeClient(int width, int height);
  void togglePov();
  void showTextureBoxes(const QStringList& files);
  double motionNowMs() const;

  bool spied_ = false;
  bool openGL_ = false;
  bool followActive_ = false;
  double framedSize_ = 0;  // the world size the camera last framed
  QLabel* overlay_ = nullptr;
  long softFrames_ = 0;
  Camera camera_;
  CameraMotion motion_;
  MotionClock motionClock_;
  QElapsedTimer motionTimer_;
  std::function<double()> motionTime_;
  GlRenderer renderer_{camera_};
  WorldDisplayFields display_;
  WorldDisplayParams displayParams_{&display_};
  SoftWorldPainter painter_{display_};
  std::unique_ptr<Grab> grab_;
  GlWorldWidget* gl_ = nullptr;
  QLabel* hint_ = nullptr;  // the first start's "what to do", made when needed
  QImage soft_;
  QPoint lastMouse_;
  bool leftDown_ = false;
};

}  // namespace vorlund::ui
