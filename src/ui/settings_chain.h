// The desktop program's settings chain: the "Interface" table followed by the
// tables of the views, the camera, the renderer and the scene exporter, kept
// in one fixed order whatever order their owners join in. The chain is what
// "Default.par" holds (one record) and what the "Options" dialog edits.
#pragma once

#include <array>
#include <string>

#include "core/param.h"

namespace vorlund::ui {

// The places of the chain, in chain (and file) order.
enum class ChainSlot { Interface, WorldDisplay, Camera, NeuronDisplay, OpenGL, PovRay };
constexpr int kChainSlotCount = 6;

// The settings file in the working folder.
constexpr const char* kSettingsFileName = "Default.par";

class SettingsChain {
 public:
  // `head` is the "Interface" accessor; it is observed and must outlive the chain.
  explicit SettingsChain(param* head);
  SettingsChain(const SettingsChain&) = delete;
  SettingsChain& operator=(const SettingsChain&) = delete;

  // Puts `acc` (together with any accessors already chained behind it) into
  // `slot`, replacing what held it. The accessor stays its owner's: call
  // leave() before destroying it. Joining must happen before the settings
  // file is read at start-up (the main window reads it after creating every
  // window, the renderer and the exporter), or the table keeps its defaults.
  void join(ChainSlot slot, param* acc);
  void leave(ChainSlot slot);
  param* at(ChainSlot slot) const { return slots_[static_cast<int>(slot)].first; }

  // The whole chain, starting with "Interface".
  param& head() const { return *slots_[0].first; }

  // Reads the chain from a settings file. False (and nothing changed) when
  // the file is missing, unreadable, not a regular file or not such a record.
  bool read(const std::string& path) const;
  // Writes the chain as one record through a temporary file renamed into
  // place, so a failed write keeps the previous file. False (with a warning
  // logged) on failure.
  bool write(const std::string& path) const;

 private:
  void relink();

  struct Slot {
    param* first = nullptr;
    param* last = nullptr;  // the slot's own tail, linked to the next slot's head
  };
  std::array<Slot, kChainSlotCount> slots_{};
};

}  // namespace vorlund::ui
