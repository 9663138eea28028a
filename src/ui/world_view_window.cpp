#include "ui/world_view_window.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QCoreApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <cmath>
#include <cstdlib>

#include "ui/gl_world_widget.h"
#include "ui/lists_window.h"
#include "ui/main_window.h"
#include "ui/prompt_service.h"
#include "ui/qt_area.h"
#include "ui/qt_text.h"
#include "ui/status_texts.h"
#include "ui/snapshot_file.h"
#include "ui/ui_context.h"
#include "ui/ui_random.h"
#include "view/area2d.h"
#include "view/pick.h"
#include "view/view_input.h"
#include "world/org.h"

namespace vorlund::ui {

const WorldViewMenuRow kWorldViewMenu[] = {
    {"Stop Camera\t SPACE", WorldViewCommand::StopCamera, false},
    {"Reset Camera\t R", WorldViewCommand::ResetCamera, false},
    {"Save bitmap snapshot\t Ctrl-B", WorldViewCommand::Snapshot, false},
    {"Copy to Clipboard as metafile\t Ctrl-C", WorldViewCommand::CopyPicture, false},
    {nullptr, WorldViewCommand::None, false},
    {"3D OpenGL view", WorldViewCommand::ToggleOpenGL, true},
    {nullptr, WorldViewCommand::None, false},
    {"Pan\t Shift + Left button drag", WorldViewCommand::None, false},
    {"Zoom\t Left button horizontal drag", WorldViewCommand::None, false},
    {"Grab\t Control + Left button drag", WorldViewCommand::None, false},
    {"Feed\t Double left click", WorldViewCommand::None, false},
    {nullptr, WorldViewCommand::None, false},
    {"Resize window 1:1 (square)", WorldViewCommand::ResizeSquare, false},
    {"Resize window 4:3", WorldViewCommand::Resize4x3, false},
    {nullptr, WorldViewCommand::None, false},
    {"Other keys\t Arrows, S A H + -, Shift-E (POV)", WorldViewCommand::None, false},
};
const int kWorldViewMenuRows = static_cast<int>(std::size(kWorldViewMenu));

const char* const kPictureCredit = "Vorlund artificial life simulator";

namespace {

// Fed energy balls fall from this height.
constexpr double kFeedHeight = 3.0;
// A stick end farther than this from the click (pixels) is never grabbed.
constexpr int kGrabPickRange = 9999;
// The demo's camera motions.
constexpr int kDemoReverseChance = 7;  // of 10
constexpr float kDemoAngleUnit = 0.2f;
constexpr float kDemoHeightUnit = 0.02f;
constexpr float kDemoZoomUnit = 0.001f;
constexpr int kCreditMargin = 4;
// Where the overlay text sits (pixels from the top-left corner).
constexpr int kOverlayMargin = 10;

}  // namespace

WorldViewWindow::WorldViewWindow(UiContext& ctx, QWidget* parent, org* spied)
    : ToolWindow(ctx, spied ? "'" + toQt(spied->name) + "' spied" : QStringLiteral("Artificial world"), parent),
      spied_(spied != nullptr) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(false);
  setAttribute(Qt::WA_OpaquePaintEvent);
  symulator& sim = ctx.sim();
  if (spied_) {
    camera_.settings.ka_auto = FOLLOW_FAST;
    camera_.follow(spied);
  } else {
    grab_ = std::make_unique<Grab>(sim);
    ctx.settingsChain().join(ChainSlot::WorldDisplay, &displayParams_);
    ctx.settingsChain().join(ChainSlot::Camera, &camera_.parameters());
    ctx.settingsChain().join(ChainSlot::OpenGL, &renderer_.parameters());
    connect(&ctx, &UiContext::creatureSelectionChanged, this, &WorldViewWindow::onSelectionChanged);
  }
  camera_.reset(sim.world);
  framedSize_ = sim.world.activeSize();
  if (spied_) camera_.update(sim.world);
  connect(&ctx, &UiContext::orgLeaving, this, &WorldViewWindow::onOrgLeaving);
  motionTimer_.start();
  overlay_ = new QLabel(this);
  overlay_->setStyleSheet("QLabel { color: white; background: rgba(0, 0, 0, 110); padding: 2px 4px; }");
  overlay_->hide();
  resize(480, 360);
}

WorldViewWindow::~WorldViewWindow() {
  if (grab_) grab_->stop();
  if (!spied_) {
    SettingsChain& chain = context().settingsChain();
    if (chain.at(ChainSlot::WorldDisplay) == &displayParams_) chain.leave(ChainSlot::WorldDisplay);
    if (chain.at(ChainSlot::Camera) == &camera_.parameters()) chain.leave(ChainSlot::Camera);
    if (chain.at(ChainSlot::OpenGL) == &renderer_.parameters()) chain.leave(ChainSlot::OpenGL);
  }
  delete gl_;  // closes the renderer on its own context
  gl_ = nullptr;
}

void WorldViewWindow::onSelectionChanged() {
  symulator& sim = context().sim();
  painter_.select(context().selectedCreature(), &sim);
}

void WorldViewWindow::onOrgLeaving(org* o) {
  if (grab_ && grab_->creature() == o) grab_->stop();
  if (camera_.forget(o) && spied_ && camera_.followed().empty() && camera_.settings.ka_auto != FOLLOW_OFF) {
    setWindowTitle("[Lost target] " + windowTitle());
    camera_.settings.ka_auto = FOLLOW_OFF;
  }
}

void WorldViewWindow::redraw() {
  if (!isVisible()) return;
  showFirstStartHint();
  overlay_->hide();
  if (openGL_ && gl_ != nullptr) {
    gl_->update();
  } else {
    update();
  }
  // Not repaint(): in a window that has composed an OpenGL surface it paints
  // at most once per screen refresh and only marks the other frames, so a
  // run asking for every step drew one in dozens. The window's update
  // request paints, composes and presents now.
  QEvent request(QEvent::UpdateRequest);
  QCoreApplication::sendEvent(window(), &request);
}

void WorldViewWindow::updateCamera() {
  const world& w = context().sim().world;
  // A loaded world of another size would be out of view.
  if (w.activeSize() != framedSize_) {
    framedSize_ = w.activeSize();
    camera_.frameWorld(w);
  }
  if (spied_) {
    camera_.update(w);
    return;
  }
  // By real time, however many steps ran since the last call. The motion's
  // zoom acts on the table's zoom while the camera follows.
  motion_.advance(camera_, followActive_, motionClock_.ticksAt(motionNowMs()));
  followActive_ = false;
}

double WorldViewWindow::motionNowMs() const {
  if (motionTime_) return motionTime_();
  return static_cast<double>(motionTimer_.nsecsElapsed()) / 1e6;
}

bool WorldViewWindow::followSelection(bool keepInView) {
  if (spied_) return false;
  followActive_ = true;
  const std::vector<org*>& selected = context().selectedCreatures();
  std::vector<const org*> wanted(selected.begin(), selected.end());
  if (wanted != camera_.followed()) camera_.setFollowed(std::move(wanted));
  bool switched = false;
  if (camera_.settings.ka_auto == FOLLOW_OFF) {
    camera_.settings.ka_auto = FOLLOW_ONCE;
    switched = true;
  }
  int mode = camera_.settings.ka_auto;
  // Kept in view: a new creature is taken at once (no glide over bare
  // ground), then tracked as it walks.
  if (keepInView && mode == FOLLOW_ONCE && !camera_.refreshRequested()) mode = FOLLOW_FAST;
  camera_.update(context().sim().world, mode);
  return switched;
}

void WorldViewWindow::setOpenGLMode(bool on) {
  if (on == openGL_) return;
  if (on) {
    gl_ = new GlWorldWidget(renderer_, context().sim(), grab_.get(), this);
    connect(gl_, &GlWorldWidget::openFailed, this, [this] {
      // After the paint that found the failure.
      QMetaObject::invokeMethod(this, [this] {
        if (!openGL_) return;
        prompts().message(this, PromptKind::Critical, QString(), "OpenGL open error");
        setOpenGLMode(false);
      }, Qt::QueuedConnection);
    });
    connect(gl_, &GlWorldWidget::texturesFailed, this, &WorldViewWindow::showTextureBoxes);
    gl_->setHoldFrame([this] { return context().stepping(); });
    layout()->addWidget(gl_);
    openGL_ = true;
    gl_->show();
  } else {
    if (grab_) grab_->stop();
    GlWorldWidget* old = gl_;
    gl_ = nullptr;
    openGL_ = false;
    delete old;
    update();
  }
  emit openGLModeChanged(openGL_);
}

void WorldViewWindow::showTextureBoxes(const QStringList& files) {
  for (const QString& f : files) prompts().message(this, PromptKind::Critical, f, "Cannot load texture file!");
}

void WorldViewWindow::showOverlayText(const QString& text) {
  // A label over the view rather than text in the picture: it shows over the
  // OpenGL surface too, and appears without drawing the world again.
  overlay_->setText(text);
  overlay_->adjustSize();
  overlay_->move(kOverlayMargin, kOverlayMargin);
  overlay_->show();
  overlay_->raise();
}

QString WorldViewWindow::overlayText() const { return overlay_->isVisible() ? overlay_->text() : QString(); }

void WorldViewWindow::newDemoMotion(UiRandom& random) {
  if (random.next() % 10 >= kDemoReverseChance) {
    motion_.angleSpeed = -motion_.angleSpeed / 2;
    motion_.heightSpeed = -motion_.heightSpeed / 2;
    if (motion_.zoomFactor != 0) motion_.zoomFactor = 1.0f / motion_.zoomFactor;
    return;
  }
  motion_.angleSpeed = static_cast<float>(random.next() % 16 - 8) * kDemoAngleUnit;
  motion_.heightSpeed = static_cast<float>(random.next() % 16 - 8) * kDemoHeightUnit;
  camera_.settings.ka_h = random.next() % 40 + 10;
  camera_.settings.ka_zoom = 1.0;
  motion_.zoomFactor = 1.0f + static_cast<float>(random.next() % 5 - 3) * kDemoZoomUnit;
}

void WorldViewWindow::keepCameraAboveGround() {
  const double water = context().sim().world.waterLevel();
  if (camera_.settings.ka_h < std::max(0.0, water)) motion_.heightSpeed = std::fabs(motion_.heightSpeed);
}

void WorldViewWindow::renderSoftware(QPainter& painter, int width, int height) {
  QtArea area(painter, width, height);
  painter_.paint(area, context().sim(), camera_.target, camera_.scale, context().sim().stepCount);
}

QImage WorldViewWindow::picture() {
  if (openGL_ && gl_ != nullptr) return gl_->grabFramebuffer();
  QImage img(std::max(width(), 1), std::max(height(), 1), QImage::Format_RGB32);
  QPainter p(&img);
  renderSoftware(p, img.width(), img.height());
  return img;
}

void WorldViewWindow::paintEvent(QPaintEvent*) {
  if (openGL_) return;
  // Inside a step the world is half-way: show the last picture again.
  if (!context().stepping() || soft_.size() != size()) {
    soft_ = QImage(std::max(width(), 1), std::max(height(), 1), QImage::Format_RGB32);
    QPainter image(&soft_);
    if (context().stepping()) {
      image.fillRect(soft_.rect(), Qt::black);
    } else {
      renderSoftware(image, soft_.width(), soft_.height());
      ++softFrames_;
    }
  }
  QPainter p(this);
  p.drawImage(0, 0, soft_);
}

QString WorldViewWindow::firstStartHint() {
  if (spied_) return {};
  symulator& s = context().sim();
  return toQt(ui::firstStartHint(s.pool.size(), s.creatures.size(), s.stepCount, context().running()));
}

void WorldViewWindow::showFirstStartHint() {
  const QString hint = firstStartHint();
  if (hint.isEmpty()) {
    if (hint_ != nullptr) hint_->hide();
    return;
  }
  // A label over the picture serves the software and the OpenGL view alike.
  if (hint_ == nullptr) {
    hint_ = new QLabel(this);
    hint_->setAlignment(Qt::AlignCenter);
    hint_->setAttribute(Qt::WA_TransparentForMouseEvents);
    hint_->setStyleSheet("QLabel { color: white; background: rgba(0, 0, 0, 110); padding: 8px; font-size: 13pt; }");
  }
  hint_->setText(hint);
  hint_->adjustSize();
  hint_->move((width() - hint_->width()) / 2, (height() - hint_->height()) / 2);
  hint_->show();
  hint_->raise();
}

void WorldViewWindow::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers();
  const int key = event->key();
  if ((mods & Qt::ControlModifier) && key == Qt::Key_B) return runCommand(WorldViewCommand::Snapshot);
  if ((mods & Qt::ControlModifier) && (key == Qt::Key_C || key == Qt::Key_Insert))
    return runCommand(WorldViewCommand::CopyPicture);
  if (spied_) return ToolWindow::keyPressEvent(event);
  ViewKey vk;
  switch (key) {
    case Qt::Key_Left: vk = ViewKey::Left; break;
    case Qt::Key_Right: vk = ViewKey::Right; break;
    case Qt::Key_Up: vk = ViewKey::Up; break;
    case Qt::Key_Down: vk = ViewKey::Down; break;
    case Qt::Key_Plus: vk = ViewKey::ZoomIn; break;
    case Qt::Key_Minus: vk = ViewKey::ZoomOut; break;
    case Qt::Key_S: vk = ViewKey::Slow; break;
    case Qt::Key_A: vk = ViewKey::SlowAngle; break;
    case Qt::Key_H: vk = ViewKey::SlowHeight; break;
    case Qt::Key_Space: vk = ViewKey::Stop; break;
    case Qt::Key_R: vk = ViewKey::Reset; break;
    case Qt::Key_E:
      if (!(mods & Qt::ShiftModifier)) return ToolWindow::keyPressEvent(event);
      vk = ViewKey::TogglePov;
      break;
    default: return ToolWindow::keyPressEvent(event);
  }
  switch (applyViewKey(motion_, vk)) {
    case ViewCommand::ResetCamera: camera_.reset(context().sim().world); break;
    case ViewCommand::TogglePov: togglePov(); break;
    case ViewCommand::None: break;
  }
  redraw();
}

void WorldViewWindow::togglePov() {
  param& chain = context().settingsChain().head();
  const int i = chain.findId("pov_act");
  if (i < 0) return;
  const bool on = chain.getInt(i) == 0;
  const int format = chain.findId("pov_file");
  if (on && format >= 0 && chain.getText(format).empty()) {
    // Without a file format every scene would be written to one nameless file.
    prompts().message(this, PromptKind::Warning, "POV-Ray",
                      "Scene export needs a file format: set \"File format\" (Interface > Options..., "
                      "POV-Ray: Files), then press Shift+E again.");
    return;
  }
  chain.set(i, on ? "1" : "0");
  const bool nowOn = chain.getInt(i) != 0;
  context().note(nowOn ? "POV-Ray scene export on" : "POV-Ray scene export off");
}

void WorldViewWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return ToolWindow::mousePressEvent(event);
  setFocus();
  leftDown_ = true;
  lastMouse_ = event->position().toPoint();
  if (!spied_ && (event->modifiers() & Qt::ControlModifier)) grabAt(lastMouse_);
}

void WorldViewWindow::mouseMoveEvent(QMouseEvent* event) {
  if (!leftDown_ || !(event->buttons() & Qt::LeftButton)) return;
  const QPoint now = event->position().toPoint();
  const double dx = now.x() - lastMouse_.x(), dy = now.y() - lastMouse_.y();
  lastMouse_ = now;
  const int w = std::max(width(), 1), h = std::max(height(), 1);
  Vec3 under;
  if ((event->modifiers() & Qt::ControlModifier) && grab_ && grab_->active() && openGL_ &&
      renderer_.lastView().groundPoint(now.x(), now.y(), grab_->pointer().z, under)) {
    // In the 3D view the pointer stays under the mouse, whatever the camera's angles.
    grab_->movePointer(under.x - grab_->pointer().x, under.y - grab_->pointer().y);
  } else if ((event->modifiers() & Qt::ControlModifier) && grab_ && grab_->active()) {
    grab_->movePointer(dx / (w * camera_.scale), -dy / (h * camera_.scale));
  } else if (event->modifiers() & Qt::ShiftModifier) {
    camera_.pan(dx, dy, w, h);
  } else {
    camera_.zoomBy(dragZoomFactor(dx));
  }
  redraw();
}

void WorldViewWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return ToolWindow::mouseReleaseEvent(event);
  leftDown_ = false;
  // Any release of the button ends the hold, with or without Control.
  if (grab_) grab_->releaseButton();
  redraw();
}

void WorldViewWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  feedAt(event->position().toPoint());
}

void WorldViewWindow::focusOutEvent(QFocusEvent* event) {
  if (grab_ && grab_->active() && leftDown_) grab_->releaseButton();
  leftDown_ = false;
  ToolWindow::focusOutEvent(event);
}

void WorldViewWindow::hideEvent(QHideEvent* event) {
  if (grab_) grab_->stop();
  ToolWindow::hideEvent(event);
}

bool WorldViewWindow::grabAt(const QPoint& pixel) {
  if (!grab_) return false;
  symulator& sim = context().sim();
  PixelProjection project;
  if (openGL_) {
    // The 3D picture's own perspective, as its last frame was drawn.
    const PerspectiveView& view = renderer_.lastView();
    project = [&view](const Vec3& p, double& x, double& y) { return view.project(p, x, y); };
  } else {
    project = [this](const Vec3& p, double& x, double& y) {
      int ix = 0, iy = 0;
      painter_.projection().project(p, ix, iy);
      x = ix;
      y = iy;
      return true;
    };
  }
  const StickEndPick pick = nearestStickEnd(sim, project, pixel.x(), pixel.y(), kGrabPickRange);
  if (pick.creature == nullptr) return false;
  grab_->start(*pick.creature, pick.end);
  return true;
}

bool WorldViewWindow::feedAt(const QPoint& pixel) {
  symulator& sim = context().sim();
  Vec3 p;
  if (openGL_) {
    const PerspectiveView& view = renderer_.lastView();
    if (!view.groundPoint(pixel.x(), pixel.y(), 0.0, p)) return false;
    // Once more on the ground actually there (blocks).
    Vec3 q;
    if (view.groundPoint(pixel.x(), pixel.y(), sim.world.height(p.x, p.y), q)) p = q;
  } else {
    p = painter_.projection().toGround(pixel.x(), pixel.y());
  }
  const double size = sim.world.activeSize();
  if (!(p.x >= 0 && p.x <= size && p.y >= 0 && p.y <= size)) return false;
  sim.addBall({p.x, p.y, kFeedHeight});
  redraw();
  return true;
}

QMenu* WorldViewWindow::buildPopupMenu(QWidget* parent) {
  auto* menu = new QMenu(parent);
  for (const WorldViewMenuRow& row : kWorldViewMenu) {
    if (row.text == nullptr) {
      menu->addSeparator();
      continue;
    }
    QAction* a = menu->addAction(QString::fromLatin1(row.text));
    if (row.checkable) {
      a->setCheckable(true);
      a->setChecked(openGL_);
    }
    if (row.command == WorldViewCommand::None) {
      a->setEnabled(false);
    } else {
      const WorldViewCommand c = row.command;
      connect(a, &QAction::triggered, this, [this, c] { runCommand(c); });
    }
  }
  return menu;
}

void WorldViewWindow::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = buildPopupMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(event->globalPos());
}

void WorldViewWindow::runCommand(WorldViewCommand command) {
  switch (command) {
    case WorldViewCommand::StopCamera: motion_.stop(); break;
    case WorldViewCommand::ResetCamera:
      motion_.stop();
      camera_.reset(context().sim().world);
      break;
    case WorldViewCommand::Snapshot: saveSnapshot(); break;
    case WorldViewCommand::CopyPicture: copyPicture(); break;
    case WorldViewCommand::ToggleOpenGL: setOpenGLMode(!openGL_); break;
    case WorldViewCommand::ResizeSquare: {
      const int side = std::min(width(), height());
      resizeClient(side, side);
      break;
    }
    case WorldViewCommand::Resize4x3: resizeClient(height() * 4 / 3, height()); break;
    case WorldViewCommand::None: return;
  }
  redraw();
}

void WorldViewWindow::resizeClient(int width, int height) { resize(width, height); }

void WorldViewWindow::saveSnapshot() {
  const QImage shot = picture();  // before the dialog covers the view
  const QString typed = prompts().saveFileName(this, "Save snapshot as:", QString(), kSnapshotFilter);
  if (typed.isEmpty()) return;
  const QString file = snapshotPath(typed);
  if (!writeSnapshot(shot, file))
    prompts().message(this, PromptKind::Warning, "Warning", "Cannot save the snapshot to " + file);
}

void WorldViewWindow::copyPicture() {
  const int w = std::max(width(), 1), h = std::max(height(), 1);
  QByteArray svg;
  QBuffer buffer(&svg);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(QSize(w, h));
  generator.setViewBox(QRect(0, 0, w, h));
  generator.setTitle(windowTitle());
  generator.setDescription(QString::fromLatin1(kPictureCredit));
  {
    QPainter p(&generator);
    renderSoftware(p, w, h);
    p.setPen(Qt::black);
    p.drawText(kCreditMargin, h - kCreditMargin - p.fontMetrics().descent(), QString::fromLatin1(kPictureCredit));
  }
  auto* data = new QMimeData;
  data->setData("image/svg+xml", svg);
  // Programs that take no vector pictures get the image.
  QImage img = picture();
  {
    QPainter p(&img);
    p.setPen(Qt::black);
    p.drawText(kCreditMargin, img.height() - kCreditMargin - p.fontMetrics().descent(),
               QString::fromLatin1(kPictureCredit));
  }
  data->setImageData(img);
  QApplication::clipboard()->setMimeData(data);
}

}  // namespace vorlund::ui
