#include "ui/snapshot_file.h"

#include <QFileInfo>
#include <cstring>

#include "ui/qt_text.h"
#include "view/bmp_image.h"

namespace vorlund::ui {

const char* const kSnapshotFilter = "Bitmaps (*.bmp);;PNG images (*.png)";

QString snapshotPath(const QString& typed) {
  return QFileInfo(typed).suffix().isEmpty() ? typed + ".bmp" : typed;
}

bool writeSnapshot(const QImage& picture, const QString& path) {
  if (picture.isNull()) return false;
  if (QFileInfo(path).suffix().compare("png", Qt::CaseInsensitive) == 0) return picture.save(path, "PNG");
  // The bitmap writer takes bottom-up rows of RGB triples.
  const QImage img = picture.convertToFormat(QImage::Format_RGB888).mirrored();
  RgbImage rgb;
  rgb.width = img.width();
  rgb.height = img.height();
  rgb.pixels.resize(static_cast<size_t>(rgb.width) * rgb.height * 3);
  for (int y = 0; y < rgb.height; ++y)
    std::memcpy(rgb.pixels.data() + static_cast<size_t>(y) * rgb.width * 3, img.constScanLine(y),
                static_cast<size_t>(rgb.width) * 3);
  return writeBmp(pathFromQt(path), rgb);
}

}  // namespace vorlund::ui
