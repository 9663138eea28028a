// The world view's software mode: a widget that draws the world with the
// software painter through a camera's target and scale, following the
// "World Display" settings, and marks and charts the creature selected in
// the individuals list. The world view window places it and owns the camera.
#pragma once

#include <QPointer>

#include "ui/area_widget.h"
#include "ui/ui_context.h"
#include "view/display_settings.h"
#include "view/soft_world_painter.h"

namespace vorlund {
class Camera;
}

namespace vorlund::ui {

class UiContext;

class SoftWorldView : public AreaWidget {
  Q_OBJECT

 public:
  // `camera` (observed, may be null: the whole world is shown) gives the
  // target and scale. The main view's settings join the settings chain.
  SoftWorldView(UiContext& ctx, QWidget* parent, Camera* camera, bool mainView);
  ~SoftWorldView() override;

  void setCamera(Camera* camera) { camera_ = camera; }
  WorldDisplayFields& settings() { return settings_; }
  param& parameters() { return params_; }
  SoftWorldPainter& painter() { return painter_; }

 protected:
  void render(Area2D& area) override;

 private:
  UiContext& ctx_;
  QPointer<UiContext> ctxGuard_;
  Camera* camera_;
  bool mainView_;
  WorldDisplayFields settings_;
  WorldDisplayParams params_{&settings_};
  SoftWorldPainter painter_{settings_};
};

}  // namespace vorlund::ui
