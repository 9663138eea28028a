// The world view: the artificial world drawn by the OpenGL renderer or the
// software painter, through a camera that can follow a creature. The main
// window owns the main view ("Artificial world") and the spied views (each
// with a camera of its own fixed on one creature).
#pragma once

#include <QString>

#include "ui/tool_window.h"

namespace vorlund {
class org;
}

namespace vorlund::ui {

class UiRandom;

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
  // The camera's per-step update (follow modes, motion). Called after every
  // step while running and every timer tick while stopped.
  void updateCamera();
  // Moves the camera towards the selected creatures (the context's
  // selectedCreatures(); called while the lists' Follow box is checked).
  // Returns true when the follow mode was "off" and has been set to "Once",
  // so the caller tells the user.
  bool followSelection();

  // The OpenGL button: OpenGL renderer or the software painter.
  bool openGLMode() const { return openGL_; }
  void setOpenGLMode(bool on);

  // Text drawn over the picture at (10, 10) until the next redraw (the
  // demo's "Background simulation...").
  void showOverlayText(const QString& text);

  // The demo's camera: a new motion picked from the UI's random numbers, and
  // keeping the camera's height angle above ground and water.
  void newDemoMotion(UiRandom& random);
  void keepCameraAboveGround();

 private:
  bool spied_ = false;
  bool openGL_ = false;
  QString overlay_;
};

}  // namespace vorlund::ui
