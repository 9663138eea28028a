#include "ui/termination_watcher.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>

namespace vorlund::ui {

namespace {

// Where the handler writes; only write(2) is safe there.
volatile std::sig_atomic_t gWakeFd = -1;

void onTermination(int sig) {
  const int saved = errno;
  const int fd = gWakeFd;
  if (fd >= 0) {
    const unsigned char byte = static_cast<unsigned char>(sig);
    [[maybe_unused]] const ssize_t n = ::write(fd, &byte, 1);
  }
  errno = saved;
}

}  // namespace

TerminationWatcher::TerminationWatcher(QObject* parent) : QObject(parent) {
  if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
    pipe_[0] = pipe_[1] = -1;
    return;  // the program then ends on these signals as any program does
  }
  previousWakeFd_ = gWakeFd;
  gWakeFd = pipe_[1];
  notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &TerminationWatcher::drain);
  struct sigaction sa {};
  sa.sa_handler = onTermination;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &sa, &previousTerm_);
  sigaction(SIGHUP, &sa, &previousHup_);
}

TerminationWatcher::~TerminationWatcher() {
  if (pipe_[0] < 0) return;
  sigaction(SIGTERM, &previousTerm_, nullptr);
  sigaction(SIGHUP, &previousHup_, nullptr);
  gWakeFd = previousWakeFd_;
  delete notifier_;
  ::close(pipe_[0]);
  ::close(pipe_[1]);
}

void TerminationWatcher::drain() {
  unsigned char byte = 0;
  int last = 0;
  while (::read(pipe_[0], &byte, 1) == 1) last = byte;
  if (last != 0) emit terminationRequested(last);
}

}  // namespace vorlund::ui
