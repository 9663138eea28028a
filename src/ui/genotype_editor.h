// The genotype text control: an editor that colours every character by the
// genetic manager's style word, refuses typed characters the encoding does not
// know, keeps a status line with the format and validity, and checks the
// genotype when the user leaves it. The manager is observed, never owned.
#pragma once

#include <QPlainTextEdit>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <QWidget>
#include <cstdint>
#include <string>

class QLabel;

namespace vorlund {
class GenMan;
}

namespace vorlund::ui {

// No error region is marked.
constexpr int kNoErrorPosition = -999;
// Characters marked from the error position on.
constexpr int kErrorRegionLength = 6;

// The character format a style word asks for: colour from the low 24 bits,
// underline for characters outside the alphabet, bold, italic, strike-out.
QTextCharFormat formatForStyle(uint32_t style);

// The status line's note for a refused key: "'h' is not part of format #1: refused".
QString refusedCharacterText(QChar c, char format);

// "Genotype, format #1\n[Valid]" and its three siblings, from a check result.
QString genotypeStatusText(char format, int checkResult);

// Colours a document by the manager's style of each character in the whole text.
class GenotypeHighlighter : public QSyntaxHighlighter {
 public:
  GenotypeHighlighter(QTextDocument* document, const GenMan* genman);
  // 1-based position of the marked error, or kNoErrorPosition.
  void setErrorPosition(int position);
  int errorPosition() const { return errorPosition_; }
  // The style of 0-based position `at` of the text as now shown, error marks included.
  uint32_t styleAt(int at);

 protected:
  void highlightBlock(const QString& text) override;

 private:
  const std::string& wholeText();

  const GenMan* genman_;
  int errorPosition_ = kNoErrorPosition;
  std::string cache_;
  int cacheRevision_ = -1;
};

// The editing area; it forwards focus-out to its owner and filters keys.
class GenotypeTextEdit : public QPlainTextEdit {
  Q_OBJECT
 public:
  GenotypeTextEdit(const GenMan* genman, QWidget* parent);

 signals:
  void focusLeft();
  // A typed character the encoding does not know was not inserted.
  void refused(QChar c);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  const GenMan* genman_;
  bool refusing_ = false;  // the last key was refused (one beep per run of them)
};

class GenotypeEditor : public QWidget {
  Q_OBJECT
 public:
  GenotypeEditor(GenMan* genman, QWidget* parent = nullptr);
  ~GenotypeEditor() override;

  // Replaces the text, recolours it and refreshes the status line.
  void setGenotype(const QString& text);
  QString genotype() const;
  QString statusText() const;
  GenotypeTextEdit* edit() const { return edit_; }
  GenotypeHighlighter* highlighter() const { return highlighter_; }

  // Runs the leaving check now if the user left the editor and it has not run
  // yet (the owner calls it before it reads the text). False when the user
  // chose to go back to the text rather than keep it as it is.
  bool settle();
  // What leaving the editor does: the check is queued until the event that
  // moved the focus is done (or until settle()).
  void userLeft();

 signals:
  // The user changed the text.
  void edited();

 private:
  void refreshStatus();
  void settleWhenReleased();

  GenMan* genman_;
  GenotypeTextEdit* edit_;
  QLabel* status_;
  GenotypeHighlighter* highlighter_;
  bool checkPending_ = false;
  bool asking_ = false;
  bool filling_ = false;
};

}  // namespace vorlund::ui
