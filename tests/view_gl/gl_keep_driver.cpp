// Keeps the system's OpenGL libraries loaded until the test program exits:
// otherwise the last display connection unloads them, and the memory they
// keep until exit shows as leaks of unknown modules that the leak checker's
// suppressions of system libraries cannot name.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <link.h>

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <cstring>
#include <string>
#include <vector>

namespace {

int collect(dl_phdr_info* info, size_t, void* out) {
  const char* name = info->dlpi_name;
  if (name == nullptr || *name == '\0') return 0;
  for (const char* part : {"GLX_mesa", "_dri.so", "gallium", "libLLVM", "libglapi"}) {
    if (std::strstr(name, part) != nullptr) {
      static_cast<std::vector<std::string>*>(out)->push_back(name);
      break;
    }
  }
  return 0;
}

class KeepDriverLoaded : public ::testing::Environment {
 public:
  void SetUp() override {
    // One context loads the libraries; then each is pinned.
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext context;
    if (context.create() && context.makeCurrent(&surface)) context.doneCurrent();
    std::vector<std::string> loaded;
    dl_iterate_phdr(collect, &loaded);
    for (const std::string& lib : loaded) dlopen(lib.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
  }
};

[[maybe_unused]] ::testing::Environment* const kKeepDriver =
    ::testing::AddGlobalTestEnvironment(new KeepDriverLoaded);

}  // namespace
