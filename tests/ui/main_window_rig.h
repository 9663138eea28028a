// Test rig for the main window: a scratch working folder (settings files are
// read and written there), the prompt service answering, messages captured,
// fake clocks, no file associations and no browser.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <memory>
#include <string>
#include <vector>

#include "fake_audio.h"
#include "support/message_capture.h"
#include "support/scratch.h"
#include "ui/main_window.h"
#include "ui/prompt_service.h"

class WindowRig {
 public:
  WindowRig() = default;
  ~WindowRig() { window.reset(); }  // while the prompts still answer
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
      return documentOpens;
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
    waitUntil([&] { return window->sim().stepCount >= steps; });
  }

  static QString exampleQ(const char* name) { return QString::fromStdString(vorlund::test_support::exampleFile(name)); }

  vorlund::test_support::ScratchDir scratch{true};  // first made, last removed
  vorlund::FakeAudio audio;
  vorlund::ui::ScriptedPrompts prompts;
  vorlund::test_support::MessageCapture log;
  uint32_t ms = 1000;
  long seconds = 100000;
  std::vector<QString> opened;
  bool documentOpens = true;  // false: the desktop has no handler for the manual
  std::unique_ptr<vorlund::ui::MainWindow> window;

 private:
  vorlund::ui::ScopedPromptService use_{&prompts};
};
