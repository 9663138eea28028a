// The generic parameter dialog: a tree of the groups of any parameter chain
// and, for the chosen group, one control per parameter made by a factory keyed
// on the parameter's type. Values go back through the chain's set-from-text,
// which clamps them; clamped values are listed in one "Bounds warning" box.
// The chain and the genetic manager are observed; the caller owns both.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/param_rules.h"

class QTreeWidget;
class QTreeWidgetItem;
class QScrollArea;
class QWidget;
class QLineEdit;
class QPlainTextEdit;
class QCheckBox;
class QComboBox;
class QSlider;
class QSpinBox;
class QDoubleSpinBox;
class QPushButton;
class QFormLayout;

namespace vorlund {
class param;
class GenMan;
}  // namespace vorlund

namespace vorlund::ui {

class GenotypeEditor;

class ParamDialog : public QDialog {
  Q_OBJECT
 public:
  // `genman` colours "Genotype" texts; without it they are plain multi-line texts.
  ParamDialog(QWidget* parent, param& chain, bool readOnly, const QString& title, GenMan* genman = nullptr);
  ~ParamDialog() override;

  // Bitwise OR of the flags of every set this dialog made (PSET_CHANGED tells a change).
  int resultFlags() const { return resultFlags_; }
  bool changed() const;
  // Whether the user closed the dialog with OK.
  bool confirmed() const { return result() == QDialog::Accepted; }

  // Shows the group of this path (components joined with ":"); false when there is none.
  bool showGroup(const QString& path);
  QString shownGroup() const { return shownPath_; }
  QTreeWidget* groupTree() const { return tree_; }

  // The first control made for parameter `index` of the chain, or nullptr when
  // the shown group does not hold it.
  QWidget* controlFor(int index) const;
  // The genotype editor of the shown group, if it has one.
  GenotypeEditor* genotypeEditor() const;

  // Applies the edited controls of the shown group and the edits left waiting
  // in other groups; false (nothing applied)
  // when the user went back to a genotype the editor questioned.
  bool apply();

 private:
  // One shown parameter and its controls.
  struct Row {
    int index = -1;
    ControlKind kind = ControlKind::None;
    bool editable = false;
    bool touched = false;  // the user changed it since it was filled
    QLineEdit* line = nullptr;
    QPlainTextEdit* text = nullptr;
    GenotypeEditor* genotype = nullptr;
    QCheckBox* check = nullptr;
    QComboBox* choice = nullptr;
    QSlider* slider = nullptr;
    QSpinBox* spin = nullptr;
    QDoubleSpinBox* realSpin = nullptr;
  };

  void buildTree();
  void rebuildControls();
  void addRow(QWidget* panel, QFormLayout* form, int index);
  QWidget* makeNumeric(Row& row, const std::string& value);
  std::string controlValue(const Row& row) const;
  // Sets one parameter from text; the line for the warning box, if any.
  std::string setValue(int index, const std::string& value);
  void okPressed();

  param& chain_;
  bool readOnly_;
  GenMan* genman_;
  int resultFlags_ = 0;
  // Per chain index: the raw group name ("" for hidden parameters) and its path key.
  std::vector<std::string> groupNames_;
  std::vector<QString> groupKeys_;
  QString shownPath_;
  QTreeWidget* tree_;
  QScrollArea* scroll_;
  std::vector<std::unique_ptr<Row>> rows_;
  // Edited values of groups not shown now, by chain index, until OK or Apply.
  std::map<int, std::string> pending_;
};

// How a caller runs a dialog modally; tests replace it so that nothing blocks.
// The runner returns whether the user confirmed.
using ParamDialogRunner = std::function<bool(ParamDialog&)>;

// Runs `dialog` with the runner in use (exec() unless a test installed one).
bool runParamDialog(ParamDialog& dialog);

class ScopedParamDialogRunner {
 public:
  explicit ScopedParamDialogRunner(ParamDialogRunner runner);
  ~ScopedParamDialogRunner();
  ScopedParamDialogRunner(const ScopedParamDialogRunner&) = delete;
  ScopedParamDialogRunner& operator=(const ScopedParamDialogRunner&) = delete;

 private:
  ParamDialogRunner previous_;
};

// Creates, runs and frees a dialog; returns its result flags and, through
// `confirmed`, whether the user pressed OK.
int editParameters(QWidget* parent, param& chain, bool readOnly, const QString& title, GenMan* genman = nullptr,
                   bool* confirmed = nullptr);

}  // namespace vorlund::ui
