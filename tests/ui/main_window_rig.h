// Test rig for the main window: a scratch working folder (settings files are
// read and written there), the prompt service answering, messages captured,
// fake clocks, no file associations and no browser.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "fake_audio.h"
#include "support/message_capture.h"
#include "ui/main_window.h"
#include "ui/prompt_service.h"

class WindowRig {
 public:
  WindowRig() : saved_(std::filesystem::current_path()) { std::filesystem::current_path(dir_.path().toStdString()); }
  ~WindowRig() {
    window.reset();
    std::filesystem::current_path(saved_);
  }
  WindowRig(const WindowRig&) = delete;
  WindowRig& operator=(const WindowRig&) = delete;

  // A new window (the previous one is destroyed first).
  vorlund::ui::MainWindow& make(std::vector<std::string> args = {}) {
    window.reset();
    vorlund::ui::MainWindowOptions o;
    o.args = std::move(args);
    o.associateFiles = false;
    o.tickClock = [this] { return ms; };
    o.secondsClock = [this] { return seconds; };
    o.openDocument = [this](const QString& path) {
      opened.push_back(path);
      return true;
    };
    o.audioBackend = [this] { return std::make_unique<vorlund::FakeBackend>(audio); };
    window = std::make_unique<vorlund::ui::MainWindow>(std::move(o));
    return *window;
  }

  // Serves events for about `ms` milliseconds.
  void spin(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  // Serves events until `done` holds (or 5 s pass).
  template <class Done>
  void waitUntil(Done done) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 5000) QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  // Serves events until the step counter reaches `steps` (or 5 s pass).
  void waitForSteps(int steps) {
    QElapsedTimer t;
    t.start();
    while (window->sim().stepCount < steps && t.elapsed() < 5000) QApplication::processEvents();
  }

  static std::string example(const char* name) { return std::string(VORLUND_SOURCE_DIR) + "/examples/" + name; }
  static QString exampleQ(const char* name) { return QString::fromStdString(example(name)); }
  static std::string read(const char* path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  vorlund::FakeAudio audio;
  vorlund::ui::ScriptedPrompts prompts;
  vorlund::test_support::MessageCapture log;
  uint32_t ms = 1000;
  long seconds = 100000;
  std::vector<QString> opened;
  std::unique_ptr<vorlund::ui::MainWindow> window;

 private:
  QTemporaryDir dir_;
  std::filesystem::path saved_;
  vorlund::ui::ScopedPromptService use_{&prompts};
};
