// Whole-run checkpoints: everything a run needs to go on exactly as if it had
// never stopped (settings, gene pool with its statistics, every creature, ball
// and remains with its whole body, the counters, the genetic history and the
// random generator's state) as one readable text file with a version line and
// a checksum line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vorlund {

class symulator;
class EvolutionSamples;

// The first line of every checkpoint file, and the version line after it.
constexpr const char* kCheckpointHeader = "# Vorlund checkpoint";
constexpr const char* kCheckpointVersionKey = "checkpoint_format";
// Raised whenever the contents change in a way older readers would misread.
constexpr int kCheckpointFormat = 1;
constexpr const char* kCheckpointChecksumKey = "checksum";

// The text of the checksum line that must close `body` (which ends with a line feed).
std::string checkpointChecksumLine(std::string_view body);

// The whole state as text; `runSteps` is how many steps the run has made.
// `runnerText` is what the runner itself must carry over (an island's
// migrants in flight); left out of the file when empty. With `chart`, the
// evolution chart's samples follow the end line, where readers that know
// nothing of them stop.
std::string checkpointText(symulator& sim, int64_t runSteps, const std::string& runnerText = {},
                           const EvolutionSamples* chart = nullptr);

// Restores a checkpoint text into `sim`, which must be fresh (no records, no
// objects). False, with the reason in `error`, when the text is not a
// checkpoint, is of another format version, is truncated or damaged; the
// header, version and checksum are checked before `sim` is touched, but a
// simulator that failed later must be thrown away.
// `runnerText`, when given, receives the runner's text (empty if the file has none).
// With `chart`, it is given the checkpoint's chart samples when the file carries
// sound ones, and left as it is otherwise.
bool restoreCheckpoint(symulator& sim, const std::string& text, int64_t& runSteps, std::string& error,
                       std::string* runnerText = nullptr, EvolutionSamples* chart = nullptr);

// Writes the text beside `path` and renames it into place, so that an
// interrupted write never leaves a half checkpoint. False, with `error`.
bool saveCheckpoint(symulator& sim, int64_t runSteps, const std::string& path, std::string& error,
                    const std::string& runnerText = {}, const EvolutionSamples* chart = nullptr);
// Reads `path` and restores it; `error` names the file on failure.
bool loadCheckpoint(symulator& sim, const std::string& path, int64_t& runSteps, std::string& error,
                    std::string* runnerText = nullptr, EvolutionSamples* chart = nullptr);

}  // namespace vorlund
