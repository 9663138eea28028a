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

// "Analyze phylogeny...": the parameters in the generic dialog ("Phylogeny
// Analysis Parameters"), the analysis, then the window, modally. Cancelling
// the parameters draws nothing.
void runPhylogenyAnalysis(QWidget* parent, UiContext& ctx);

}  // namespace vorlund::ui
