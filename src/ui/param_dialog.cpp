#include "ui/param_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QDoubleSpinBox>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

#include "core/param.h"
#include "ui/dialog_hooks.h"
#include "ui/genotype_editor.h"
#include "ui/prompt_service.h"

namespace vorlund::ui {

namespace {

// The tree takes this share of the width at first.
constexpr int kTreeStretch = 1;
constexpr int kPanelStretch = 3;
// Multi-line texts get this many lines of height at least.
constexpr int kMultiLineRows = 6;

QString fromText(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }
std::string toText(const QString& s) { return s.toLatin1().toStdString(); }

QString pathKey(const std::vector<std::string>& path, std::size_t depth) {
  QStringList parts;
  for (std::size_t i = 0; i < depth; ++i) parts << fromText(path[i]);
  return parts.join(":");
}

// Read-only text fields keep their text selectable but look inert.
void makeInert(QWidget* w) {
  if (auto* line = qobject_cast<QLineEdit*>(w)) {
    line->setReadOnly(true);
  } else if (auto* text = qobject_cast<QPlainTextEdit*>(w)) {
    text->setReadOnly(true);
  } else {
    w->setEnabled(false);
    return;
  }
  QPalette p = w->palette();
  p.setColor(QPalette::Base, p.color(QPalette::Disabled, QPalette::Window));
  w->setPalette(p);
  w->setEnabled(false);
}

// Reals show as the files write them ("%lg"): 0.5, not 0.500000.
constexpr int kRealDigits = 6;
constexpr int kRealSpinDecimals = 9;

class RealSpinBox : public QDoubleSpinBox {
 public:
  explicit RealSpinBox(QWidget* parent) : QDoubleSpinBox(parent) { setDecimals(kRealSpinDecimals); }
  QString textFromValue(double v) const override { return QString::number(v, 'g', kRealDigits); }
};

ParamDialogRunner& currentRunner() {
  static ParamDialogRunner runner = [](ParamDialog& d) { return d.exec() == QDialog::Accepted; };
  return runner;
}

// The main window's "Simulation Parameters", "Statistics" and "Options" open this dialog.
const bool kHookInstalled = [] {
  installParameterDialog([](QWidget* parent, const QString& title, param& acc) {
    editParameters(parent, acc, false, title);
  });
  return true;
}();

}  // namespace

ParamDialog::ParamDialog(QWidget* parent, param& chain, bool readOnly, const QString& title, GenMan* genman)
    : QDialog(parent), chain_(chain), readOnly_(readOnly), genman_(genman), tree_(new QTreeWidget), scroll_(new QScrollArea) {
  setWindowTitle(title);
  tree_->setHeaderHidden(true);
  scroll_->setWidgetResizable(true);
  scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  auto* split = new QSplitter(Qt::Horizontal);
  split->addWidget(tree_);
  split->addWidget(scroll_);
  split->setStretchFactor(0, kTreeStretch);
  split->setStretchFactor(1, kPanelStretch);

  auto* ok = new QPushButton("&OK");
  auto* cancel = new QPushButton("&Cancel");
  auto* applyButton = new QPushButton("&Apply");
  ok->setObjectName("ok");
  cancel->setObjectName("cancel");
  applyButton->setObjectName("apply");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &ParamDialog::okPressed);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(applyButton, &QPushButton::clicked, this, [this] {
    if (apply()) rebuildControls();
  });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(applyButton);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(split, 1);
  layout->addLayout(buttons);

  if (QScreen* s = screen()) resize(s->availableGeometry().size() * 2 / 3);

  buildTree();
  connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    shownPath_ = item ? item->data(0, Qt::UserRole).toString() : QString();
    rebuildControls();
  });
  if (tree_->topLevelItemCount() > 0) tree_->setCurrentItem(tree_->topLevelItem(0));
}

ParamDialog::~ParamDialog() = default;

bool ParamDialog::changed() const { return (resultFlags_ & PSET_CHANGED) != 0; }

void ParamDialog::buildTree() {
  std::map<QString, QTreeWidgetItem*> nodes;
  auto node = [&](const std::vector<std::string>& path) {
    QTreeWidgetItem* parent = nullptr;
    for (std::size_t depth = 1; depth <= path.size(); ++depth) {
      const QString key = pathKey(path, depth);
      auto found = nodes.find(key);
      if (found == nodes.end()) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
        item->setText(0, fromText(path[depth - 1]));
        item->setData(0, Qt::UserRole, key);
        found = nodes.emplace(key, item).first;
      }
      parent = found->second;
    }
  };
  int base = 0;
  for (const param* p = &chain_; p != nullptr; p = p->next()) {
    for (int g = 0; g < p->groupCount(); ++g) node(splitGroupPath(p->groupName(g) ? p->groupName(g) : ""));
    for (int j = 0; j < p->paramCount(); ++j) {
      const char* g = p->groupName(p->group(j));
      groupNames_.emplace_back(g ? g : "");
      const std::vector<std::string> path = splitGroupPath(groupNames_.back());
      groupKeys_.push_back(pathKey(path, path.size()));
    }
    base += p->paramCount();
  }
  tree_->expandAll();
}

bool ParamDialog::showGroup(const QString& path) {
  for (QTreeWidgetItemIterator it(tree_); *it; ++it)
    if ((*it)->data(0, Qt::UserRole).toString() == path) {
      tree_->setCurrentItem(*it);
      return true;
    }
  return false;
}

void ParamDialog::rebuildControls() {
  // Edits of the group being left wait for OK or Apply; Cancel drops them.
  for (const auto& row : rows_)
    if (row->editable && row->touched) pending_[row->index] = controlValue(*row);
  rows_.clear();
  auto* panel = new QWidget;
  auto* form = new QFormLayout(panel);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  for (int i = 0; i < static_cast<int>(groupKeys_.size()); ++i)
    if (groupKeys_[static_cast<std::size_t>(i)] == shownPath_) addRow(panel, form, i);
  scroll_->setWidget(panel);  // frees the previous panel and its controls
}

void ParamDialog::addRow(QWidget* panel, QFormLayout* form, int index) {
  auto row = std::make_unique<Row>();
  Row& r = *row;
  r.index = index;
  const char* name = chain_.name(index) ? chain_.name(index) : "";
  const char* type = chain_.type(index) ? chain_.type(index) : "";
  r.kind = controlKindFor(type, name);
  r.editable = !readOnly_ && !(chain_.flags(index) & (PARAM_READONLY | PARAM_HIDDEN));
  const auto waiting = pending_.find(index);
  const std::string value = waiting != pending_.end() ? waiting->second : chain_.getText(index);
  if (waiting != pending_.end()) {
    r.touched = true;  // back on show, still to be applied
    pending_.erase(waiting);
  }
  auto touch = [&r] { r.touched = true; };

  QWidget* control = nullptr;
  switch (r.kind) {
    case ControlKind::GenotypeEditor: {
      r.genotype = new GenotypeEditor(genman_, panel);
      r.genotype->setGenotype(fromText(value));
      r.genotype->setMinimumHeight(r.genotype->fontMetrics().lineSpacing() * (kMultiLineRows + 3));
      connect(r.genotype, &GenotypeEditor::edited, panel, touch);
      if (!r.editable) makeInert(r.genotype->edit());
      control = r.genotype;
      break;
    }
    case ControlKind::MultiLineText: {
      r.text = new QPlainTextEdit(fromText(value), panel);
      r.text->setMinimumHeight(r.text->fontMetrics().lineSpacing() * kMultiLineRows);
      connect(r.text, &QPlainTextEdit::textChanged, panel, touch);
      control = r.text;
      break;
    }
    case ControlKind::CheckBox:
      r.check = new QCheckBox(panel);
      r.check->setChecked(value == "1");
      connect(r.check, &QCheckBox::clicked, panel, touch);
      control = r.check;
      break;
    case ControlKind::Choice: {
      r.choice = new QComboBox(panel);
      const std::vector<std::string> labels = choiceLabels(type);
      for (const std::string& l : labels) r.choice->addItem(fromText(l));
      const long v = std::strtol(value.c_str(), nullptr, 10);
      if (v >= 0 && v < static_cast<long>(labels.size())) {
        r.choice->setCurrentIndex(static_cast<int>(v));
      } else {
        // A value without a label shows as its number rather than as nothing.
        r.choice->addItem(fromText(value));
        r.choice->setCurrentIndex(r.choice->count() - 1);
      }
      connect(r.choice, &QComboBox::activated, panel, touch);
      control = r.choice;
      break;
    }
    case ControlKind::IntegerEdit:
    case ControlKind::RealEdit:
      control = makeNumeric(r, value);
      break;
    case ControlKind::LineEdit:
    case ControlKind::None:
      r.line = new QLineEdit(fromText(value), panel);
      connect(r.line, &QLineEdit::textEdited, panel, touch);
      control = r.line;
      if (r.kind == ControlKind::None) r.editable = false;
      break;
  }
  if (!r.editable) {
    for (QWidget* w : {static_cast<QWidget*>(r.line), static_cast<QWidget*>(r.text), static_cast<QWidget*>(r.check),
                       static_cast<QWidget*>(r.choice), static_cast<QWidget*>(r.slider), static_cast<QWidget*>(r.spin),
                       static_cast<QWidget*>(r.realSpin)})
      if (w) makeInert(w);
  }
  auto* label = new QLabel(fromText(name), panel);
  if (const char* help = chain_.help(index)) label->setToolTip(fromText(help));
  form->addRow(label, control);
  rows_.push_back(std::move(row));
}

QWidget* ParamDialog::makeNumeric(Row& r, const std::string& value) {
  const char* type = chain_.type(r.index);
  auto* box = new QWidget;
  auto* h = new QHBoxLayout(box);
  h->setContentsMargins(0, 0, 0, 0);
  r.line = new QLineEdit(fromText(value), box);
  r.line->setToolTip(QString::fromStdString(numericHint(type)));
  r.line->setPlaceholderText(QString::fromStdString(numericHint(type)));
  h->addWidget(r.line, 1);

  const NumericControls n = numericControls(type, !r.editable);
  const double number = std::strtod(value.c_str(), nullptr);
  const long position = std::isfinite(number) ? std::lround(std::clamp(number, kSpinMin * 1e6, kSpinMax * 1e6)) : 0;
  if (n.slider) {
    r.slider = new QSlider(Qt::Horizontal, box);
    r.slider->setRange(n.sliderMin, n.sliderMax);
    r.slider->setTickPosition(QSlider::TicksBelow);
    r.slider->setTickInterval(n.tickFrequency);
    r.slider->setValue(static_cast<int>(std::clamp<long>(position, n.sliderMin, n.sliderMax)));
    h->addWidget(r.slider, 2);
    connect(r.slider, &QSlider::valueChanged, box, [&r](int v) {
      r.line->setText(QString::number(v));
      r.touched = true;
      if (r.spin) {
        const QSignalBlocker quiet(r.spin);
        r.spin->setValue(v);
      }
    });
  }
  if (r.kind == ControlKind::RealEdit) {
    r.realSpin = new RealSpinBox(box);
    // A disabled spin still shows the value, even outside (or without) bounds.
    const bool fits = n.realMax > n.realMin && number >= n.realMin && number <= n.realMax;
    r.realSpin->setRange(fits ? n.realMin : number, fits ? n.realMax : number);
    r.realSpin->setSingleStep(n.realStep);
    r.realSpin->setValue(number);
    r.realSpin->setEnabled(n.spinEnabled);
    h->addWidget(r.realSpin);
    connect(r.realSpin, &QDoubleSpinBox::valueChanged, box, [&r](double v) {
      r.line->setText(QString::number(v, 'g', kRealDigits));
      r.touched = true;
    });
  } else {
    r.spin = new QSpinBox(box);
    const long shown = std::clamp<long>(position, static_cast<long>(kSpinMin), static_cast<long>(kSpinMax));
    r.spin->setRange(n.spinMax > n.spinMin ? std::min<long>(n.spinMin, shown) : shown,
                     n.spinMax > n.spinMin ? std::max<long>(n.spinMax, shown) : shown);
    r.spin->setValue(static_cast<int>(shown));
    r.spin->setEnabled(n.spinEnabled);
    h->addWidget(r.spin);
    connect(r.spin, &QSpinBox::valueChanged, box, [&r](int v) {
      r.line->setText(QString::number(v));
      r.touched = true;
      if (r.slider) {
        const QSignalBlocker quiet(r.slider);
        r.slider->setValue(v);
      }
    });
  }
  // A typed number moves the slider and the spin with it.
  connect(r.line, &QLineEdit::textEdited, box, [&r](const QString& text) {
    r.touched = true;
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v)) return;
    if (r.slider) {
      const QSignalBlocker quiet(r.slider);
      r.slider->setValue(static_cast<int>(std::clamp<double>(std::round(v), r.slider->minimum(), r.slider->maximum())));
    }
    if (r.spin) {
      const QSignalBlocker quiet(r.spin);
      r.spin->setValue(static_cast<int>(std::clamp<double>(std::round(v), r.spin->minimum(), r.spin->maximum())));
    }
    if (r.realSpin) {
      const QSignalBlocker quiet(r.realSpin);
      r.realSpin->setValue(v);
    }
  });
  return box;
}

std::string ParamDialog::controlValue(const Row& r) const {
  switch (r.kind) {
    case ControlKind::GenotypeEditor:
      return joinLines(toText(r.genotype->genotype()));
    case ControlKind::MultiLineText:
      return joinLines(toText(r.text->toPlainText()));
    case ControlKind::CheckBox:
      return r.check->isChecked() ? "1" : "0";
    case ControlKind::Choice:
      return std::to_string(r.choice->currentIndex());
    default:
      return r.line ? toText(r.line->text()) : std::string();
  }
}

bool ParamDialog::apply() {
  for (auto& row : rows_)
    if (row->genotype && !row->genotype->settle()) return false;
  std::string warnings;
  for (auto& row : rows_) {
    Row& r = *row;
    // Untouched controls are left alone: writing them back would cut reals to
    // their shown digits and mark unchanged texts as edited.
    if (!r.editable || !r.touched) continue;
    r.touched = false;
    const std::string value = controlValue(r);
    warnings += setValue(r.index, value);
  }
  for (const auto& [index, value] : pending_) warnings += setValue(index, value);
  pending_.clear();
  if (!warnings.empty()) prompts().message(this, PromptKind::Critical, "Bounds warning", fromText(warnings));
  return true;
}

std::string ParamDialog::setValue(int index, const std::string& value) {
  const std::string& group = groupNames_[static_cast<std::size_t>(index)];
  const char* name = chain_.name(index);
  if (chain_.typeLetter(index) == 's' && breaksRecordFormat(value)) return refusedValueLine(name ? name : "", group);
  const int flags = chain_.set(index, value);
  resultFlags_ |= flags;
  return boundsWarningLine(name ? name : "", group, flags, chain_.getText(index));
}

void ParamDialog::okPressed() {
  if (apply()) accept();
}

QWidget* ParamDialog::controlFor(int index) const {
  for (const auto& row : rows_)
    if (row->index == index) {
      const Row& r = *row;
      for (QWidget* w : {static_cast<QWidget*>(r.genotype), static_cast<QWidget*>(r.text), static_cast<QWidget*>(r.check),
                         static_cast<QWidget*>(r.choice), static_cast<QWidget*>(r.line)})
        if (w) return w;
    }
  return nullptr;
}

GenotypeEditor* ParamDialog::genotypeEditor() const {
  for (const auto& row : rows_)
    if (row->genotype) return row->genotype;
  return nullptr;
}

// ---------------------------------------------------------------------------

bool runParamDialog(ParamDialog& dialog) { return currentRunner()(dialog); }

ScopedParamDialogRunner::ScopedParamDialogRunner(ParamDialogRunner runner) : previous_(std::move(currentRunner())) {
  currentRunner() = std::move(runner);
}

ScopedParamDialogRunner::~ScopedParamDialogRunner() { currentRunner() = std::move(previous_); }

int editParameters(QWidget* parent, param& chain, bool readOnly, const QString& title, GenMan* genman,
                   bool* confirmed) {
  ParamDialog dialog(parent, chain, readOnly, title, genman);
  const bool ok = runParamDialog(dialog);
  if (confirmed) *confirmed = ok;
  return dialog.resultFlags();
}

}  // namespace vorlund::ui
