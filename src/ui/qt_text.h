// Text between the core and Qt. Genotypes and names are 8-bit texts in the
// core, so they cross as Latin-1 both ways and every byte survives; file
// names go through the file-name encoding.
#pragma once

#include <QFile>
#include <QString>
#include <string>
#include <string_view>

namespace vorlund::ui {

inline QString toQt(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string fromQt(const QString& text) { return text.toLatin1().toStdString(); }

inline QString pathToQt(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
inline std::string pathFromQt(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace vorlund::ui
