#include "ui/list_models.h"

#include <QPainter>
#include <QPixmap>
#include <algorithm>

namespace vorlund::ui {

namespace {

// Longest cell text kept; a genotype of thousands of characters shows its start.
constexpr int kCellChars = 200;
constexpr int kIconSize = 16;

QString cellFrom(const std::string& value) {
  QString s = QString::fromLatin1(value.data(), static_cast<qsizetype>(std::min<std::size_t>(value.size(), kCellChars)));
  s.replace('\n', ' ').remove('\r');
  return s;
}

}  // namespace

ParamTableModel::ParamTableModel(param& columns, QObject* parent) : QAbstractTableModel(parent), columns_(columns) {}

int ParamTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ParamTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : columns_.totalParamCount();
}

char ParamTableModel::columnType(int column) const { return columns_.typeLetter(column); }

const ParamTableModel::Row* ParamTableModel::row(int i) const {
  if (i < 0 || i >= static_cast<int>(rows_.size())) return nullptr;
  Row& r = rows_[static_cast<std::size_t>(i)];
  if (!r.made && i < sourceCount()) {
    r.texts = rowTexts(i);
    r.icon = rowIcon(i);
    r.made = true;
  }
  return &r;
}

QString ParamTableModel::cellText(int i, int column) const {
  const Row* r = row(i);
  return r != nullptr && column >= 0 && column < r->texts.size() ? r->texts[column] : QString();
}

QVariant ParamTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::DisplayRole) return cellText(index.row(), index.column());
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(Qt::AlignVCenter | (columnType(index.column()) == 's' ? Qt::AlignLeft : Qt::AlignRight));
  return {};
}

QVariant ParamTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::DisplayRole) return QString::fromLatin1(columns_.name(section) ? columns_.name(section) : "");
  if (role == Qt::ToolTipRole && columns_.help(section)) return QString::fromLatin1(columns_.help(section));
  // Captions stay left-aligned: a narrow right-aligned caption loses its beginning.
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignVCenter | Qt::AlignLeft);
  return {};
}

void ParamTableModel::insertOne(int i) {
  i = std::clamp(i, 0, static_cast<int>(rows_.size()));
  beginInsertRows({}, i, i);
  rows_.insert(rows_.begin() + i, Row{});
  endInsertRows();
}

void ParamTableModel::removeOne(int i) {
  if (i < 0 || i >= static_cast<int>(rows_.size())) return;
  beginRemoveRows({}, i, i);
  rows_.erase(rows_.begin() + i);
  endRemoveRows();
}

void ParamTableModel::refillOne(int i) {
  if (i < 0 || i >= static_cast<int>(rows_.size()) || i >= sourceCount()) return;
  rows_[static_cast<std::size_t>(i)].made = false;
  emit dataChanged(index(i, 0), index(i, columnCount() - 1));
}

void ParamTableModel::refillAll() {
  const int want = sourceCount();
  const int have = static_cast<int>(rows_.size());
  if (have > want) {
    beginRemoveRows({}, want, have - 1);
    rows_.resize(static_cast<std::size_t>(want));
    endRemoveRows();
  } else if (have < want) {
    beginInsertRows({}, have, want - 1);
    rows_.resize(static_cast<std::size_t>(want));
    endInsertRows();
  }
  for (Row& r : rows_) r.made = false;
  if (want > 0) emit dataChanged(index(0, 0), index(want - 1, columnCount() - 1));
}

// ---------------------------------------------------------------------------

GenotypeListModel::GenotypeListModel(listaprz& pool, QObject* parent)
    : ParamTableModel(reader_, parent), pool_(pool) {
  pool_.addedListeners.add(&GenotypeListModel::added, this);
  pool_.changedListeners.add(&GenotypeListModel::changed, this);
  pool_.removedListeners.add(&GenotypeListModel::removed, this);
  refillAll();
}

GenotypeListModel::~GenotypeListModel() {
  if (pool_.sortAccessor() == &reader_) pool_.setSort(nullptr, -1, false);
  pool_.addedListeners.remove(&GenotypeListModel::added, this);
  pool_.changedListeners.remove(&GenotypeListModel::changed, this);
  pool_.removedListeners.remove(&GenotypeListModel::removed, this);
}

QStringList GenotypeListModel::rowTexts(int i) const {
  QStringList texts;
  przodek* rec = pool_.get(i);
  if (rec == nullptr) return texts;
  reader_.setBase(rec);
  for (int c = 0; c < columnCount(); ++c) texts << cellFrom(reader_.getText(c));
  reader_.setBase(nullptr);
  return texts;
}

void GenotypeListModel::sort(int column, Qt::SortOrder order) {
  if (column < 0 || column >= columnCount()) return;
  // The pool notifies "everything changed", which refills every row.
  pool_.setSort(&reader_, column, order == Qt::DescendingOrder);
}

void GenotypeListModel::added(void* self, int i) { static_cast<GenotypeListModel*>(self)->insertOne(i); }

void GenotypeListModel::changed(void* self, int i) {
  auto* m = static_cast<GenotypeListModel*>(self);
  if (i < 0)
    m->refillAll();
  else
    m->refillOne(i);
}

void GenotypeListModel::removed(void* self, int i) { static_cast<GenotypeListModel*>(self)->removeOne(i); }

// ---------------------------------------------------------------------------

CreatureListModel::CreatureListModel(OrgList& creatures, QObject* parent)
    : ParamTableModel(reader_, parent), creatures_(creatures) {
  creatures_.addedListeners.add(&CreatureListModel::added, this);
  creatures_.removedListeners.add(&CreatureListModel::removed, this);
  refillAll();
}

CreatureListModel::~CreatureListModel() {
  creatures_.addedListeners.remove(&CreatureListModel::added, this);
  creatures_.removedListeners.remove(&CreatureListModel::removed, this);
}

QVariant CreatureListModel::data(const QModelIndex& index, int role) const {
  if (role == Qt::DecorationRole && index.column() == 0) {
    const Row* r = row(index.row());
    return r != nullptr ? QVariant(r->icon) : QVariant();
  }
  return ParamTableModel::data(index, role);
}

QStringList CreatureListModel::rowTexts(int i) const {
  QStringList texts;
  org* o = creatures_.get(i);
  if (o == nullptr) return texts;
  reader_.bind(o);
  for (int c = 0; c < columnCount(); ++c) texts << cellFrom(reader_.getText(c));
  reader_.bind(nullptr);
  return texts;
}

QIcon CreatureListModel::rowIcon(int i) const {
  org* o = creatures_.get(i);
  if (o == nullptr) return {};
  const int ends = std::clamp(o->sesCount(), 0, kIconSize), sticks = std::clamp(o->estCount(), 0, kIconSize);
  const bool gaining = o->energy_p > 0;
  const int look = ((ends * (kIconSize + 1)) + sticks) * 2 + (gaining ? 1 : 0);
  auto found = iconsByLook_.find(look);
  if (found == iconsByLook_.end()) found = iconsByLook_.emplace(look, creatureIcon(ends, sticks, gaining ? 1 : 0)).first;
  return found->second;
}

void CreatureListModel::refreshRows() { refillAll(); }

void CreatureListModel::added(void* self, int i) { static_cast<CreatureListModel*>(self)->insertOne(i); }

void CreatureListModel::removed(void* self, int i) { static_cast<CreatureListModel*>(self)->removeOne(i); }

// ---------------------------------------------------------------------------

QIcon creatureIcon(int stickEnds, int sticks, double energyIncome) {
  QPixmap pix(kIconSize, kIconSize);
  // Green when the creature gained energy in its last step, grey otherwise.
  pix.fill(energyIncome > 0 ? QColor(200, 240, 200) : QColor(225, 225, 225));
  QPainter p(&pix);
  p.setPen(Qt::NoPen);
  // Two bars, their heights growing with the counts and saturating at 16.
  const int endsBar = std::clamp(stickEnds, 0, kIconSize);
  const int sticksBar = std::clamp(sticks, 0, kIconSize);
  p.setBrush(QColor(40, 90, 200));
  p.drawRect(2, kIconSize - endsBar, 5, endsBar);
  p.setBrush(QColor(200, 80, 30));
  p.drawRect(9, kIconSize - sticksBar, 5, sticksBar);
  p.end();
  return QIcon(pix);
}

// ---------------------------------------------------------------------------

CreatureSortModel::CreatureSortModel(CreatureListModel& source, QObject* parent)
    : QSortFilterProxyModel(parent), source_(source) {
  setSourceModel(&source);
  setDynamicSortFilter(true);  // rows refilled every few steps stay in order
}

bool CreatureSortModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
  const QString a = source_.cellText(left.row(), left.column());
  const QString b = source_.cellText(right.row(), right.column());
  if (source_.columnType(left.column()) != 's') {
    bool okA = false, okB = false;
    const double x = a.toDouble(&okA), y = b.toDouble(&okB);
    if (okA && okB && x != y) return x < y;
    if (okA != okB) return okA;  // numbers before texts that are not
  }
  const int byText = QString::compare(a, b, Qt::CaseInsensitive);
  // Equal cells keep the world's order, so a sort is stable across refreshes.
  return byText != 0 ? byText < 0 : left.row() < right.row();
}

}  // namespace vorlund::ui
