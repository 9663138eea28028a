#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fake_audio.h"
#include "support/message_capture.h"
#include "support/scratch.h"
#include "ui/sound/qt_audio_backend.h"
#include "ui/sound/sound_player.h"
#include "ui/sound/sound_synth.h"
#include "world/life_test_support.h"

namespace vorlund {
namespace {

using test_support::MessageCapture;

std::string shippedSounds() { return std::string(VORLUND_SOURCE_DIR) + "/sounds/"; }

// The sound system on a small world, reading the shipped sounds (or `folder`).
struct Sounds {
  explicit Sounds(std::string folder = shippedSounds())
      : system(enabled, [this] { return std::make_unique<FakeBackend>(audio); }, {std::move(folder)}) {
    system.attach(w.life);
  }
  int32_t enabled = 1;
  FakeAudio audio;
  testing_life::World w;
  SoundSystem system;
};

TEST(Sound, EachEventPlaysItsSlotAtItsVolume) {
  Sounds s;
  org creature(&s.w.genetics, "X"), ball(&s.w.genetics, "*");
  ball.typ = ORG_FOOD;
  ses end;
  for (const OrgHook& h : s.w.life.startedHooks) h.fn(h.arg, &creature);
  for (const OrgHook& h : s.w.life.startedHooks) h.fn(h.arg, &ball);
  for (const HitHook& h : s.w.life.hitHooks) h.fn(h.arg, &creature, &creature);
  for (double vz : {-0.05, 0.3, 0.0}) {
    end.v.z = vz;
    for (const TouchHook& h : s.w.life.touchHooks) h.fn(h.arg, &creature, &end);
  }
  // Five voices per slot, made in slot order: slot k's first voice is 5k.
  EXPECT_EQ(s.audio.calls, (std::vector<std::string>{"play 0 0", "play 5 0", "play 10 0", "play 20 -1500", "play 21 0"}));
}

TEST(Sound, RepeatedPlaysRotateThroughTheVoicesAndRestartABusyOne) {
  Sounds s;
  ASSERT_TRUE(s.system.demand());
  for (int i = 0; i < 7; ++i) SoundSystem::onHit(&s.system, nullptr, nullptr);
  EXPECT_EQ(s.audio.calls, (std::vector<std::string>{"play 10 0", "play 11 0", "play 12 0", "play 13 0", "play 14 0",
                                                     "stop 10", "play 10 0", "stop 11", "play 11 0"}));
  // A free voice at the cursor is taken without moving on.
  s.audio.calls.clear();
  s.audio.playing.assign(s.audio.playing.size(), false);
  SoundSystem::onHit(&s.system, nullptr, nullptr);
  EXPECT_EQ(s.audio.calls, std::vector<std::string>{"play 11 0"});
}

TEST(Sound, MissingFilesWarnOnceAndTheirSlotsBeepWithoutWaiting) {
  MessageCapture log;
  Sounds s("/nonexistent/sounds/");
  org creature(&s.w.genetics, "X");
  SoundSystem::onStarted(&s.system, &creature);
  SoundSystem::onHit(&s.system, nullptr, nullptr);
  EXPECT_EQ(s.audio.calls, (std::vector<std::string>{"beep 1000 20", "beep 1200 20"}));
  ASSERT_EQ(log.entries.size(), 5u);
  EXPECT_TRUE(log.has("Start", "Error loading sound file: /nonexistent/sounds/org-create.wav"));
  EXPECT_EQ(log.entries[0].level, LOG_WARNING);
}

TEST(Sound, SwitchingOffFreesThePlayerAndNoDeviceIsReportedOnceLeavingTheSetting) {
  Sounds s;
  ASSERT_TRUE(s.system.demand());
  s.enabled = 0;
  SoundSystem::onHit(&s.system, nullptr, nullptr);
  EXPECT_FALSE(s.system.hasPlayer());
  s.enabled = 1;  // on again: the player comes back with its files
  SoundSystem::onHit(&s.system, nullptr, nullptr);
  EXPECT_TRUE(s.system.hasPlayer());
  EXPECT_EQ(s.audio.voices, 2 * kSoundSlots * kSoundVoices);

  MessageCapture log;
  Sounds silent;
  silent.audio.device = false;
  for (int i = 0; i < 3; ++i) SoundSystem::onHit(&silent.system, nullptr, nullptr);
  ASSERT_EQ(log.entries.size(), 1u);
  EXPECT_TRUE(log.has("Open", kNoAudioOutput));
  EXPECT_EQ(log.entries[0].level, LOG_WARNING);
  // The saved setting must not turn sounds off for good after one start without audio.
  EXPECT_EQ(silent.enabled, 1);
  EXPECT_TRUE(silent.audio.calls.empty());
}

TEST(Sound, DetachingLeavesTheWorldsHooksAsTheyWere) {
  testing_life::World w;
  int32_t on = 1;
  {
    SoundSystem s(on, nullptr, {});
    s.attach(w.life);
    EXPECT_EQ(w.life.touchHooks.size(), 1u);
  }
  EXPECT_TRUE(w.life.startedHooks.empty());
  EXPECT_TRUE(w.life.hitHooks.empty());
  EXPECT_TRUE(w.life.touchHooks.empty());
}

TEST(Sound, TheTouchHandlerIsListedOnlyWhileASoundCouldPlay) {
  Sounds s;
  s.audio.device = false;
  ASSERT_EQ(s.w.life.touchHooks.size(), 1u);
  SoundSystem::onHit(&s.system, nullptr, nullptr);  // the device fails to open
  s.system.followSetting();
  EXPECT_TRUE(s.w.life.touchHooks.empty());
  // Off and on again: the device is tried once more, so the handler is back.
  s.enabled = 0;
  s.system.followSetting();
  EXPECT_TRUE(s.w.life.touchHooks.empty());
  s.enabled = 1;
  s.system.followSetting();
  s.system.followSetting();
  EXPECT_EQ(s.w.life.touchHooks.size(), 1u);
  // Switching off frees a working player without waiting for an event.
  s.audio.device = true;
  ASSERT_TRUE(s.system.demand());
  s.enabled = 0;
  s.system.followSetting();
  EXPECT_FALSE(s.system.hasPlayer());
  EXPECT_TRUE(s.w.life.touchHooks.empty());
}

// `v` as `n` little-endian bytes.
std::string le(uint32_t v, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += static_cast<char>((v >> (8 * i)) & 0xff);
  return s;
}
// A WAV file from its chunks, with the RIFF header around them.
std::string riff(const std::string& chunks) { return "RIFF" + le(chunks.size() + 4, 4) + "WAVE" + chunks; }
std::string chunk(const std::string& id, const std::string& body, uint32_t size = UINT32_MAX) {
  const std::string pad = body.size() % 2 ? std::string(1, '\0') : "";
  return id + le(size == UINT32_MAX ? static_cast<uint32_t>(body.size()) : size, 4) + body + pad;
}
// A format chunk body: tag, channels, rate 8000, bytes per second, block, bits.
std::string fmt(int tag, int channels, int block, int bits) {
  return le(tag, 2) + le(channels, 2) + le(8000, 4) + le(8000 * block, 4) + le(block, 2) + le(bits, 2);
}

TEST(Sound, WavFilesAreAcceptedOnlyWhenWellFormed) {
  const std::string pcm = chunk("fmt ", fmt(1, 1, 2, 16));
  const std::string data = chunk("data", "abcd");
  WavSound w;
  std::string why;
  for (const std::string& good : {riff(pcm + data), riff(pcm + chunk("fact", "1234") + data),
                                  riff(pcm + chunk("LIST", "INFOxyz") + data)}) {
    ASSERT_TRUE(parseWav(good, w, why)) << why;
    EXPECT_EQ(w.samples, "abcd");  // never the LIST text
  }
  const std::string bad[] = {
      "RIFX" + riff(pcm + data).substr(4),
      riff(chunk("fmt ", fmt(3, 1, 4, 32)) + data),  // not PCM
      riff(chunk("fmt ", fmt(1, 0, 2, 16)) + data),  // no channels
      riff(chunk("fmt ", fmt(1, 1, 0, 16)) + data),  // no block size
      riff(pcm + chunk("data", "abcd", 1000)),       // data beyond the file
      riff(pcm + chunk("LIST", "xy", 0x7fffffff)),   // a chunk beyond the file
      riff(pcm),                                     // no data
      riff(data + pcm),                              // format not first
      "RIFF",
  };
  for (const std::string& b : bad) EXPECT_FALSE(parseWav(b, w, why)) << b.size();

  // The loader turns a refused file into the warning and an empty slot.
  test_support::ScratchDir dir;
  FakeAudio audio;
  SoundPlayer player(std::make_unique<FakeBackend>(audio));
  EXPECT_FALSE(player.load(0, dir.write("bad.wav", bad[4])));
  EXPECT_FALSE(player.loaded(0));
}

TEST(Sound, ShippedSoundsAreShort16BitMonoPcmFromTheGenerator) {
  for (const char* name : kSoundFiles) {
    const std::string bytes = test_support::ScratchDir::read(shippedSounds() + name);
    WavSound w;
    std::string why;
    ASSERT_TRUE(parseWav(bytes, w, why)) << name << ": " << why;
    EXPECT_EQ(w.channels, 1);
    EXPECT_EQ(w.bitsPerSample, 16);
    EXPECT_EQ(w.sampleRate, kSynthRate);
    EXPECT_LT(w.samples.size(), 2u * kSynthRate);  // under a second
    EXPECT_EQ(bytes.size(), synthesizeSound(name).size()) << name;
  }
}

TEST(Sound, VolumeInHundredthsOfADecibelBecomesALinearFactor) {
  EXPECT_DOUBLE_EQ(linearVolume(0), 1.0);
  EXPECT_NEAR(linearVolume(-2000), 0.1, 1e-12);
  EXPECT_NEAR(linearVolume(-600), 0.501, 1e-3);
  EXPECT_DOUBLE_EQ(linearVolume(500), 1.0);
}

}  // namespace
}  // namespace vorlund
