#include "ui/prompt_service.h"

#include <QFileDialog>
#include <QMessageBox>

namespace vorlund::ui {
namespace {

class DialogPrompts : public PromptService {
 public:
  void message(QWidget* parent, PromptKind kind, const QString& title, const QString& text) override {
    switch (kind) {
      case PromptKind::Warning:
        QMessageBox::warning(parent, title, text);
        break;
      case PromptKind::Critical:
        QMessageBox::critical(parent, title, text);
        break;
      default:
        QMessageBox::information(parent, title, text);
        break;
    }
  }

  PromptAnswer question(QWidget* parent, const QString& title, const QString& text,
                        PromptButtons buttons) override {
    QMessageBox::StandardButtons offered;
    switch (buttons) {
      case PromptButtons::YesNo:
        offered = QMessageBox::Yes | QMessageBox::No;
        break;
      case PromptButtons::YesNoCancel:
        offered = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
      case PromptButtons::OkCancel:
        offered = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    }
    switch (QMessageBox::question(parent, title, text, offered)) {
      case QMessageBox::Yes:
        return PromptAnswer::Yes;
      case QMessageBox::No:
        return PromptAnswer::No;
      case QMessageBox::Ok:
        return PromptAnswer::Ok;
      default:
        return PromptAnswer::Cancel;
    }
  }

  QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                       const QString& filter) override {
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
  }

  QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                       const QString& filter) override {
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
  }
};

PromptService* current = nullptr;

}  // namespace

PromptService& prompts() {
  static DialogPrompts dialogs;
  return current ? *current : dialogs;
}

ScopedPromptService::ScopedPromptService(PromptService* service) : previous_(current) { current = service; }
ScopedPromptService::~ScopedPromptService() { current = previous_; }

void ScriptedPrompts::message(QWidget*, PromptKind kind, const QString& title, const QString& text) {
  shown.push_back({kind, title, text});
}

PromptAnswer ScriptedPrompts::question(QWidget*, const QString& title, const QString& text, PromptButtons buttons) {
  shown.push_back({PromptKind::Question, title, text});
  if (!answers.empty()) {
    PromptAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  return buttons == PromptButtons::OkCancel ? PromptAnswer::Cancel : PromptAnswer::No;
}

QString ScriptedPrompts::nextFile(PromptKind kind, const QString& caption) {
  shown.push_back({kind, caption, QString()});
  if (fileNames.empty()) return QString();
  QString f = fileNames.front();
  fileNames.pop_front();
  return f;
}

QString ScriptedPrompts::openFileName(QWidget*, const QString& caption, const QString&, const QString&) {
  return nextFile(PromptKind::OpenFile, caption);
}

QString ScriptedPrompts::saveFileName(QWidget*, const QString& caption, const QString&, const QString&) {
  return nextFile(PromptKind::SaveFile, caption);
}

}  // namespace vorlund::ui
