#include "ui/sound/sound_synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "ui/sound/wav_file.h"

namespace vorlund {

namespace {

constexpr double kPeak = 20000;  // of 32767: loud, with room for the mix
constexpr double kTwoPi = 2 * std::numbers::pi;

// A sweep from f0 to f1 hertz whose loudness follows `envelope(t)` for t in 0..1.
struct Tone {
  double seconds;
  double f0, f1;
  double noise = 0;      // share of noise mixed in
  double harmonic = 0;   // share of the octave above
  double decay = 0;      // exponential decay per second (0: the envelope alone)
};

// A small fixed linear congruential generator, so the noise is the same on every machine.
struct Noise {
  uint32_t state = 12345;
  double next() {
    state = state * 1103515245u + 12345u;
    return static_cast<double>((state >> 8) & 0xffff) / 32768.0 - 1.0;
  }
};

std::string render(const Tone& t) {
  const int n = static_cast<int>(t.seconds * kSynthRate);
  std::vector<int16_t> out(static_cast<std::size_t>(n));
  Noise noise;
  double phase = 0;
  for (int i = 0; i < n; ++i) {
    const double u = static_cast<double>(i) / n;
    const double f = t.f0 + (t.f1 - t.f0) * u;
    phase += kTwoPi * f / kSynthRate;
    // A quick attack and a smooth release keep the ends from clicking.
    const double attack = std::min(1.0, u * 40);
    const double release = std::min(1.0, (1 - u) * 8);
    const double decay = t.decay > 0 ? std::exp(-t.decay * u * t.seconds) : 1.0;
    double v = std::sin(phase) + t.harmonic * std::sin(2 * phase);
    v = v * (1 - t.noise) + noise.next() * t.noise;
    v *= kPeak * attack * release * decay / (1 + t.harmonic);
    out[static_cast<std::size_t>(i)] = static_cast<int16_t>(std::lround(std::clamp(v, -32767.0, 32767.0)));
  }
  return makeWav16Mono(out.data(), out.size(), kSynthRate);
}

}  // namespace

std::string synthesizeSound(const std::string& fileName) {
  if (fileName == "org-create.wav") return render({0.16, 420, 1250, 0, 0.3, 6});   // a rising chirp
  if (fileName == "food-create.wav") return render({0.12, 1650, 1600, 0, 0.5, 30});  // a plink
  if (fileName == "fight.wav") return render({0.18, 220, 90, 0.55, 0, 18});         // a scuffle
  if (fileName == "death.wav") return render({0.40, 640, 140, 0.05, 0.2, 4});       // a falling chirp
  if (fileName == "ground.wav") return render({0.09, 110, 60, 0.2, 0, 35});          // a thump
  return {};
}

}  // namespace vorlund
