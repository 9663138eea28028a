// Registers the program with the desktop as the handler of genotype (*.gen)
// and simulator-settings (*.sim) files, per user, the XDG way: a desktop
// entry and a shared-mime-info package under the data folder, then the
// desktop's own tools (when installed) to rebuild the type database and make
// the program the types' default. An extension another program already owns
// is taken over only when "Keep extensions associated" is on: our glob then
// outweighs the other type's, otherwise it yields to it. Files are written
// only when their content differs.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace vorlund::ui {

struct XdgFolders {
  QString dataHome;     // $XDG_DATA_HOME or ~/.local/share
  QString configHome;   // $XDG_CONFIG_HOME or ~/.config
  QStringList dataDirs; // $XDG_DATA_DIRS or /usr/local/share, /usr/share
  static XdgFolders fromEnvironment();
};

// The two types, their descriptions and the desktop entry's name.
constexpr const char* kGenotypesMimeType = "application/x-vorlund-genotypes";
constexpr const char* kSettingsMimeType = "application/x-vorlund-simulator";
constexpr const char* kDesktopEntryName = "vorlund.desktop";
// Glob weights: above the shared database's usual 50 when we own an
// extension, below it when we leave it to another program.
constexpr int kOwnGlobWeight = 80;
constexpr int kYieldingGlobWeight = 20;

class FileAssociations {
 public:
  // Runs a desktop tool (program and arguments); returns its exit code, or
  // -1 when it could not be started. The default skips tools that are not
  // installed.
  using ToolRunner = std::function<int(const QString& program, const QStringList& args)>;

  explicit FileAssociations(XdgFolders folders, ToolRunner runner = {});

  // The start-up policy. `keepAssociated` is `int_assocext`: switched on when
  // the desktop knows neither extension yet. Failures are ignored.
  void apply(int& keepAssociated, const QString& programPath);

  // Which type other than ours maps "*.<ext>" in the desktop's databases
  // (empty when none).
  QString otherOwner(const QString& ext) const;
  bool known(const QString& ext) const;

  // The files apply() writes, for the program at `programPath`.
  static QString mimePackage(bool ownGen, bool ownSim);
  static QString desktopEntry(const QString& programPath);
  // A desktop-entry Exec argument, quoted the way desktop entries require.
  static QString quoteExecArgument(const QString& arg);

 private:
  // Writes `text` to `path` unless it already holds exactly that; true when written.
  static bool writeIfChanged(const QString& path, const QString& text);
  bool defaultIsSet(const char* mimeType) const;

  XdgFolders folders_;
  ToolRunner runner_;
};

}  // namespace vorlund::ui
