// Replacing a file so that its name holds either the old contents or the whole
// new ones, after a crash of the program or of the machine.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vorlund {

// The steps of a replacement, in the order they happen.
enum class DurableStep {
  Open,        // create the temporary file beside the target
  Write,       // write the new contents into it
  SyncFile,    // fsync the temporary file
  Close,       // close it
  KeepOld,     // link (or move) the previous file to the name it is kept under
  Rename,      // rename the temporary file over the target
  SyncFolder,  // fsync the folder, so that the rename itself is on disk
};
const char* durableStepName(DurableStep step);

struct DurableOptions {
  // Temporary name of the new contents; empty means the target's name + ".saving~".
  std::string temp;
  // If not empty and the target exists, the previous file is kept under this name.
  std::string keepOldAs;
  // Off for files a rerun makes again (the frames of a film): no syncs, only
  // the rename, which still never leaves half a file after a crash of the program.
  bool sync = true;
};

// Writes `text` to a temporary file beside `path`, syncs it, renames it over
// `path` and syncs the folder. On false, `error` names the step and the
// system's reason, the temporary file is gone, and a failure before the
// rename leaves the old file as it was. A failed folder sync comes after the
// rename: the new file is whole in place, but not known to be on disk.
bool replaceFileDurably(const std::string& path, std::string_view text, std::string& error,
                        const DurableOptions& options = {});

// Test seam: called before each step with the file it concerns; false makes
// the step fail as if the system had answered EIO. An empty hook removes it.
using DurableStepHook = std::function<bool(DurableStep step, const std::string& file)>;
void setDurableStepHook(DurableStepHook hook);

}  // namespace vorlund
