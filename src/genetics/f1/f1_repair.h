// The text repairs that the repair mode of the encoding-1 parser runs around
// its parse. Each returns whether it changed something that counts as a repair.
#pragma once

#include <string>

namespace vorlund::f1 {

// Every ')' without an open '(' becomes a space; then the last '(' becomes a
// space while any is left open.
bool balanceParentheses(std::string& text);

// Removes neurons holding only white space, commas and muscle characters, and
// branchings holding only white space and commas (with the modifiers in front
// and the skipped text behind), also those that become empty when what they
// held is removed.
bool removeEmptyGroups(std::string& text);

// Removes white space outside neurons and shortens every run of white space
// inside a neuron to its first character. Not counted as a repair.
void squeezeWhiteSpace(std::string& text);

// Removes white space at the start.
void trimLeadingWhiteSpace(std::string& text);

}  // namespace vorlund::f1
