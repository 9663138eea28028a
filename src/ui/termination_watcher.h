// Turns SIGTERM and SIGHUP (a logout, a shutdown, `kill`) into a Qt signal
// delivered on the event loop, so the program can end as after "Exit".
#pragma once

#include <QObject>
#include <csignal>

class QSocketNotifier;

namespace vorlund::ui {

class TerminationWatcher : public QObject {
  Q_OBJECT

 public:
  // Installs the handlers; the destructor puts the previous ones back.
  explicit TerminationWatcher(QObject* parent = nullptr);
  ~TerminationWatcher() override;
  TerminationWatcher(const TerminationWatcher&) = delete;
  TerminationWatcher& operator=(const TerminationWatcher&) = delete;

 signals:
  // One of the signals arrived; emitted from the event loop, never from the handler.
  void terminationRequested(int signal);

 private:
  void drain();

  int pipe_[2] = {-1, -1};  // the handler writes the signal's number; the loop reads it
  int previousWakeFd_ = -1;
  struct sigaction previousTerm_ {};
  struct sigaction previousHup_ {};
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace vorlund::ui
