// Table models of the lists window: the genotype records of the gene pool and
// the creatures living in the world, one column per parameter of the
// record's table. Each row's texts are made when the row is first asked for
// after it was added or refilled, and kept until the next refill (some
// columns convert genotypes), so painting never recomputes them and a closed
// list costs the run no texts at all. The models follow their list through
// its listeners; the list must outlive the model.
#pragma once

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QIcon>
#include <QStringList>
#include <unordered_map>
#include <vector>

#include "genepool/listaprz.h"
#include "world/org_list.h"
#include "world/org_param.h"

namespace vorlund::ui {

// Columns, texts and alignment shared by both models.
class ParamTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  ParamTableModel(param& columns, QObject* parent);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The text of a cell, as kept since the row was last filled.
  QString cellText(int row, int column) const;
  // The column's type letter ('d', 'f', 's').
  char columnType(int column) const;

 protected:
  // One row's texts and icon; made when first asked for after a (re)fill.
  struct Row {
    QStringList texts;
    QIcon icon;
    bool made = false;
  };

  // The texts of row i from its object's parameters.
  virtual QStringList rowTexts(int i) const = 0;
  // The icon of row i (none by default).
  virtual QIcon rowIcon(int) const { return {}; }
  virtual int sourceCount() const = 0;

  // Row i, made now if it was (re)filled since it was last asked for; null
  // past the end.
  const Row* row(int i) const;

  void insertOne(int i);
  void removeOne(int i);
  void refillOne(int i);
  // Rows removed or added at the end until they match the list, then all refilled.
  void refillAll();

  param& columns_;

 private:
  mutable std::vector<Row> rows_;
};

class GenotypeListModel : public ParamTableModel {
  Q_OBJECT
 public:
  explicit GenotypeListModel(listaprz& pool, QObject* parent = nullptr);
  ~GenotypeListModel() override;

  przodek* record(int row) const { return pool_.get(row); }
  // Sorts the pool itself by the column (the pool keeps new records in that order).
  void sort(int column, Qt::SortOrder order) override;

 protected:
  QStringList rowTexts(int i) const override;
  int sourceCount() const override { return pool_.size(); }

 private:
  static void added(void* self, int i);
  static void changed(void* self, int i);
  static void removed(void* self, int i);

  listaprz& pool_;
  mutable prz_param reader_{nullptr};  // re-pointed to each record read or compared
};

class CreatureListModel : public ParamTableModel {
  Q_OBJECT
 public:
  explicit CreatureListModel(OrgList& creatures, QObject* parent = nullptr);
  ~CreatureListModel() override;

  org* creature(int row) const { return creatures_.get(row); }
  QVariant data(const QModelIndex& index, int role) const override;
  // Refills every row and icon from the creatures (the run loop's row refresh).
  void refreshRows();

 protected:
  QStringList rowTexts(int i) const override;
  QIcon rowIcon(int i) const override;
  int sourceCount() const override { return creatures_.size(); }

 private:
  static void added(void* self, int i);
  static void removed(void* self, int i);

  OrgList& creatures_;
  mutable org_param reader_;
  // One icon per look, shared by every row that has it: a fresh icon per row
  // refresh left a cached picture behind each time, so memory grew with the run.
  mutable std::unordered_map<int, QIcon> iconsByLook_;
};

// The individuals list as sorted by a header: the world's creature list
// keeps its own order (it is the simulation's), only the rows shown are
// sorted. Numeric columns sort by value, texts by their text.
class CreatureSortModel : public QSortFilterProxyModel {
  Q_OBJECT
 public:
  explicit CreatureSortModel(CreatureListModel& source, QObject* parent = nullptr);

 protected:
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

 private:
  CreatureListModel& source_;
};

// The 16 x 16 picture of a creature: its stick ends and sticks as a small
// bar chart over a background that shows whether it gains energy.
QIcon creatureIcon(int stickEnds, int sticks, double energyIncome);

}  // namespace vorlund::ui
