// A recording stand-in for the audio output, for the sound and main window tests.
#pragma once

#include <string>
#include <vector>

#include "ui/sound/audio_backend.h"

namespace vorlund {

// Records what the player asks of the audio output.
struct FakeAudio {
  bool device = true;
  int voices = 0;
  std::vector<bool> playing;
  std::vector<std::string> calls;  // "play v vol", "stop v", "beep hz ms"
};

class FakeBackend : public AudioBackend {
 public:
  explicit FakeBackend(FakeAudio& a) : a_(a) {}
  bool open() override { return a_.device; }
  int createVoice(const WavSound&) override {
    a_.playing.push_back(false);
    return a_.voices++;
  }
  bool isPlaying(int v) const override { return a_.playing[static_cast<std::size_t>(v)]; }
  void stopAndRewind(int v) override {
    a_.playing[static_cast<std::size_t>(v)] = false;
    a_.calls.push_back("stop " + std::to_string(v));
  }
  void play(int v, int volume, int) override {
    a_.playing[static_cast<std::size_t>(v)] = true;
    a_.calls.push_back("play " + std::to_string(v) + " " + std::to_string(volume));
  }
  void beep(int hz, int ms) override { a_.calls.push_back("beep " + std::to_string(hz) + " " + std::to_string(ms)); }

 private:
  FakeAudio& a_;
};

}  // namespace vorlund
