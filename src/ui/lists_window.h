// The lists window, one class for two windows: kind Genotypes lists the gene
// pool, kind Individuals the creatures living in the world (with the Follow
// box and the update-rate choice the run loop reads). Buttons and the popup
// menu act on the selected rows through the simulator; the selection feeds
// the body, brain and world views and the camera through the context.
#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/tool_window.h"

class QAbstractItemModel;
class QCheckBox;
class QComboBox;
class QMenu;
class QTableView;

namespace vorlund {
class org;
class przodek;
}  // namespace vorlund

namespace vorlund::ui {

class ParamTableModel;
class GenotypeListModel;
class CreatureListModel;
class CreatureSortModel;

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
  // The record shown in row i (genotypes), or null.
  przodek* rowGenotype(int row) const;
  void clearSelection();
  // Selects row i, makes it the focused row and scrolls to it.
  void selectRow(int row);
  // Adds row i to the selection.
  void addRowToSelection(int row);
  // Selected rows in ascending order.
  std::vector<int> selectedRows() const;
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
  // Flips column i and gives it its weight's width.
  void toggleColumn(int column);
  // Spreads the list's width over the columns by their weights.
  void adjustColumns();

  QTableView* table() const { return view_; }
  ParamTableModel* model() const { return model_; }

  // --- actions (buttons and popup menu) ---
  void newGenotype();
  void copyGenotype();
  void editGenotype();
  void clearGenotypes();
  void deleteGenotypes();
  void simulateGenotypes();
  void viewIndividual();
  void deleteIndividuals();
  void killIndividuals();
  void spyIndividual();

 private:
  // The model the view shows (sorted individuals, or the genotypes as they are).
  QAbstractItemModel* viewModel() const;
  // The creature index of a shown row.
  int sourceRow(int row) const;
  // The world-list indices of the selected creatures, ascending.
  std::vector<int> selectedCreatureIndices() const;
  void buildGenotypeButtons(QWidget* column);
  void buildIndividualButtons(QWidget* column);
  void selectionChanged();
  void showPopup(const QPoint& at);
  void headerClicked(int section);
  int columnWidthFor(int column) const;
  void refreshStatus(bool redraw);
  // The record a dialog edits is added when the user confirms; returns it or null.
  void addEdited(std::unique_ptr<przodek> rec, bool isNew);

  // A sorted pool moves a changed record by taking it out and adding it again:
  // a selected record keeps its selection across the move.
  static void recordLeaving(void* self, int index);
  static void recordRemoved(void* self, int index);
  static void recordAdded(void* self, int index);

  ListKind kind_;
  przodek* moving_ = nullptr;
  int32_t movingNumber_ = 0;
  bool quietSelection_ = false;
  QTableView* view_ = nullptr;
  ParamTableModel* model_ = nullptr;
  GenotypeListModel* genotypes_ = nullptr;
  CreatureListModel* creatures_ = nullptr;
  CreatureSortModel* sorted_ = nullptr;  // the individuals' rows as shown
  QCheckBox* follow_ = nullptr;
  QComboBox* updateRate_ = nullptr;
  std::string columns_;
  int sortSection_ = -1;
  bool sortDescending_ = false;
};

}  // namespace vorlund::ui
