#include "ui/gl_world_widget.h"

#include <QOpenGLContext>
#include <QStringList>

#include "view/gl_renderer.h"

namespace vorlund::ui {

namespace {
constexpr int kDepthBits = 24;
}

GlWorldWidget::GlWorldWidget(GlRenderer& renderer, const Life& life, const Grab* grab, QWidget* parent)
    : QOpenGLWidget(parent), renderer_(renderer), life_(life), grab_(grab) {
  setFormat(surfaceFormat());
  // Input belongs to the window around the surface.
  setFocusPolicy(Qt::NoFocus);
}

GlWorldWidget::~GlWorldWidget() {
  closeRenderer();
  // The base destroys the context after this object is gone.
  if (context() != nullptr) disconnect(context(), nullptr, this, nullptr);
}

QSurfaceFormat GlWorldWidget::surfaceFormat() {
  QSurfaceFormat f;
  f.setRenderableType(QSurfaceFormat::OpenGL);
  f.setProfile(QSurfaceFormat::CompatibilityProfile);
  f.setVersion(2, 1);
  f.setDepthBufferSize(kDepthBits);
  f.setRedBufferSize(8);
  f.setGreenBufferSize(8);
  f.setBlueBufferSize(8);
  return f;
}

bool GlWorldWidget::rendererOpen() const { return renderer_.isOpen(); }

void GlWorldWidget::closeRenderer() {
  if (!renderer_.isOpen()) return;
  if (context() != nullptr) {
    makeCurrent();
    renderer_.close();
    doneCurrent();
  }
}

void GlWorldWidget::initializeGL() {
  // A context lost and made again (the widget moved to another window)
  // starts the renderer afresh.
  if (renderer_.isOpen()) renderer_.close();
  connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &GlWorldWidget::closeRenderer,
          Qt::UniqueConnection);
  if (!renderer_.open()) emit openFailed();
}

void GlWorldWidget::resizeGL(int w, int h) {
  const qreal ratio = devicePixelRatioF();
  renderer_.resize(static_cast<int>(w * ratio), static_cast<int>(h * ratio));
}

void GlWorldWidget::paintGL() {
  if (!renderer_.isOpen()) return;
  renderer_.drawFrame(life_, grab_);
  const std::vector<std::string> failed = renderer_.takeFailedTextures();
  if (!failed.empty()) {
    QStringList files;
    for (const std::string& f : failed) files << QString::fromStdString(f);
    // Queued: the boxes open after the paint, never inside it.
    QMetaObject::invokeMethod(this, [this, files] { emit texturesFailed(files); }, Qt::QueuedConnection);
  }
}

}  // namespace vorlund::ui
