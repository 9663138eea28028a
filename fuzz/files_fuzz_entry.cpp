#include "files_fuzz_entry.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/strutil.h"
#include "quiet_log.h"
#include "sim/symulator.h"

namespace {

constexpr size_t kMaxInput = 16384;
constexpr int kSaveFailed = 1;
constexpr int kSecondSaveDiffers = 2;
constexpr int kBoth = vorlund::FILE_GENOTYPES | vorlund::FILE_SETTINGS;

struct ScratchFolder {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("vorlund_fuzz_files_" + std::to_string(::getpid()));
  ScratchFolder() { std::filesystem::create_directories(path); }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
};

// The file without its first line, which holds the time of writing.
std::string savedText(const std::string& path) {
  std::string text;
  vorlund::readWholeFile(path, text);
  const size_t eol = text.find('\n');
  return eol == std::string::npos ? std::string() : text.substr(eol + 1);
}

}  // namespace

int fuzzFileRoundTrip(const uint8_t* data, size_t size) {
  QuietLog quiet;
  if (size > kMaxInput) size = kMaxInput;
  // One folder for the whole process, made once and removed at its end: making
  // and removing it for every input cost more than the round trip itself.
  static const ScratchFolder scratch;
  const std::filesystem::path& dir = scratch.path;
  const std::string input = (dir / "input.gen").string();
  const std::string first = (dir / "first.gen").string();
  const std::string second = (dir / "second.gen").string();
  std::ofstream(input, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

  int result = 0;
  {
    vorlund::symulator a;
    a.load(input, kBoth);
    if (a.save(first, kBoth) != 0) result = kSaveFailed;
  }
  if (result == 0) {
    vorlund::symulator b;
    b.load(first, kBoth);
    if (b.save(second, kBoth) != 0)
      result = kSaveFailed;
    else if (savedText(first) != savedText(second))
      result = kSecondSaveDiffers;
  }
  return result;
}
