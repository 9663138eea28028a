// Writing a picture of the world view to a file: BMP (the default, also for a
// name typed without an extension) or PNG, for the software and the OpenGL view.
#pragma once

#include <QImage>
#include <QString>

namespace vorlund::ui {

// The filter of the snapshot's save dialog.
extern const char* const kSnapshotFilter;

// The file a typed name means: "snap1" is "snap1.bmp".
QString snapshotPath(const QString& typed);

// Writes `picture` as PNG when the name ends in ".png" (any case), else as BMP.
bool writeSnapshot(const QImage& picture, const QString& path);

}  // namespace vorlund::ui
