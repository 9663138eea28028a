#include "ui/lists_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/ui_context.h"

namespace vorlund::ui {

ListsWindow::ListsWindow(UiContext& ctx, ListKind kind, QWidget* parent)
    : ToolWindow(ctx, kind == ListKind::Genotypes ? QStringLiteral("Genotypes: 0")
                                                  : QStringLiteral("Individuals in the world: 0"),
                 parent),
      kind_(kind) {
  auto* layout = new QVBoxLayout(this);
  if (kind == ListKind::Individuals) {
    auto* row = new QHBoxLayout;
    follow_ = new QCheckBox("Follow", this);
    follow_->setToolTip("Camera: follow the selected individuals?");
    updateRate_ = new QComboBox(this);
    updateRate_->addItems({"Ever", "1:10", "1:100", "1:1000", "1:10000"});
    row->addWidget(follow_);
    row->addWidget(new QLabel("Update rate", this));
    row->addWidget(updateRate_);
    row->addStretch();
    layout->addLayout(row);
  }
  layout->addStretch();
  resize(400, 200);
}

ListsWindow::~ListsWindow() = default;

void ListsWindow::refreshRows() {}

int ListsWindow::rowCount() const {
  symulator& s = context().sim();
  return kind_ == ListKind::Genotypes ? s.pool.size() : s.creatures.size();
}

org* ListsWindow::rowCreature(int row) const {
  return kind_ == ListKind::Individuals ? context().sim().creatures.get(row) : nullptr;
}

void ListsWindow::clearSelection() {
  if (kind_ == ListKind::Individuals) context().selectCreature(nullptr);
}

void ListsWindow::selectRow(int row) {
  if (kind_ == ListKind::Individuals) context().selectCreature(rowCreature(row));
}

void ListsWindow::dropFocus() {}

bool ListsWindow::followChecked() const { return follow_ != nullptr && follow_->isChecked(); }

void ListsWindow::setFollowChecked(bool on) {
  if (follow_ != nullptr) follow_->setChecked(on);
}

QString ListsWindow::updateRateText() const {
  return updateRate_ != nullptr ? updateRate_->currentText() : QStringLiteral("Ever");
}

void ListsWindow::setUpdateRateText(const QString& text) {
  if (updateRate_ == nullptr) return;
  const int i = updateRate_->findText(text);
  if (i >= 0) updateRate_->setCurrentIndex(i);
}

std::string ListsWindow::columnsText() const { return columns_; }

void ListsWindow::setColumnsText(const std::string& text) { columns_ = text; }

}  // namespace vorlund::ui
