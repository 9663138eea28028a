// The lists window, one class for two windows: kind Genotypes lists the gene
// pool, kind Individuals the creatures living in the world (with the Follow
// box and the update-rate choice the run loop reads).
#pragma once

#include <QString>
#include <string>

#include "ui/tool_window.h"

class QCheckBox;
class QComboBox;

namespace vorlund {
class org;
}

namespace vorlund::ui {

enum class ListKind { Genotypes = 0, Individuals = 1 };

class ListsWindow : public ToolWindow {
  Q_OBJECT

 public:
  // The caption is set by the main window's status refresh ("Genotypes: %d",
  // "Individuals in the world: %d").
  ListsWindow(UiContext& ctx, ListKind kind, QWidget* parent);
  ~ListsWindow() override;

  ListKind kind() const { return kind_; }

  // Refills every row from the simulator (the run loop calls it every U steps).
  void refreshRows();
  int rowCount() const;
  // The object shown in row i (individuals), or null.
  org* rowCreature(int row) const;
  void clearSelection();
  // Selects row i, makes it the focused row and scrolls to it.
  void selectRow(int row);
  // Forgets the focused row (before the pool is cleared, and at exit).
  void dropFocus();

  // Individuals only (false / "Ever" for genotypes):
  bool followChecked() const;
  void setFollowChecked(bool on);
  // The update-rate choice: "Ever", "1:10", "1:100", "1:1000", "1:10000".
  QString updateRateText() const;
  void setUpdateRateText(const QString& text);

  // Visible columns as stored in "int_genoshow" / "int_simushow".
  std::string columnsText() const;
  void setColumnsText(const std::string& text);

 private:
  ListKind kind_;
  QCheckBox* follow_ = nullptr;
  QComboBox* updateRate_ = nullptr;
  std::string columns_;
};

}  // namespace vorlund::ui
