#include "ui/lists_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "core/message.h"
#include "core/strutil.h"
#include "ui/list_models.h"
#include "ui/list_rules.h"
#include "ui/main_window.h"
#include "ui/paint_throttle.h"
#include "ui/param_dialog.h"
#include "ui/prompt_service.h"
#include "ui/qt_text.h"
#include "ui/ui_context.h"

namespace vorlund::ui {

namespace {

// The button column left of the list.
constexpr int kButtonColumnWidth = 60;
constexpr int kButtonWidth = 50;
constexpr int kRowHeight = 20;

QPushButton* addButton(QWidget* column, QVBoxLayout* v, const char* caption, const char* hint) {
  auto* b = new QPushButton(caption, column);
  b->setToolTip(hint);
  b->setFixedWidth(kButtonWidth);
  b->setObjectName(caption);
  v->addWidget(b, 0, Qt::AlignHCenter);
  return b;
}

// Sets a text parameter through the record's accessor, so it is cut to its limit.
void setText(przodek& rec, const char* id, const std::string& value) {
  param& p = rec.parameters();
  p.set(p.findId(id), value);
}

}  // namespace

ListsWindow::ListsWindow(UiContext& ctx, ListKind kind, QWidget* parent)
    : ToolWindow(ctx, kind == ListKind::Genotypes ? QStringLiteral("Genotypes: 0")
                                                  : QStringLiteral("Individuals in the world: 0"),
                 parent),
      kind_(kind) {
  symulator& s = ctx.sim();
  if (kind == ListKind::Genotypes)
    model_ = genotypes_ = new GenotypeListModel(s.pool, this);
  else
    model_ = creatures_ = new CreatureListModel(s.creatures, this);
  if (creatures_ != nullptr) sorted_ = new CreatureSortModel(*creatures_, this);

  new PaintThrottle(this, [&ctx] { return ctx.running(); });
  view_ = new QTableView(this);
  view_->setModel(viewModel());
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->verticalHeader()->hide();
  view_->verticalHeader()->setDefaultSectionSize(kRowHeight);
  view_->setWordWrap(false);
  view_->setContextMenuPolicy(Qt::CustomContextMenu);
  view_->horizontalHeader()->setHighlightSections(false);
  // A hidden column keeps a stub narrower than the style's usual minimum.
  view_->horizontalHeader()->setMinimumSectionSize(kHiddenColumnWeight / 2);
  connect(view_, &QWidget::customContextMenuRequested, this, &ListsWindow::showPopup);
  connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &ListsWindow::selectionChanged);
  QHeaderView* header = view_->horizontalHeader();
  header->setSectionsClickable(true);
  header->setSortIndicatorShown(false);
  connect(header, &QHeaderView::sectionClicked, this, &ListsWindow::headerClicked);
  if (kind == ListKind::Genotypes) {
    connect(view_, &QTableView::doubleClicked, this, &ListsWindow::editGenotype);
  } else {
    connect(view_, &QTableView::doubleClicked, this, &ListsWindow::viewIndividual);
  }

  auto* column = new QWidget(this);
  column->setFixedWidth(kButtonColumnWidth);
  if (kind == ListKind::Genotypes)
    buildGenotypeButtons(column);
  else
    buildIndividualButtons(column);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(column);
  layout->addWidget(view_, 1);
  setColumnsText(columns_);
  resize(600, 300);
  if (kind == ListKind::Genotypes) {
    // After the model's own listeners, so the rows exist when these run.
    s.pool.beforeRemovalListeners.add(&ListsWindow::recordLeaving, this);
    s.pool.removedListeners.add(&ListsWindow::recordRemoved, this);
    s.pool.addedListeners.add(&ListsWindow::recordAdded, this);
  }
}

ListsWindow::~ListsWindow() {
  if (kind_ != ListKind::Genotypes) return;
  listaprz& pool = context().sim().pool;
  pool.beforeRemovalListeners.remove(&ListsWindow::recordLeaving, this);
  pool.removedListeners.remove(&ListsWindow::recordRemoved, this);
  pool.addedListeners.remove(&ListsWindow::recordAdded, this);
}

void ListsWindow::recordLeaving(void* self, int index) {
  auto* w = static_cast<ListsWindow*>(self);
  if (!w->view_->selectionModel()->isRowSelected(index, {})) return;
  w->moving_ = w->context().sim().pool.get(index);
  w->movingNumber_ = w->moving_ ? w->moving_->num : 0;
  w->quietSelection_ = true;
}

void ListsWindow::recordRemoved(void* self, int) { static_cast<ListsWindow*>(self)->quietSelection_ = false; }

void ListsWindow::recordAdded(void* self, int index) {
  auto* w = static_cast<ListsWindow*>(self);
  przodek* r = w->context().sim().pool.get(index);
  if (w->moving_ == nullptr || r != w->moving_ || r->num != w->movingNumber_) return;
  w->moving_ = nullptr;
  w->addRowToSelection(index);
}

void ListsWindow::buildGenotypeButtons(QWidget* column) {
  auto* v = new QVBoxLayout(column);
  v->setContentsMargins(0, 5, 0, 5);
  v->setSpacing(5);
  connect(addButton(column, v, "New", "Adds a new genotype"), &QPushButton::clicked, this, &ListsWindow::newGenotype);
  connect(addButton(column, v, "Copy", "Copies the selected genotype"), &QPushButton::clicked, this,
          &ListsWindow::copyGenotype);
  connect(addButton(column, v, "Edit", "Edits the selected genotype"), &QPushButton::clicked, this,
          &ListsWindow::editGenotype);
  connect(addButton(column, v, "Clear", "Clears the genotypes list"), &QPushButton::clicked, this,
          &ListsWindow::clearGenotypes);
  connect(addButton(column, v, "Delete", "Deletes the selected genotypes"), &QPushButton::clicked, this,
          &ListsWindow::deleteGenotypes);
  auto* simulate = new QPushButton("Simulate", column);
  simulate->setObjectName("Simulate");
  simulate->setToolTip("Simulates the selected individuals (genotypes)");
  simulate->setFixedWidth(kButtonColumnWidth);
  v->addWidget(simulate);
  connect(simulate, &QPushButton::clicked, this, &ListsWindow::simulateGenotypes);
  v->addStretch(1);
}

void ListsWindow::buildIndividualButtons(QWidget* column) {
  auto* v = new QVBoxLayout(column);
  v->setContentsMargins(0, 5, 0, 5);
  v->setSpacing(5);
  connect(addButton(column, v, "View", "Views data of the selected individual"), &QPushButton::clicked, this,
          &ListsWindow::viewIndividual);
  connect(addButton(column, v, "Delete", "Deletes the selected individuals"), &QPushButton::clicked, this,
          &ListsWindow::deleteIndividuals);
  connect(addButton(column, v, "Kill", "Kills - simulates natural death (unfair)"), &QPushButton::clicked, this,
          &ListsWindow::killIndividuals);
  follow_ = new QCheckBox("Follow", column);
  follow_->setToolTip("Camera: follow the selected individuals?");
  v->addWidget(follow_);
  auto* rateLabel = new QLabel("Update rate", column);
  rateLabel->setWordWrap(true);
  v->addWidget(rateLabel);
  updateRate_ = new QComboBox(column);
  updateRate_->addItems({"Ever", "1:10", "1:100", "1:1000", "1:10000"});
  updateRate_->setFixedWidth(kButtonColumnWidth);
  v->addWidget(updateRate_);
  v->addStretch(1);
}

// --- rows and selection ---------------------------------------------------

void ListsWindow::refreshRows() {
  if (creatures_) creatures_->refreshRows();
}

int ListsWindow::rowCount() const { return model_->rowCount(); }

QAbstractItemModel* ListsWindow::viewModel() const {
  return sorted_ != nullptr ? static_cast<QAbstractItemModel*>(sorted_) : model_;
}

int ListsWindow::sourceRow(int row) const {
  if (sorted_ == nullptr) return row;
  return sorted_->mapToSource(sorted_->index(row, 0)).row();
}

org* ListsWindow::rowCreature(int row) const { return creatures_ ? creatures_->creature(sourceRow(row)) : nullptr; }

przodek* ListsWindow::rowGenotype(int row) const { return genotypes_ ? genotypes_->record(row) : nullptr; }

std::vector<int> ListsWindow::selectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& i : view_->selectionModel()->selectedRows()) rows.push_back(i.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

std::vector<int> ListsWindow::selectedCreatureIndices() const {
  std::vector<int> indices;
  for (int r : selectedRows()) indices.push_back(sourceRow(r));
  std::sort(indices.begin(), indices.end());
  return indices;
}

void ListsWindow::clearSelection() { view_->clearSelection(); }

void ListsWindow::selectRow(int row) {
  if (row < 0 || row >= rowCount()) return;
  const QModelIndex i = viewModel()->index(row, 0);
  view_->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  view_->scrollTo(i);
}

void ListsWindow::addRowToSelection(int row) {
  if (row < 0 || row >= rowCount()) return;
  view_->selectionModel()->select(viewModel()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void ListsWindow::dropFocus() { view_->selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate); }

void ListsWindow::selectionChanged() {
  UiContext& ctx = context();
  const std::vector<int> rows = selectedRows();
  if (kind_ == ListKind::Genotypes) {
    if (quietSelection_ || rowCount() != ctx.sim().pool.size()) return;
    ctx.selectGenotype(rows.empty() ? nullptr : rowGenotype(rows.front()));
    return;
  }
  if (rowCount() != ctx.sim().creatures.size()) return;
  std::vector<org*> chosen;
  for (int r : rows)
    if (org* o = rowCreature(r)) chosen.push_back(o);
  ctx.selectCreatures(std::move(chosen));
}

void ListsWindow::refreshStatus(bool redraw) {
  if (MainWindow* w = context().mainWindow()) w->refreshStatus(redraw);
}

// --- columns --------------------------------------------------------------

int ListsWindow::columnWidthFor(int column) const {
  return columnWeight(model_->columnType(column), columnShown(columns_, column));
}

std::string ListsWindow::columnsText() const { return columns_; }

void ListsWindow::setColumnsText(const std::string& text) {
  columns_ = text;
  for (int c = 0; c < model_->columnCount(); ++c) view_->setColumnWidth(c, columnWidthFor(c));
}

void ListsWindow::toggleColumn(int column) {
  if (column < 0 || column >= model_->columnCount()) return;
  columns_ = ui::toggleColumn(columns_, column);
  view_->setColumnWidth(column, columnWidthFor(column));
  InterfaceSettings& s = context().interface();
  (kind_ == ListKind::Genotypes ? s.int_genoshow : s.int_simushow) = columns_;
}

void ListsWindow::adjustColumns() {
  std::vector<int> weights;
  for (int c = 0; c < model_->columnCount(); ++c) weights.push_back(columnWidthFor(c));
  const std::vector<int> widths = adjustedWidths(weights, view_->maximumViewportSize().width());
  for (int c = 0; c < static_cast<int>(widths.size()); ++c) view_->setColumnWidth(c, widths[static_cast<std::size_t>(c)]);
}

void ListsWindow::headerClicked(int section) {
  // A second click on the same column turns the order round.
  sortDescending_ = section == sortSection_ ? !sortDescending_ : false;
  sortSection_ = section;
  QHeaderView* h = view_->horizontalHeader();
  h->setSortIndicatorShown(true);
  const Qt::SortOrder order = sortDescending_ ? Qt::DescendingOrder : Qt::AscendingOrder;
  h->setSortIndicator(section, order);
  if (sorted_ != nullptr) {
    sorted_->sort(section, order);  // the proxy keeps the selection on its creatures
    return;
  }
  // The pool is reordered in place: the selection is taken by record and put back.
  std::vector<przodek*> chosen;
  for (int r : selectedRows()) chosen.push_back(rowGenotype(r));
  przodek* current = rowGenotype(view_->selectionModel()->currentIndex().row());
  model_->sort(section, order);
  const QSignalBlocker quiet(view_->selectionModel());
  view_->selectionModel()->clearSelection();
  for (int r = 0; r < rowCount(); ++r) {
    przodek* rec = rowGenotype(r);
    if (std::find(chosen.begin(), chosen.end(), rec) != chosen.end()) addRowToSelection(r);
    if (rec != nullptr && rec == current)
      view_->selectionModel()->setCurrentIndex(model_->index(r, 0), QItemSelectionModel::NoUpdate);
  }
  view_->viewport()->update();
}

void ListsWindow::showPopup(const QPoint& at) {
  QMenu menu(this);
  if (kind_ == ListKind::Genotypes) {
    menu.addAction("Edit data", this, &ListsWindow::editGenotype);
    menu.addAction("Copy and edit", this, &ListsWindow::copyGenotype);
    menu.addAction("Simulate", this, &ListsWindow::simulateGenotypes);
    menu.addAction("Delete", this, &ListsWindow::deleteGenotypes);
  } else {
    menu.addAction("View data", this, &ListsWindow::viewIndividual);
    menu.addAction("Spy individual", this, &ListsWindow::spyIndividual);
    menu.addAction("Kill (!)", this, &ListsWindow::killIndividuals);
    menu.addAction("Delete", this, &ListsWindow::deleteIndividuals);
  }
  QMenu* show = menu.addMenu("Show columns");
  for (int c = 0; c < model_->columnCount(); ++c) {
    QAction* a = show->addAction(model_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    a->setCheckable(true);
    a->setChecked(columnShown(columns_, c));
    connect(a, &QAction::triggered, this, [this, c] { toggleColumn(c); });
  }
  menu.addAction("Adjust columns", this, &ListsWindow::adjustColumns);
  menu.exec(view_->viewport()->mapToGlobal(at));
}

// --- genotype actions -----------------------------------------------------

void ListsWindow::addEdited(std::unique_ptr<przodek> rec, bool isNew) {
  symulator& s = context().sim();
  bool confirmed = false;
  const int flags = editParameters(this, rec->parameters(), false, "Genotype data", &s.genman, &confirmed);
  if (!confirmed) return;
  if (isNew) setText(*rec, "info", infoAfterNew(rec->info, (flags & PSET_CHANGED) != 0));
  s.pool.add(std::move(rec));
  refreshStatus(false);
}

void ListsWindow::newGenotype() {
  symulator& s = context().sim();
  auto rec = std::make_unique<przodek>(&s.geneticsContext(), std::string(kNewGenes), std::string(kNewName),
                                       std::string(kManuallyCreated));
  addEdited(std::move(rec), true);
}

void ListsWindow::copyGenotype() {
  const std::vector<int> rows = selectedRows();
  przodek* from = rows.empty() ? nullptr : rowGenotype(rows.front());
  if (from == nullptr) return;
  auto rec = std::make_unique<przodek>(&context().sim().geneticsContext(), from->genotype, from->name, from->info);
  setText(*rec, "name", copyName(from->name));
  setText(*rec, "info", copyInfo(from->info, from->name));
  addEdited(std::move(rec), false);
}

void ListsWindow::editGenotype() {
  const std::vector<int> rows = selectedRows();
  przodek* rec = rows.empty() ? nullptr : rowGenotype(rows.front());
  if (rec == nullptr) return;
  symulator& s = context().sim();
  const int flags = editParameters(this, rec->parameters(), false, "Genotype data", &s.genman);
  setText(*rec, "info", infoAfterEdit(rec->info, (flags & PSET_CHANGED) != 0));
  // The record may have moved while the dialog was open (a sorted pool).
  const int at = s.pool.find(rec);
  if (at >= 0) s.pool.changed(at);
  refreshStatus(false);
}

void ListsWindow::clearGenotypes() {
  symulator& s = context().sim();
  if (s.pool.size() == 0) return;
  if (prompts().question(this, "Question", "Clear genotypes list?", PromptButtons::YesNo) != PromptAnswer::Yes) return;
  dropFocus();
  s.clear(CLEAR_GENOTYPES);
  refreshStatus(true);
}

void ListsWindow::deleteGenotypes() {
  const std::vector<int> rows = selectedRows();
  if (rows.empty()) return;
  if (prompts().question(this, "Question", "Delete selected genotypes?", PromptButtons::YesNo) != PromptAnswer::Yes)
    return;
  symulator& s = context().sim();
  for (auto r = rows.rbegin(); r != rows.rend(); ++r) s.pool.release(*r);
  refreshStatus(false);
}

void ListsWindow::simulateGenotypes() {
  symulator& s = context().sim();
  std::vector<przodek*> chosen;
  for (int r : selectedRows()) chosen.push_back(rowGenotype(r));
  QStringList refused;
  for (przodek* rec : chosen) {
    if (rec == nullptr || s.createCreature(*rec) != nullptr) continue;
    const int check = s.genman.CheckValidity(rec->genotype);
    const std::string why = check > 0 ? ssprintf("the genotype is invalid (error near position %d)", check)
                                      : std::string("its genotype makes no body to simulate");
    logMessage("Simulator", "Simulate", "Cannot simulate '" + rec->name + "': " + why, LOG_ERROR);
    refused << toQt("'" + rec->name + "': " + why);
  }
  refreshStatus(true);
  if (!refused.isEmpty())
    prompts().message(this, PromptKind::Warning, "Simulate", "Not simulated:\n" + refused.join("\n"));
}

// --- individual actions ---------------------------------------------------

void ListsWindow::viewIndividual() {
  const std::vector<int> rows = selectedRows();
  org* o = rows.empty() ? nullptr : rowCreature(rows.front());
  if (o == nullptr) return;
  org_param data(o);
  editParameters(this, data, true, "Simulated individual data", &context().sim().genman);
}

void ListsWindow::deleteIndividuals() {
  const std::vector<int> rows = selectedCreatureIndices();
  if (rows.empty()) return;
  symulator& s = context().sim();
  for (auto r = rows.rbegin(); r != rows.rend(); ++r) s.creatures.removeAt(*r);  // world order
  refreshStatus(true);
}

void ListsWindow::killIndividuals() {
  const std::vector<int> rows = selectedCreatureIndices();
  if (rows.empty()) return;
  symulator& s = context().sim();
  for (auto r = rows.rbegin(); r != rows.rend(); ++r)
    if (org* o = s.creatures.get(*r)) s.killCreature(o);
  refreshStatus(true);
}

void ListsWindow::spyIndividual() {
  const std::vector<int> rows = selectedRows();
  org* o = rows.empty() ? nullptr : rowCreature(rows.front());
  if (o == nullptr) return;
  if (MainWindow* w = context().mainWindow()) w->spyOn(o);
}

// --- Follow and update rate ----------------------------------------------

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

}  // namespace vorlund::ui
