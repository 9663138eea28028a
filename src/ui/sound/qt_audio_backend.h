// The audio output of the desktop program: Qt Multimedia's default output
// device, one audio sink per voice playing from its own copy of the samples.
#pragma once

#include <memory>
#include <vector>

#include "ui/sound/audio_backend.h"
#include "ui/sound/sound_player.h"

class QAudioSink;
class QBuffer;
class QByteArray;

namespace vorlund {

class QtAudioBackend : public AudioBackend {
 public:
  QtAudioBackend();
  ~QtAudioBackend() override;

  bool open() override;
  int createVoice(const WavSound& sound) override;
  bool isPlaying(int voice) const override;
  void stopAndRewind(int voice) override;
  void play(int voice, int volume, int pan) override;
  void beep(int hertz, int milliseconds) override;

 private:
  struct Voice;
  std::vector<std::unique_ptr<Voice>> voices_;
  std::unique_ptr<Voice> beep_;
  bool open_ = false;
};

// The desktop program's sounds: the sound files looked up in the working
// folder, beside the program and in its data folder, played through
// `backend` (Qt Multimedia's default output when empty). `enabled` is the
// "Sounds" setting. Needs a QCoreApplication.
std::unique_ptr<SoundSystem> makeDesktopSoundSystem(int32_t& enabled, SoundSystem::BackendFactory backend = {});

// 1/100 dB (0 full, negative quieter) as the linear factor audio sinks take.
double linearVolume(int hundredthsOfDecibel);

}  // namespace vorlund
