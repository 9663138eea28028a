#include "ui/dialog_hooks.h"

#include <utility>

namespace vorlund::ui {

namespace {
ParameterDialogFn& parameterDialog() {
  static ParameterDialogFn fn;
  return fn;
}
PhylogenyDialogFn& phylogenyDialog() {
  static PhylogenyDialogFn fn;
  return fn;
}
}  // namespace

void installParameterDialog(ParameterDialogFn fn) { parameterDialog() = std::move(fn); }
void installPhylogenyDialog(PhylogenyDialogFn fn) { phylogenyDialog() = std::move(fn); }

bool showParameterDialog(QWidget* parent, const QString& title, param& acc) {
  if (!parameterDialog()) return false;
  parameterDialog()(parent, title, acc);
  return true;
}

bool showPhylogenyDialog(QWidget* parent, UiContext& ctx) {
  if (!phylogenyDialog()) return false;
  phylogenyDialog()(parent, ctx);
  return true;
}

}  // namespace vorlund::ui
