// What the sound player needs of an audio output: a device, voices that each
// hold one copy of a sound, and a short tone. The desktop program uses Qt
// Multimedia; tests use a fake that records the calls.
#pragma once

#include "ui/sound/wav_file.h"

namespace vorlund {

class AudioBackend {
 public:
  virtual ~AudioBackend() = default;
  // Opens the output device; false when there is none.
  virtual bool open() = 0;
  // A new voice holding its own copy of the sound; returns its number
  // (0, 1, 2, ... in creation order), or -1 when it cannot be made.
  virtual int createVoice(const WavSound& sound) = 0;
  virtual bool isPlaying(int voice) const = 0;
  virtual void stopAndRewind(int voice) = 0;
  // Plays the voice once from where it stands; volume in 1/100 dB (0 full,
  // negative quieter), pan 0 for the centre.
  virtual void play(int voice, int volume, int pan) = 0;
  // A short tone that must not hold the caller up.
  virtual void beep(int hertz, int milliseconds) = 0;
};

}  // namespace vorlund
