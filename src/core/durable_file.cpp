#include "core/durable_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace vorlund {

namespace {

constexpr const char* kDefaultTempSuffix = ".saving~";
constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask, as fopen would

DurableStepHook& stepHook() {
  static DurableStepHook hook;
  return hook;
}

// Runs one step: the hook may refuse it; otherwise `op` returns 0 or sets errno.
template <typename Op>
bool step(DurableStep s, const std::string& file, std::string& error, Op op) {
  const DurableStepHook& hook = stepHook();
  int err = 0;
  if (hook && !hook(s, file)) {
    err = EIO;
  } else if (op() != 0) {
    err = errno;
  }
  if (err == 0) return true;
  error = std::string("cannot ") + durableStepName(s) + " " + file + ": " + std::strerror(err);
  return false;
}

int writeAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return -1;
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

int syncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return -1;
  int rc = ::fsync(fd);
  // A file system that cannot sync folders says so; its renames are as durable as it makes them.
  if (rc != 0 && (errno == EINVAL || errno == ENOTSUP)) rc = 0;
  const int saved = errno;
  ::close(fd);
  errno = saved;
  return rc;
}

std::string folderOf(const std::string& path) {
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  return parent.empty() ? std::string(".") : parent.string();
}

}  // namespace

const char* durableStepName(DurableStep s) {
  switch (s) {
    case DurableStep::Open: return "create";
    case DurableStep::Write: return "write";
    case DurableStep::SyncFile: return "sync";
    case DurableStep::Close: return "close";
    case DurableStep::KeepOld: return "keep the previous file as";
    case DurableStep::Rename: return "put in place";
    case DurableStep::SyncFolder: return "sync the folder";
  }
  return "?";
}

void setDurableStepHook(DurableStepHook hook) { stepHook() = std::move(hook); }

bool replaceFileDurably(const std::string& path, std::string_view text, std::string& error,
                        const DurableOptions& options) {
  const std::string temp = options.temp.empty() ? path + kDefaultTempSuffix : options.temp;
  int fd = -1;
  if (!step(DurableStep::Open, temp, error, [&] {
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, kNewFileMode);
        return fd < 0 ? -1 : 0;
      }))
    return false;
  bool ok = step(DurableStep::Write, temp, error, [&] { return writeAll(fd, text); }) &&
            (!options.sync || step(DurableStep::SyncFile, temp, error, [&] { return ::fsync(fd); }));
  // The descriptor is closed whatever happened; only a close after good writes can fail the save.
  const int closed = ::close(fd);
  const int closeErr = errno;
  if (ok) ok = step(DurableStep::Close, temp, error, [&] {
    errno = closeErr;
    return closed;
  });
  if (ok && !options.keepOldAs.empty() && ::access(path.c_str(), F_OK) == 0) {
    ok = step(DurableStep::KeepOld, options.keepOldAs, error, [&] {
      std::remove(options.keepOldAs.c_str());
      // A second name for the old file keeps `path` present all the time; a
      // file system without hard links gets the old move instead.
      if (::link(path.c_str(), options.keepOldAs.c_str()) == 0) return 0;
      return std::rename(path.c_str(), options.keepOldAs.c_str());
    });
  }
  if (ok) ok = step(DurableStep::Rename, path, error, [&] { return std::rename(temp.c_str(), path.c_str()); });
  if (!ok) {
    std::remove(temp.c_str());
    return false;
  }
  if (!options.sync) return true;
  const std::string folder = folderOf(path);
  return step(DurableStep::SyncFolder, folder, error, [&] { return syncFolder(folder); });
}

}  // namespace vorlund
