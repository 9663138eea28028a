// The character classes of encoding 2, shared by the mutation, the colouring
// and the converter's reader.
#pragma once

#include <cstring>

namespace vorlund::f2 {

// Receptor characters that mark a connection line as a neuron.
constexpr const char* kReceptors = "GTS*=/!";
// Muscle characters that mark a connection line's second list as a muscle.
constexpr const char* kMuscles = "|@";

inline bool inSet(char c, const char* set) { return c != '\0' && std::strchr(set, c) != nullptr; }

}  // namespace vorlund::f2
