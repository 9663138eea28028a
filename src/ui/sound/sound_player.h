// The sounds of the world: five slots loaded from the "sounds" folder, each
// with five voices so a sound can overlap itself, played on the world's
// creature-started, hit and touch events while the "Sounds" setting is on.
//
// SoundSystem is owned by the main window; it registers its handlers on the
// world's hook lists (attach) and must be detached before the world goes.
// The player itself is made on the first event and dropped whenever the
// setting is found off.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/sound/audio_backend.h"

namespace vorlund {

class Life;
class org;
struct ses;

// The sound slots, in file order.
constexpr int SOUND_ORG_CREATE = 0;
constexpr int SOUND_FOOD_CREATE = 1;
constexpr int SOUND_FIGHT = 2;
constexpr int SOUND_DEATH = 3;
constexpr int SOUND_GROUND = 4;
constexpr int kSoundSlots = 5;
constexpr int kSoundVoices = 5;
constexpr std::array<const char*, kSoundSlots> kSoundFiles = {"org-create.wav", "food-create.wav", "fight.wav",
                                                                 "death.wav", "ground.wav"};
// The empty-slot tone: ((slot x step) mod span) + base hertz, this long.
constexpr int kBeepStepHz = 100;
constexpr int kBeepSpanHz = 1000;
constexpr int kBeepBaseHz = 1000;
constexpr int kBeepMs = 20;
// Landings at this vertical speed or faster are loudest; slower ones are
// quieter by kTouchVolumePerSpeed hundredths of a decibel per unit of speed.
constexpr double kTouchLoudSpeed = 0.1;
constexpr double kTouchVolumePerSpeed = 30000;

// The landing volume for a vertical speed, or false when the end did not move.
bool touchVolume(double verticalSpeed, int& volume);

// Five slots of loaded sounds over one backend.
class SoundPlayer {
 public:
  explicit SoundPlayer(std::unique_ptr<AudioBackend> backend) : backend_(std::move(backend)) {}

  // Loads `path` into `slot` with `voices` voices; false (slot left empty)
  // when the file cannot be read or is not a usable WAV file.
  bool load(int slot, const std::string& path, int voices = kSoundVoices);
  bool loaded(int slot) const;
  // Plays a slot (volume in 1/100 dB, pan 0 centre); an empty slot beeps.
  void play(int slot, int volume, int pan = 0);
  int cursor(int slot) const { return slots_[static_cast<std::size_t>(slot)].cursor; }

 private:
  struct Slot {
    std::vector<int> voices;
    int cursor = 0;
  };
  std::unique_ptr<AudioBackend> backend_;
  std::array<Slot, kSoundSlots> slots_;
};

// The one message of a run without an audio device.
inline constexpr const char* kNoAudioOutput = "No audio output: the world's sounds are silent in this run.";

class SoundSystem {
 public:
  using BackendFactory = std::function<std::unique_ptr<AudioBackend>()>;
  // `enabled` is the "Sounds" setting (observed; without an audio device the
  // sounds stay silent for the run, the setting unchanged). `folders` are searched in order for the sound files.
  SoundSystem(int32_t& enabled, BackendFactory factory, std::vector<std::string> folders);
  ~SoundSystem();
  SoundSystem(const SoundSystem&) = delete;
  SoundSystem& operator=(const SoundSystem&) = delete;

  // Registers the handlers on the world's hook lists / removes them again.
  void attach(Life& life);
  void detach();
  // Between steps: the ground-touch handler is on the world's list only while
  // a sound could play (the setting on, no failed device). With it listed the
  // step records every first touch of every stick end, which a run that can
  // play nothing should not pay for. Switching the setting off also frees the
  // player, as the next event would.
  void followSetting();

  // The on-demand check every event makes: false when nothing can play.
  bool demand();
  bool hasPlayer() const { return player_ != nullptr; }

  // The event handlers, as the hook lists call them.
  static void onStarted(void* self, org* who);
  static void onHit(void* self, org* hitter, org* hit);
  static void onTouch(void* self, org* who, ses* end);
  // For a living creature's death; no hook list raises it yet.
  static void onDeath(void* self, org* who);

  // Where the file of a slot is found: the first folder that has it, else
  // the path in the first folder (which the warning then names).
  std::string soundPath(const std::string& file) const;

 private:
  void play(int slot, int volume);
  // With the setting off: frees the player and forgets a failed device.
  bool releaseIfOff();
  bool mayPlay() const { return *enabled_ != 0 && !noDevice_; }

  int32_t* enabled_;
  BackendFactory factory_;
  std::vector<std::string> folders_;
  std::unique_ptr<SoundPlayer> player_;
  bool noDevice_ = false;  // the device failed to open in this run
  Life* life_ = nullptr;
};

// The folders searched for sounds: "sounds/" in each data folder, in the
// data search order.
constexpr const char* kSoundFolder = "sounds/";
std::vector<std::string> defaultSoundFolders();

}  // namespace vorlund
