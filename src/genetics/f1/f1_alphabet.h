// The character classes of encoding 1, shared by the parser, the repairs, the
// mutation sites, the similarity measure and the colouring.
#pragma once

#include <cstring>
#include <string_view>

namespace vorlund::f1 {

// Every character that means something in encoding 1.
constexpr std::string_view kAlphabet = "0123456789-X[]():,. RrLlAaCcFfMmSsIiQqWwEeGTS*=/!|@";
// Property modifiers, in the order a normalised run is written.
constexpr std::string_view kModifiers = "RrLlAaCcFfMmSsIiQqWwEe";
// Receptor and setter characters that may stand as a neuron input.
constexpr std::string_view kReceptors = "GTS*=/!";
// Muscle controls that may open a neuron.
constexpr std::string_view kMuscles = "|@";
// Muscle replacements: a space removes the muscle.
constexpr std::string_view kMusclesOrNone = "|@ ";

inline bool inSet(std::string_view set, char c) { return set.find(c) != std::string_view::npos; }
inline bool isWhite(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
inline bool isModifier(char c) { return inSet(kModifiers, c); }
inline bool isReceptor(char c) { return inSet(kReceptors, c); }
inline bool isMuscle(char c) { return c == '|' || c == '@'; }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
// The upper-case letter's lower-case partner and back (modifiers only).
inline char oppositeCase(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
  return c;
}

}  // namespace vorlund::f1
