#include "ui/file_associations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>

namespace vorlund::ui {

namespace {

QString envOr(const char* name, const QString& fallback) {
  const QString v = qEnvironmentVariable(name);
  return v.isEmpty() ? fallback : v;
}

int runInstalledTool(const QString& program, const QStringList& args) {
  const QString path = QStandardPaths::findExecutable(program);
  if (path.isEmpty()) return -1;
  QProcess p;
  p.setProgram(path);
  p.setArguments(args);
  p.setStandardOutputFile(QProcess::nullDevice());
  p.setStandardErrorFile(QProcess::nullDevice());
  p.start();
  constexpr int kToolTimeoutMs = 10000;
  if (!p.waitForFinished(kToolTimeoutMs)) {
    p.kill();
    p.waitForFinished();
    return -1;
  }
  return p.exitCode();
}

QString globLine(const QString& ext, bool own) {
  return QString("    <glob pattern=\"*.%1\" weight=\"%2\"/>\n").arg(ext).arg(own ? kOwnGlobWeight : kYieldingGlobWeight);
}

}  // namespace

XdgFolders XdgFolders::fromEnvironment() {
  XdgFolders f;
  const QString home = QDir::homePath();
  f.dataHome = envOr("XDG_DATA_HOME", home + "/.local/share");
  f.configHome = envOr("XDG_CONFIG_HOME", home + "/.config");
  f.dataDirs = envOr("XDG_DATA_DIRS", "/usr/local/share:/usr/share").split(':', Qt::SkipEmptyParts);
  return f;
}

FileAssociations::FileAssociations(XdgFolders folders, ToolRunner runner)
    : folders_(std::move(folders)), runner_(runner ? std::move(runner) : ToolRunner(runInstalledTool)) {}

QString FileAssociations::otherOwner(const QString& ext) const {
  const QString pattern = "*." + ext;
  QStringList dirs = folders_.dataDirs;
  dirs.prepend(folders_.dataHome);
  for (const QString& dir : dirs) {
    QFile f(dir + "/mime/globs2");
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) continue;
    QTextStream in(&f);
    while (!in.atEnd()) {
      const QString line = in.readLine();
      if (line.startsWith('#')) continue;
      // weight:type:glob[:flags]
      const QStringList parts = line.split(':');
      if (parts.size() < 3 || parts[2].compare(pattern, Qt::CaseInsensitive) != 0) continue;
      if (parts[1] != kGenotypesMimeType && parts[1] != kSettingsMimeType) return parts[1];
    }
  }
  return {};
}

bool FileAssociations::known(const QString& ext) const {
  if (!otherOwner(ext).isEmpty()) return true;
  QFile f(folders_.dataHome + "/mime/globs2");
  if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
  return QString::fromUtf8(f.readAll()).contains(":*." + ext);
}

QString FileAssociations::mimePackage(bool ownGen, bool ownSim) {
  return QString(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
             "  <mime-type type=\"%1\">\n"
             "    <comment>Vorlund genotypes</comment>\n"
             "    <sub-class-of type=\"text/plain\"/>\n"
             "    <generic-icon name=\"text-x-generic\"/>\n"
             "%2"
             "  </mime-type>\n"
             "  <mime-type type=\"%3\">\n"
             "    <comment>Vorlund simulator settings</comment>\n"
             "    <sub-class-of type=\"text/plain\"/>\n"
             "    <generic-icon name=\"text-x-generic\"/>\n"
             "%4"
             "  </mime-type>\n"
             "</mime-info>\n")
      .arg(kGenotypesMimeType, globLine("gen", ownGen), kSettingsMimeType, globLine("sim", ownSim));
}

QString FileAssociations::quoteExecArgument(const QString& arg) {
  QString out = "\"";
  for (QChar c : arg) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
    out += c;
  }
  out += '"';
  // The desktop-entry string level unescapes backslashes once more.
  out.replace("\\", "\\\\");
  return out;
}

QString FileAssociations::desktopEntry(const QString& programPath) {
  return QString(
             "[Desktop Entry]\n"
             "Type=Application\n"
             "Name=Vorlund\n"
             "Comment=Artificial-life simulator: creatures of sticks and neurons evolve in a 3D world\n"
             "Exec=%1 %f\n"
             "MimeType=%2;%3;\n"
             "Terminal=false\n"
             "Categories=Education;Science;Biology;\n")
      .arg(quoteExecArgument(programPath), kGenotypesMimeType, kSettingsMimeType);
}

bool FileAssociations::writeIfChanged(const QString& path, const QString& text) {
  const QByteArray bytes = text.toUtf8();
  QFile old(path);
  if (old.open(QIODevice::ReadOnly) && old.readAll() == bytes) return false;
  old.close();
  QDir().mkpath(QFileInfo(path).absolutePath());
  QSaveFile f(path);
  if (!f.open(QIODevice::WriteOnly)) return false;
  f.write(bytes);
  return f.commit();
}

bool FileAssociations::defaultIsSet(const char* mimeType) const {
  QFile f(folders_.configHome + "/mimeapps.list");
  if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
  return QString::fromUtf8(f.readAll()).contains(QString("%1=%2").arg(mimeType, kDesktopEntryName));
}

void FileAssociations::apply(int& keepAssociated, const QString& programPath) {
  if (!known("gen") && !known("sim")) keepAssociated = 1;
  const bool ownGen = keepAssociated != 0 || otherOwner("gen").isEmpty();
  const bool ownSim = keepAssociated != 0 || otherOwner("sim").isEmpty();
  const QString mimeDir = folders_.dataHome + "/mime";
  const QString appsDir = folders_.dataHome + "/applications";
  if (writeIfChanged(mimeDir + "/packages/vorlund.xml", mimePackage(ownGen, ownSim)))
    runner_("update-mime-database", {mimeDir});
  if (writeIfChanged(appsDir + "/" + kDesktopEntryName, desktopEntry(programPath)))
    runner_("update-desktop-database", {appsDir});
  for (const char* type : {kGenotypesMimeType, kSettingsMimeType})
    if (!defaultIsSet(type)) runner_("xdg-mime", {"default", kDesktopEntryName, type});
}

}  // namespace vorlund::ui
