// The decisions of the lists window that need no widget: column visibility
// strings, column weights and widths, and the infos that New, Copy and Edit
// leave on a genotype. Plain C++ so that tests reach them without Qt.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorlund::ui {

// Weight of a hidden column, and of shown integer, real and other columns.
inline constexpr int kHiddenColumnWeight = 10;
inline constexpr int kIntegerColumnWeight = 50;
inline constexpr int kRealColumnWeight = 80;
inline constexpr int kTextColumnWeight = 100;
// Added to the weight sum when the widths are spread over the list.
inline constexpr int kAdjustSlack = 30;

// Character i of the visibility string is '0' for a hidden column; columns
// past the end of the string are shown.
bool columnShown(std::string_view visibility, int column);
// The string with column i flipped (extended with '1' up to i first).
std::string toggleColumn(std::string visibility, int column);
int columnWeight(char typeLetter, bool shown);
// Each column's width when the weights are spread over `clientWidth`.
std::vector<int> adjustedWidths(const std::vector<int>& weights, int clientWidth);

// Texts New and Copy start from, and the marks they leave.
inline constexpr std::string_view kNewGenes = "X";
inline constexpr std::string_view kNewName = "Anonymous Vorlund";
inline constexpr std::string_view kManuallyCreated = "(manually created)";
inline constexpr std::string_view kManuallyModified = "(manually modified)";

// The info of a new genotype after its dialog: "(manually created)" goes on a
// line of its own at the end when the user changed something and the info
// is no longer exactly that mark.
std::string infoAfterNew(const std::string& info, bool changed);
// The name and info of a copy of `name`/`info`.
std::string copyName(const std::string& name);
std::string copyInfo(const std::string& info, const std::string& copiedName);
// The info after the user edited a genotype: "(manually modified)" goes at the
// end unless either mark is already in it.
std::string infoAfterEdit(const std::string& info, bool changed);

}  // namespace vorlund::ui
