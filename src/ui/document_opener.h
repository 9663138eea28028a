// Opens a local document with the desktop's handler ("xdg-open") and tells the
// caller afterwards when nothing could show it: starting the handler is not
// proof that a browser opened, its exit code is.
#pragma once

#include <QString>
#include <functional>

class QObject;

namespace vorlund::ui {

// The line of the "Error opening HTML file" box for the handler's exit code
// (nonzero) or for a handler that could not be started (-1).
QString documentOpenFailure(int exitCode);

// Starts the handler on `path`; `failed` runs later with the reason when it
// fails. The process belongs to `owner`.
void openWithDesktop(QObject* owner, const QString& path, std::function<void(const QString& why)> failed);

}  // namespace vorlund::ui
