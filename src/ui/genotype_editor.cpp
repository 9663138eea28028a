#include "ui/genotype_editor.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "genetics/genman.h"
#include "ui/prompt_service.h"

namespace vorlund::ui {

namespace {

// How often a check waiting for a mouse button to come up looks again [ms].
constexpr int kReleasePollMs = 20;
// The flags an error region adds to every style word in it.
constexpr uint32_t kErrorMark = GENSTYLE_INVALID | GENSTYLE_BOLD;

std::string toText(const QString& s) { return s.toLatin1().toStdString(); }

}  // namespace

QTextCharFormat formatForStyle(uint32_t style) {
  QTextCharFormat f;
  f.setForeground(QColor(static_cast<int>(style & 0xff), static_cast<int>((style >> 8) & 0xff),
                         static_cast<int>((style >> 16) & 0xff)));
  f.setFontUnderline((style & GENSTYLE_INVALID) != 0);
  f.setFontWeight((style & GENSTYLE_BOLD) ? QFont::Bold : QFont::Normal);
  f.setFontItalic((style & GENSTYLE_ITALIC) != 0);
  f.setFontStrikeOut((style & GENSTYLE_STRIKEOUT) != 0);
  return f;
}

QString refusedCharacterText(QChar c, char format) {
  const QString shown = c == ' ' ? QString("A blank") : QString("'%1'").arg(c);
  return QString("%1 is not part of format #%2: refused").arg(shown).arg(QChar(format));
}

QString genotypeStatusText(char format, int checkResult) {
  const char* verdict = "[NOT Valid]";
  if (checkResult == GENMAN_NO_OPERATOR)
    verdict = "[Cannot check]";
  else if (checkResult == 0)
    verdict = "[Valid]";
  else if (checkResult == -1)
    verdict = "[Invalid, I can correct]";
  return QString("Genotype, format #%1\n%2").arg(QChar(format)).arg(verdict);
}

// ---------------------------------------------------------------------------

GenotypeHighlighter::GenotypeHighlighter(QTextDocument* document, const GenMan* genman)
    : QSyntaxHighlighter(document), genman_(genman) {}

void GenotypeHighlighter::setErrorPosition(int position) {
  errorPosition_ = position;
  rehighlight();
}

const std::string& GenotypeHighlighter::wholeText() {
  // Styles depend on the whole text (the marker names the encoding), so every
  // block reads the document; the copy is made once per edit.
  if (document() && document()->revision() != cacheRevision_) {
    cache_ = toText(document()->toPlainText());
    cacheRevision_ = document()->revision();
  }
  return cache_;
}

uint32_t GenotypeHighlighter::styleAt(int at) {
  const std::string& text = wholeText();
  uint32_t style = genman_ ? genman_->Style(text, at) : 0;
  const int oneBased = at + 1;
  // An error reported at or past the end (a missing closing sign) marks the
  // last character, or the mark would fall on nothing.
  const int length = static_cast<int>(text.size());
  const int from = length > 0 ? std::min(errorPosition_, length) : errorPosition_;
  if (errorPosition_ > 0 && oneBased >= from && oneBased < from + kErrorRegionLength) style |= kErrorMark;
  return style;
}

void GenotypeHighlighter::highlightBlock(const QString& text) {
  const int start = currentBlock().position();
  int runStart = 0;
  uint32_t runStyle = 0;
  for (int i = 0; i <= text.size(); ++i) {
    const uint32_t style = i < text.size() ? styleAt(start + i) : ~runStyle;
    if (i == 0) {
      runStyle = style;
      continue;
    }
    if (style != runStyle) {
      setFormat(runStart, i - runStart, formatForStyle(runStyle));
      runStart = i;
      runStyle = style;
    }
  }
}

// ---------------------------------------------------------------------------

GenotypeTextEdit::GenotypeTextEdit(const GenMan* genman, QWidget* parent) : QPlainTextEdit(parent), genman_(genman) {}

void GenotypeTextEdit::keyPressEvent(QKeyEvent* event) {
  const QString typed = event->text();
  const bool printable = typed.size() == 1 && typed[0].unicode() >= 32 && typed[0].unicode() < 256 &&
                         typed[0].unicode() != 127;
  if (genman_ && printable && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    // The style of the character where it would land, in the text as it would be.
    QTextCursor c = textCursor();
    QString after = toPlainText();
    const int at = c.selectionStart();
    after.replace(at, c.selectionEnd() - at, typed);
    if (genman_->Style(toText(after), at) & GENSTYLE_INVALID) {
      event->accept();
      // One beep for a run of refused keys, not one per key.
      if (!refusing_) QApplication::beep();
      refusing_ = true;
      emit refused(typed[0]);
      return;
    }
  }
  refusing_ = false;
  QPlainTextEdit::keyPressEvent(event);
}

void GenotypeTextEdit::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  emit focusLeft();
}

// ---------------------------------------------------------------------------

GenotypeEditor::GenotypeEditor(GenMan* genman, QWidget* parent)
    : QWidget(parent), genman_(genman), edit_(new GenotypeTextEdit(genman, this)), status_(new QLabel(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(edit_, 1);
  layout->addWidget(status_);
  QFont mono("DejaVu Sans Mono");
  mono.setStyleHint(QFont::Monospace);
  edit_->setFont(mono);
  highlighter_ = new GenotypeHighlighter(edit_->document(), genman);
  connect(edit_, &QPlainTextEdit::textChanged, this, [this] {
    refreshStatus();
    if (!filling_) emit edited();
  });
  connect(edit_, &GenotypeTextEdit::focusLeft, this, &GenotypeEditor::userLeft);
  connect(edit_, &GenotypeTextEdit::refused, this, [this](QChar c) {
    const std::string text = toText(genotype());
    status_->setText(genotypeStatusText(GenMan::GetFormat(text), genman_->CheckValidity(text)) + "\n" +
                     refusedCharacterText(c, GenMan::GetFormat(text)));
  });
  refreshStatus();
}

// The text area may lose the focus while it is being destroyed; nothing is asked then.
GenotypeEditor::~GenotypeEditor() { edit_->disconnect(this); }

void GenotypeEditor::setGenotype(const QString& text) {
  filling_ = true;
  highlighter_->setErrorPosition(kNoErrorPosition);
  edit_->setPlainText(text);
  filling_ = false;
  refreshStatus();
}

QString GenotypeEditor::genotype() const { return edit_->toPlainText(); }

QString GenotypeEditor::statusText() const { return status_->text(); }

void GenotypeEditor::refreshStatus() {
  const std::string text = toText(genotype());
  const int check = genman_ ? genman_->CheckValidity(text) : GENMAN_NO_OPERATOR;
  status_->setText(genotypeStatusText(GenMan::GetFormat(text), check));
}

void GenotypeEditor::userLeft() {
  if (asking_ || checkPending_) return;
  // Ask after the event that moved the focus has been delivered: a modal box
  // opened inside the focus change would swallow the click.
  checkPending_ = true;
  settleWhenReleased();
}

void GenotypeEditor::settleWhenReleased() {
  // A click that left the editor is not over until its button comes up: a box
  // opened between press and release would swallow the click (OK would need
  // a second press). A click on OK then settles through the owner instead.
  QTimer::singleShot(QApplication::mouseButtons() == Qt::NoButton ? 0 : kReleasePollMs, this, [this] {
    if (!checkPending_) return;
    if (QApplication::mouseButtons() != Qt::NoButton) return settleWhenReleased();
    settle();
  });
}

bool GenotypeEditor::settle() {
  if (!checkPending_ || asking_ || genman_ == nullptr) {
    checkPending_ = false;
    return true;
  }
  bool keep = true;
  checkPending_ = false;
  asking_ = true;
  std::string text = toText(genotype());
  const int check = genman_->CheckValidity(text);
  if (check > 0) {
    const PromptAnswer ignore =
        prompts().question(this, "Warning", QString("Invalid genotype - error near position %1!\nIgnore?").arg(check),
                           PromptButtons::YesNo);
    if (ignore == PromptAnswer::Yes) {
      prompts().message(this, PromptKind::Critical, "Error message", "The genotype is invalid and useless now");
    } else {
      keep = false;
      edit_->setFocus();
      highlighter_->setErrorPosition(check);
    }
  } else if (check == -1) {
    if (prompts().question(this, "Question", "Invalid genotype - correct it?", PromptButtons::YesNo) ==
        PromptAnswer::Yes) {
      edit_->setFocus();
      if (genman_->Validate(text) == GENMAN_OK) {
        // The repair is the user's edit as much as typing would be.
        edit_->setPlainText(QString::fromLatin1(text.c_str()));
      }
    }
  }
  refreshStatus();
  asking_ = false;
  return keep;
}

}  // namespace vorlund::ui
