// The phylogeny analysis window ("Phylogeny analysis"): the family tree of the
// genetic history, redrawn at every size, with a snapshot and a picture copy;
// and the small form that asks for the analysis parameters.
#pragma once

#include <QDialog>

#include "genetics/phylogeny/evolstudy.h"
#include "ui/area_widget.h"

class QComboBox;

namespace vorlund::ui {

class UiContext;

class PhylogenyArea : public AreaWidget {
  Q_OBJECT
 public:
  PhylogenyArea(const EvolStudy& study, QWidget* parent) : AreaWidget(parent), study_(study) {}

 protected:
  void paintView(QPainter& painter, int w, int h) override;

 private:
  const EvolStudy& study_;
};

class PhylogenyWindow : public QDialog {
  Q_OBJECT
 public:
  // `study` holds an analysis already made; it is observed and must outlive the window.
  PhylogenyWindow(const EvolStudy& study, QWidget* parent);
  PhylogenyArea* area() const { return area_; }

 private:
  PhylogenyArea* area_;
};

// "Phylogeny Analysis Parameters": one choice per parameter of the table.
class PhylogenyParamsDialog : public QDialog {
  Q_OBJECT
 public:
  PhylogenyParamsDialog(param& params, QWidget* parent);
  // Writes the choices back to the parameters.
  void apply();

 private:
  param& params_;
  std::vector<QComboBox*> choices_;
};

// "Analyze phylogeny...": the parameters, the analysis, then the window, modally.
void runPhylogenyAnalysis(QWidget* parent, UiContext& ctx);

}  // namespace vorlund::ui
