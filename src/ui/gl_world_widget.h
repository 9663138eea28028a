// The OpenGL surface of a world view: a thin QOpenGLWidget (compatibility
// profile, so the fixed-function pipeline works on Mesa) that only forwards
// to the plain renderer. Input goes to the window around it.
#pragma once

#include <QOpenGLWidget>
#include <functional>

namespace vorlund {
class GlRenderer;
class Grab;
class Life;
}  // namespace vorlund

namespace vorlund::ui {

class GlWorldWidget : public QOpenGLWidget {
  Q_OBJECT

 public:
  // The renderer, world and grab are observed and must outlive the widget.
  GlWorldWidget(GlRenderer& renderer, const Life& life, const Grab* grab, QWidget* parent);
  ~GlWorldWidget() override;

  // The surface format every world view asks for.
  static QSurfaceFormat surfaceFormat();

  // Whether the renderer opened on this widget's context (false before the
  // first initialisation and after a failure).
  bool rendererOpen() const;

 signals:
  // The renderer could not be opened on the context.
  void openFailed();
  // Texture files that could not be read during the last frame.
  void texturesFailed(const QStringList& files);

 protected:
  void initializeGL() override;
  void resizeGL(int w, int h) override;
  void paintGL() override;

 private:
  void closeRenderer();

  GlRenderer& renderer_;
  const Life& life_;
  const Grab* grab_;
};

}  // namespace vorlund::ui
