// Every modal box and file dialog of the desktop program goes through one
// prompt service, so that tests can answer them instead of blocking in a modal
// loop. The program installs the real service (QMessageBox, QFileDialog); a
// test installs a ScriptedPrompts for the scope of the test.
#pragma once

#include <QString>
#include <deque>
#include <vector>

class QWidget;

namespace vorlund::ui {

enum class PromptKind { Information, Warning, Critical, Question, OpenFile, SaveFile };

// Buttons a question offers; the answer is one of them.
enum class PromptButtons { YesNo, YesNoCancel, OkCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

class PromptService {
 public:
  virtual ~PromptService() = default;
  // A box with an OK button: Information, Warning or Critical.
  virtual void message(QWidget* parent, PromptKind kind, const QString& title, const QString& text) = 0;
  virtual PromptAnswer question(QWidget* parent, const QString& title, const QString& text,
                                PromptButtons buttons) = 0;
  // A file name, or an empty text when the user cancelled. `filter` uses Qt's
  // "Genotypes (*.gen);;All files (*)" form.
  virtual QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                               const QString& filter) = 0;
  virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                               const QString& filter) = 0;
};

// The service in use; the real one unless a test installed another. Never null.
PromptService& prompts();

// Installs `service` for the lifetime of the guard and restores the previous
// one afterwards. The caller keeps ownership of `service`.
class ScopedPromptService {
 public:
  explicit ScopedPromptService(PromptService* service);
  ~ScopedPromptService();
  ScopedPromptService(const ScopedPromptService&) = delete;
  ScopedPromptService& operator=(const ScopedPromptService&) = delete;

 private:
  PromptService* previous_;
};

// A service for tests: records every prompt and answers questions and file
// dialogs from queues (defaults when a queue is empty: No/Cancel, no file).
class ScriptedPrompts : public PromptService {
 public:
  struct Shown {
    PromptKind kind;
    QString title;
    QString text;
  };

  std::deque<PromptAnswer> answers;
  std::deque<QString> fileNames;
  std::vector<Shown> shown;

  void message(QWidget* parent, PromptKind kind, const QString& title, const QString& text) override;
  PromptAnswer question(QWidget* parent, const QString& title, const QString& text,
                        PromptButtons buttons) override;
  QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                       const QString& filter) override;
  QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                       const QString& filter) override;

 private:
  QString nextFile(PromptKind kind, const QString& caption);
};

}  // namespace vorlund::ui
