#include "ui/sound/wav_file.h"

#include <cstring>
#include <utility>

namespace vorlund {

namespace {

// Layout of the header and the format chunk, in bytes.
constexpr std::size_t kRiffHeader = 12;    // "RIFF", size, "WAVE"
constexpr std::size_t kChunkHeader = 8;    // identifier and size
constexpr std::size_t kPcmFormatSize = 16;  // the part of the format chunk read here
constexpr uint16_t kFormatPcm = 1;

uint32_t le32(std::string_view b, std::size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}
uint16_t le16(std::string_view b, std::size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

void put32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xff);
}
void put16(std::string& s, uint16_t v) {
  s += static_cast<char>(v & 0xff);
  s += static_cast<char>(v >> 8);
}

}  // namespace

bool parseWav(std::string_view b, WavSound& out, std::string& problem) {
  if (b.size() < kRiffHeader + kChunkHeader || b.substr(0, 4) != "RIFF" || b.substr(8, 4) != "WAVE") {
    problem = "not a RIFF/WAVE file";
    return false;
  }
  std::size_t at = kRiffHeader;
  const uint32_t formatSize = le32(b, at + 4);
  if (b.substr(at, 4) != "fmt " || formatSize < kPcmFormatSize || formatSize > b.size() - at - kChunkHeader) {
    problem = "no format chunk after the header";
    return false;
  }
  const std::size_t f = at + kChunkHeader;
  if (le16(b, f) != kFormatPcm) {
    problem = "not PCM";
    return false;
  }
  WavSound w;
  w.channels = le16(b, f + 2);
  w.sampleRate = static_cast<int>(le32(b, f + 4));
  w.blockAlign = le16(b, f + 12);
  w.bitsPerSample = le16(b, f + 14);
  if (w.channels == 0 || w.blockAlign == 0 || w.sampleRate <= 0 ||
      (w.bitsPerSample != 8 && w.bitsPerSample != 16) || w.blockAlign != w.channels * w.bitsPerSample / 8) {
    problem = "unusable sample format";
    return false;
  }
  // Chunks are padded to an even size.
  at = f + formatSize + (formatSize & 1);
  while (true) {
    if (at > b.size() || b.size() - at < kChunkHeader) {
      problem = "no sample data";
      return false;
    }
    const uint32_t size = le32(b, at + 4);
    if (size > b.size() - at - kChunkHeader) {
      problem = "a chunk runs past the end of the file";
      return false;
    }
    if (b.substr(at, 4) == "data") {
      const std::size_t usable = size - size % static_cast<uint32_t>(w.blockAlign);
      w.samples.assign(b.substr(at + kChunkHeader, usable));
      out = std::move(w);
      return true;
    }
    at += kChunkHeader + size + (size & 1);
  }
}

std::string makeWav16Mono(const int16_t* samples, std::size_t count, int sampleRate) {
  const auto dataSize = static_cast<uint32_t>(count * 2);
  std::string s = "RIFF";
  put32(s, 36 + dataSize);
  s += "WAVEfmt ";
  put32(s, kPcmFormatSize);
  put16(s, kFormatPcm);
  put16(s, 1);
  put32(s, static_cast<uint32_t>(sampleRate));
  put32(s, static_cast<uint32_t>(sampleRate) * 2);
  put16(s, 2);
  put16(s, 16);
  s += "data";
  put32(s, dataSize);
  for (std::size_t i = 0; i < count; ++i) put16(s, static_cast<uint16_t>(samples[i]));
  return s;
}

}  // namespace vorlund
