// Dialogs the main window opens but other parts of the program implement:
// the generic parameter dialog and the phylogeny window. Their implementation
// installs itself here once (from its own file, at static initialisation or
// from the main window's start-up); until then the main window says that the
// dialog is not available. Both run modally and return when closed.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace vorlund {
class param;
}

namespace vorlund::ui {

class UiContext;

// Edits the parameters of `acc` (a whole chain) in a dialog titled `title`.
using ParameterDialogFn = std::function<void(QWidget* parent, const QString& title, param& acc)>;
// The phylogeny analysis of the simulator's genetic history.
using PhylogenyDialogFn = std::function<void(QWidget* parent, UiContext& ctx)>;

void installParameterDialog(ParameterDialogFn fn);
void installPhylogenyDialog(PhylogenyDialogFn fn);

// What the main window calls; false when nothing is installed.
bool showParameterDialog(QWidget* parent, const QString& title, param& acc);
bool showPhylogenyDialog(QWidget* parent, UiContext& ctx);

}  // namespace vorlund::ui
