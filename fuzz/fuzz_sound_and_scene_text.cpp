// libFuzzer driver of the user-facing parsers of the film and sound code: the
// WAV reader, the frame-name pattern and the command template. Besides not
// crashing, an accepted WAV file must hold whole sample frames, and an
// accepted pattern or command must follow the substitution rules.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ui/sound/wav_file.h"
#include "view/pov/pov_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  vorlund::WavSound w;
  std::string problem;
  if (vorlund::parseWav(bytes, w, problem) && (w.blockAlign <= 0 || w.samples.size() % w.blockAlign != 0)) std::abort();
  if (const auto name = vorlund::formatFrameName(bytes, 123456)) {
    if (name->size() > size + vorlund::kPovFrameFieldMax + 8) std::abort();
  }
  if (const auto script = vorlund::commandScript(bytes)) {
    if (script->find("$3") != std::string::npos && bytes.find("$3") == std::string_view::npos) std::abort();
  }
  return 0;
}
