// Reading the program's short sound files: RIFF/WAVE with PCM samples. The
// chunks are walked with every size checked against the file, so a damaged
// or hostile file is refused instead of being read past its end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vorlund {

struct WavSound {
  int channels = 0;
  int sampleRate = 0;
  int bitsPerSample = 0;
  int blockAlign = 0;  // bytes of one sample frame (all channels)
  std::string samples;  // the PCM data as stored
};

// Fills `out` from the bytes of a WAV file. False, with the reason in
// `problem`, unless the file is RIFF/WAVE with a PCM format chunk right after
// the header and a "data" chunk after it (other chunks, such as "fact" or
// "LIST", are skipped).
bool parseWav(std::string_view bytes, WavSound& out, std::string& problem);

// The bytes of a WAV file holding 16-bit mono PCM samples.
std::string makeWav16Mono(const int16_t* samples, std::size_t count, int sampleRate);

}  // namespace vorlund
