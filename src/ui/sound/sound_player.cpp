#include "ui/sound/sound_player.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/data_folders.h"
#include "core/message.h"
#include "world/life.h"

namespace vorlund {

bool touchVolume(double verticalSpeed, int& volume) {
  const double s = std::min(std::abs(verticalSpeed), kTouchLoudSpeed);
  if (!(s > 0)) return false;
  volume = static_cast<int>((s - kTouchLoudSpeed) * kTouchVolumePerSpeed);
  return true;
}

bool SoundPlayer::load(int slot, const std::string& path, int voices) {
  Slot& s = slots_.at(static_cast<std::size_t>(slot));
  s = Slot{};
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  WavSound sound;
  std::string problem;
  if (!parseWav(bytes.str(), sound, problem)) return false;
  for (int i = 0; i < voices; ++i) {
    const int v = backend_->createVoice(sound);
    if (v < 0) break;
    s.voices.push_back(v);
  }
  return !s.voices.empty();
}

bool SoundPlayer::loaded(int slot) const { return !slots_.at(static_cast<std::size_t>(slot)).voices.empty(); }

void SoundPlayer::play(int slot, int volume, int pan) {
  if (slot < 0 || slot >= kSoundSlots) return;
  Slot& s = slots_[static_cast<std::size_t>(slot)];
  if (s.voices.empty()) {
    backend_->beep((slot * kBeepStepHz) % kBeepSpanHz + kBeepBaseHz, kBeepMs);
    return;
  }
  const int count = static_cast<int>(s.voices.size());
  int voice = s.voices[static_cast<std::size_t>(s.cursor)];
  if (backend_->isPlaying(voice)) {
    if (count == 1) return;
    s.cursor = (s.cursor + 1) % count;
    voice = s.voices[static_cast<std::size_t>(s.cursor)];
    if (backend_->isPlaying(voice)) backend_->stopAndRewind(voice);
  }
  backend_->play(voice, volume, pan);
}

SoundSystem::SoundSystem(int32_t& enabled, BackendFactory factory, std::vector<std::string> folders)
    : enabled_(&enabled), factory_(std::move(factory)), folders_(std::move(folders)) {}

SoundSystem::~SoundSystem() { detach(); }

void SoundSystem::attach(Life& life) {
  detach();
  life_ = &life;
  life.startedHooks.push_back({&SoundSystem::onStarted, this});
  life.hitHooks.push_back({&SoundSystem::onHit, this});
  followSetting();  // the touch handler, if a sound could play
}

void SoundSystem::followSetting() {
  if (life_ == nullptr) return;
  releaseIfOff();
  auto& hooks = life_->touchHooks;
  const auto listed = std::find_if(hooks.begin(), hooks.end(), [this](const TouchHook& h) { return h.arg == this; });
  if (mayPlay() && listed == hooks.end())
    hooks.push_back({&SoundSystem::onTouch, this, false});
  else if (!mayPlay() && listed != hooks.end())
    hooks.erase(listed);
}

void SoundSystem::detach() {
  if (life_ == nullptr) return;
  auto drop = [this](auto& hooks) {
    hooks.erase(std::remove_if(hooks.begin(), hooks.end(), [this](const auto& h) { return h.arg == this; }),
                hooks.end());
  };
  drop(life_->startedHooks);
  drop(life_->hitHooks);
  drop(life_->touchHooks);
  life_ = nullptr;
}

std::string SoundSystem::soundPath(const std::string& file) const {
  for (const std::string& folder : folders_) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(folder + file, ec)) return folder + file;
  }
  return (folders_.empty() ? std::string() : folders_.front()) + file;
}

bool SoundSystem::releaseIfOff() {
  if (*enabled_ != 0) return false;
  player_.reset();
  noDevice_ = false;  // switched on again later, the device is tried again
  return true;
}

bool SoundSystem::demand() {
  if (releaseIfOff()) return false;
  if (player_) return true;
  if (noDevice_) return false;
  std::unique_ptr<AudioBackend> backend = factory_ ? factory_() : nullptr;
  if (!backend || !backend->open()) {
    // Said once; the setting stays as the user chose it, so a later start
    // with a working device plays again.
    logMessage("Sound", "Open", kNoAudioOutput, LOG_WARNING);
    noDevice_ = true;
    return false;
  }
  player_ = std::make_unique<SoundPlayer>(std::move(backend));
  for (int slot = 0; slot < kSoundSlots; ++slot) {
    const std::string path = soundPath(kSoundFiles[static_cast<std::size_t>(slot)]);
    if (!player_->load(slot, path)) logMessage("MainProgram", "Start", "Error loading sound file: " + path, LOG_WARNING);
  }
  return true;
}

void SoundSystem::play(int slot, int volume) {
  if (demand()) player_->play(slot, volume);
}

void SoundSystem::onStarted(void* self, org* who) {
  static_cast<SoundSystem*>(self)->play(who->typ == ORG_FOOD ? SOUND_FOOD_CREATE : SOUND_ORG_CREATE, 0);
}

void SoundSystem::onHit(void* self, org*, org*) { static_cast<SoundSystem*>(self)->play(SOUND_FIGHT, 0); }

void SoundSystem::onTouch(void* self, org*, ses* end) {
  auto* s = static_cast<SoundSystem*>(self);
  // The check comes first, as for every event, so a switched-off setting frees the player.
  if (!s->demand()) return;
  int volume = 0;
  if (touchVolume(end->v.z, volume)) s->player_->play(SOUND_GROUND, volume);
}

void SoundSystem::onDeath(void* self, org* who) {
  if (who->typ != ORG_FOOD) static_cast<SoundSystem*>(self)->play(SOUND_DEATH, 0);
}

std::vector<std::string> defaultSoundFolders() {
  std::vector<std::string> folders;
  for (const std::string& dir : dataFolders()) folders.push_back(dir + kSoundFolder);
  return folders;
}

}  // namespace vorlund
