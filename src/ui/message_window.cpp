#include "ui/message_window.h"

#include <QHeaderView>
#include <algorithm>
#include <QPainter>
#include <QPixmap>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/message.h"
#include "ui/qt_text.h"

namespace vorlund::ui {

namespace {

constexpr int kLevelRole = Qt::UserRole + 1;
constexpr int kIconSize = 12;

// Plain grey, warning yellow, error orange, critical red.
const QColor& levelColour(int level) {
  static const std::array<QColor, 4> colours = {QColor(150, 160, 170), QColor(235, 190, 40), QColor(235, 120, 30),
                                                QColor(210, 30, 30)};
  return colours[static_cast<std::size_t>(std::clamp(level, 0, 3))];
}

}  // namespace

QIcon MessageWindow::levelIcon(int level) {
  QIcon icon;
  {
    QPixmap pm(kIconSize, kIconSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(levelColour(level).darker(150));
    p.setBrush(levelColour(level));
    if (level == 0)
      p.drawEllipse(QRectF(2.5, 2.5, kIconSize - 5, kIconSize - 5));
    else
      p.drawRoundedRect(QRectF(1.5, 1.5, kIconSize - 3, kIconSize - 3), 2, 2);
    p.end();
    icon = QIcon(pm);
  }
  return icon;
}

MessageWindow::MessageWindow(UiContext& ctx, QWidget* parent)
    : ToolWindow(ctx, QStringLiteral("Messages / Output"), parent), tree_(new QTreeWidget(this)) {
  for (int i = 0; i < 4; ++i) icons_[static_cast<std::size_t>(i)] = levelIcon(i);
  tree_->setHeaderHidden(true);
  tree_->setColumnCount(1);
  tree_->setUniformRowHeights(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(tree_);
  resize(500, 400);
  connect(this, &ToolWindow::shownChanged, this, [this](bool shown) {
    if (!shown || tally_.unseen() == 0) return;
    tally_.seen();
    emit unseenChanged(0);
  });
}

MessageWindow::~MessageWindow() {
  if (presenter_ >= 0) removeMessagePresenter(presenter_);
}

void MessageWindow::attachToMessageSink() {
  if (presenter_ >= 0) return;
  presenter_ = addMessagePresenter([this](const LogEntry& e) {
    add(toQt(e.module), toQt(e.function), toQt(e.message), e.level);
  });
}

int MessageWindow::markLevel(const QTreeWidgetItem* item) {
  const QVariant v = item->data(0, kLevelRole);
  return v.isValid() ? v.toInt() : -1;
}

void MessageWindow::mark(QTreeWidgetItem* item, int level) {
  item->setData(0, kLevelRole, level);
  item->setIcon(0, icons_[static_cast<std::size_t>(std::clamp(level, 0, 3))]);
}

QTreeWidgetItem* MessageWindow::newestLeaf() const {
  const int sources = tree_->topLevelItemCount();
  QTreeWidgetItem* node = sources > 0 ? tree_->topLevelItem(sources - 1) : nullptr;
  for (int depth = 0; depth < 2 && node != nullptr; ++depth)
    node = node->childCount() > 0 ? node->child(node->childCount() - 1) : nullptr;
  return node;
}

void MessageWindow::add(const QString& source, const QString& function, const QString& text, int level) {
  const int before = tally_.unseen();
  const int times = tally_.add(fromQt(source), fromQt(function), fromQt(text), level, isVisible());
  if (tally_.unseen() != before) emit unseenChanged(tally_.unseen());
  if (QTreeWidgetItem* leaf = times > 1 ? newestLeaf() : nullptr) {
    leaf->setText(0, toQt(MessageTally::leafText(fromQt(text), times)));
    if (isVisible()) tree_->viewport()->update();
    return;
  }
  const int count = tree_->topLevelItemCount();
  QTreeWidgetItem* sourceNode = count > 0 ? tree_->topLevelItem(count - 1) : nullptr;
  QTreeWidgetItem* functionNode = nullptr;
  if (sourceNode == nullptr || sourceNode->text(0) != source) {
    tree_->collapseAll();
    sourceNode = new QTreeWidgetItem(tree_, {source});
    ++nodes_;
    if (level > 0) mark(sourceNode, level);
  } else {
    const int children = sourceNode->childCount();
    functionNode = children > 0 ? sourceNode->child(children - 1) : nullptr;
    if (functionNode != nullptr && functionNode->text(0) != function) functionNode = nullptr;
    if (functionNode == nullptr) tree_->collapseAll();
    if (functionNode != nullptr && level > 0 && markLevel(sourceNode) < level) mark(sourceNode, level);
  }
  if (functionNode == nullptr) {
    functionNode = new QTreeWidgetItem(sourceNode, {function});
    ++nodes_;
    if (level > 0) mark(functionNode, level);
  }
  auto* leaf = new QTreeWidgetItem(functionNode, {text});
  ++nodes_;
  mark(leaf, level);
  if (nodes_ % kCollapseEvery == 0) tree_->collapseAll();
  functionNode->setExpanded(true);
  sourceNode->setExpanded(true);
  tree_->scrollToItem(leaf);
  if (isVisible()) tree_->viewport()->update();
}

}  // namespace vorlund::ui
