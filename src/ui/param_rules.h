// The decisions of the parameter dialog that need no widget: which control a
// parameter type gets, its hint, slider and spin ranges, the group tree paths
// and the lines of the bounds-warning box. Plain C++ so that tests reach them
// without Qt.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/param_messages.h"

namespace vorlund::ui {

enum class ControlKind {
  MultiLineText,   // "s 1 ..."
  GenotypeEditor,  // "s 1 ..." labelled "Genotype"
  LineEdit,        // any other "s"
  CheckBox,        // exactly "d 0 1"
  Choice,          // "d" with "~" labels
  IntegerEdit,     // any other "d"
  RealEdit,        // "f"
  None,            // an unknown type letter: shown as a disabled line
};

// The display name that turns a multi-line text into the genotype editor.
inline constexpr std::string_view kGenotypeLabel = "Genotype";

ControlKind controlKindFor(const char* type, std::string_view label);

// The labels of a labelled type, in value order ("d 0 2 ~A~B~C" gives A, B, C).
std::vector<std::string> choiceLabels(const char* type);

// "(integer 0÷50)", "(real 0.2÷2)" or "(integer)" for an unbounded type.
std::string numericHint(const char* type);

// Slider and spin control of a numeric edit. Ranges are ints that the widgets
// take without overflow.
struct NumericControls {
  bool slider = false;
  int sliderMin = 0, sliderMax = 0;
  int tickFrequency = 1;
  bool spinEnabled = false;
  int spinMin = 0, spinMax = 0;
  // The spin of a real: the type's own bounds and a step of a tenth of the
  // span's order of magnitude ("f 0.2 2" steps by 0.1).
  double realMin = 0, realMax = 0, realStep = 1;
};

// Spin controls hold 16-bit positions.
inline constexpr double kSpinMin = -32768;
inline constexpr double kSpinMax = 32767;

// trunc(span / 10), then down to a multiple of 5, 10, 100, 1000 when above
// them, and at least 1.
int tickFrequency(double lo, double hi);
NumericControls numericControls(const char* type, bool readOnly);

// A group name split at ":" with blanks around each component removed:
// "POV-Ray: Files" gives {"POV-Ray", "Files"}.
std::vector<std::string> splitGroupPath(std::string_view group);

// The bounds-warning and refusal lines are shared with scripted settings.
using vorlund::boundsWarningLine;
using vorlund::breaksRecordFormat;
using vorlund::kWarningValueChars;
using vorlund::refusedValueLine;

// Multi-line control text as a value: carriage returns removed.
std::string joinLines(std::string_view controlText);

}  // namespace vorlund::ui
