#include "ui/document_opener.h"

#include <QProcess>

namespace vorlund::ui {

namespace {
constexpr const char* kDesktopOpener = "xdg-open";
// The opener's exit codes that have a reason of their own.
constexpr int kFileNotFound = 2;
constexpr int kNoHandler = 3;
constexpr int kHandlerFailed = 4;
}  // namespace

QString documentOpenFailure(int exitCode) {
  switch (exitCode) {
    case -1:
    case kHandlerFailed: return "Bad HTML browser program";
    case kFileNotFound: return "File or path not found";
    case kNoHandler: return "HTML Association invalid";
    default: return "Specific error: code=" + QString::number(exitCode);
  }
}

void openWithDesktop(QObject* owner, const QString& path, std::function<void(const QString& why)> failed) {
  auto* process = new QProcess(owner);
  QObject::connect(process, &QProcess::finished, process,
                   [process, failed](int code, QProcess::ExitStatus status) {
                     process->deleteLater();
                     if (status != QProcess::NormalExit || code != 0)
                       failed(documentOpenFailure(status == QProcess::NormalExit ? code : -1));
                   });
  QObject::connect(process, &QProcess::errorOccurred, process, [process, failed](QProcess::ProcessError e) {
    if (e != QProcess::FailedToStart) return;
    process->deleteLater();
    failed(documentOpenFailure(-1));
  });
  process->start(kDesktopOpener, {path});
}

}  // namespace vorlund::ui
