// The program's own sounds, synthesised: short chirps, plinks and thumps as
// 16-bit mono PCM. Deterministic, so the shipped sounds/*.wav can be made
// again byte for byte (scripts/make_sounds.cpp writes them).
#pragma once

#include <string>

namespace vorlund {

constexpr int kSynthRate = 22050;

// The WAV file bytes of one of the sound files ("org-create.wav", ...);
// empty for a name the program has no sound for.
std::string synthesizeSound(const std::string& fileName);

}  // namespace vorlund
