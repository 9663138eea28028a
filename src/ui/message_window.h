// The message window ("Messages / Output"): the on-screen end of the message
// sink, every message in a tree of source -> function -> text, with a mark of
// its level. Only the newest message's branch stays open.
#pragma once

#include <QIcon>
#include <array>

#include "ui/tool_window.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace vorlund::ui {

class MessageWindow : public ToolWindow {
  Q_OBJECT

 public:
  // Every this many nodes the whole tree is collapsed again.
  static constexpr int kCollapseEvery = 20;

  MessageWindow(UiContext& ctx, QWidget* parent);
  ~MessageWindow() override;

  // Subscribes to the message sink (until destroyed). Tests add directly.
  void attachToMessageSink();

  void add(const QString& source, const QString& function, const QString& text, int level);

  QTreeWidget* tree() const { return tree_; }
  // The level a node's mark shows, -1 for none.
  static int markLevel(const QTreeWidgetItem* item);
  // The mark of a level (0 plain .. 3 critical), drawn in code.
  static QIcon levelIcon(int level);

 private:
  void mark(QTreeWidgetItem* item, int level);

  QTreeWidget* tree_;
  std::array<QIcon, 4> icons_;
  int nodes_ = 0;  // every node of the tree
  int presenter_ = -1;
};

}  // namespace vorlund::ui
