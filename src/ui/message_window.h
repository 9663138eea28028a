// The message window ("Messages / Output"): the on-screen end of the message
// sink, every message in a tree of source -> function -> text, with a mark of
// its level. Only the newest message's branch stays open.
#pragma once

#include <QIcon>
#include <array>

#include "ui/message_tally.h"
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

  // A message that repeats the previous one in every part only counts up its
  // leaf ("... (repeated N times)"), so a flood cannot bury the rest.
  void add(const QString& source, const QString& function, const QString& text, int level);
  // Warnings and errors that arrived while the window was hidden (reset when shown).
  int unseen() const { return tally_.unseen(); }
  int worstUnseen() const { return tally_.worstUnseen(); }

  QTreeWidget* tree() const { return tree_; }
  // The level a node's mark shows, -1 for none.
  static int markLevel(const QTreeWidgetItem* item);
  // The mark of a level (0 plain .. 3 critical), drawn in code.
  static QIcon levelIcon(int level);

 signals:
  void unseenChanged(int count);

 private:
  void mark(QTreeWidgetItem* item, int level);
  // The leaf of the message added last (none after the tree was cleared).
  QTreeWidgetItem* newestLeaf() const;

  QTreeWidget* tree_;
  std::array<QIcon, 4> icons_;
  int nodes_ = 0;  // every node of the tree
  int presenter_ = -1;
  MessageTally tally_;
};

}  // namespace vorlund::ui
