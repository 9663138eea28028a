#include "ui/sound/qt_audio_backend.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QCoreApplication>
#include <QByteArray>
#include <QMediaDevices>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace vorlund {

namespace {
constexpr int kBeepRate = 22050;
constexpr double kBeepAmplitude = 8000;
// Hundredths of a decibel per tenfold amplitude.
constexpr double kCentibelsPerDecade = 2000.0;
}  // namespace

std::unique_ptr<SoundSystem> makeDesktopSoundSystem(int32_t& enabled, SoundSystem::BackendFactory backend) {
  if (!backend) backend = [] { return std::make_unique<QtAudioBackend>(); };
  return std::make_unique<SoundSystem>(enabled, std::move(backend),
                                       defaultSoundFolders());
}

double linearVolume(int hundredthsOfDecibel) {
  return std::clamp(std::pow(10.0, std::min(hundredthsOfDecibel, 0) / kCentibelsPerDecade), 0.0, 1.0);
}

struct QtAudioBackend::Voice {
  Voice(const QAudioFormat& format, QByteArray data) : samples(std::move(data)) {
    buffer.setBuffer(&samples);
    buffer.open(QIODevice::ReadOnly);
    sink = std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), format);
  }
  ~Voice() {
    sink->stop();
    sink.reset();
  }
  QByteArray samples;
  QBuffer buffer;
  std::unique_ptr<QAudioSink> sink;
};

QtAudioBackend::QtAudioBackend() = default;
QtAudioBackend::~QtAudioBackend() = default;

bool QtAudioBackend::open() {
  open_ = !QMediaDevices::defaultAudioOutput().isNull();
  return open_;
}

int QtAudioBackend::createVoice(const WavSound& sound) {
  if (!open_) return -1;
  QAudioFormat format;
  format.setSampleRate(sound.sampleRate);
  format.setChannelCount(sound.channels);
  format.setSampleFormat(sound.bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
  voices_.push_back(std::make_unique<Voice>(format, QByteArray(sound.samples.data(), qsizetype(sound.samples.size()))));
  return static_cast<int>(voices_.size()) - 1;
}

bool QtAudioBackend::isPlaying(int voice) const {
  if (voice < 0 || voice >= static_cast<int>(voices_.size())) return false;
  return voices_[static_cast<std::size_t>(voice)]->sink->state() == QAudio::ActiveState;
}

void QtAudioBackend::stopAndRewind(int voice) {
  if (voice < 0 || voice >= static_cast<int>(voices_.size())) return;
  Voice& v = *voices_[static_cast<std::size_t>(voice)];
  v.sink->stop();
  v.buffer.seek(0);
}

void QtAudioBackend::play(int voice, int volume, int /*pan: the sounds are mono*/) {
  if (voice < 0 || voice >= static_cast<int>(voices_.size())) return;
  Voice& v = *voices_[static_cast<std::size_t>(voice)];
  v.sink->stop();
  v.buffer.seek(0);
  v.sink->setVolume(linearVolume(volume));
  v.sink->start(&v.buffer);
}

void QtAudioBackend::beep(int hertz, int milliseconds) {
  if (!open_) return;
  const int count = kBeepRate * milliseconds / 1000;
  QByteArray tone(count * 2, '\0');
  auto* out = reinterpret_cast<int16_t*>(tone.data());
  for (int i = 0; i < count; ++i)
    out[i] = static_cast<int16_t>(kBeepAmplitude * std::sin(2 * std::numbers::pi * hertz * i / kBeepRate));
  QAudioFormat format;
  format.setSampleRate(kBeepRate);
  format.setChannelCount(1);
  format.setSampleFormat(QAudioFormat::Int16);
  // The tone plays on while the step goes on; a new one replaces it.
  beep_ = std::make_unique<Voice>(format, tone);
  beep_->sink->start(&beep_->buffer);
}

}  // namespace vorlund
