#include "LongWords.h"

#include "NoteBudget.h"

#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextDocument>

#include <algorithm>

namespace LongWords {

namespace {

struct Words {
  qsizetype longest = 0;
  qint64 work = 0;  // letters² of the words longer than a line
};

// A word is never longer than the run of non-spaces it stands in.
bool HasLongRun(const QString& text) {
  qsizetype run = 0;
  for (const QChar c : text) {
    run = c.isSpace() ? 0 : run + 1;
    if (run > NoteBudget::LongerThanALine) return true;
  }
  return false;
}

Words Measure(const QTextBlock& block) {
  Words words;
  // A shorter paragraph cannot hold a long word: most are never searched.
  if (block.length() <= NoteBudget::LongerThanALine) return words;
  const QString text = block.text();
  if (!HasLongRun(text)) return words;
  QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
  qsizetype previous = 0;
  for (qsizetype at = breaks.toNextBoundary(); at >= 0; at = breaks.toNextBoundary()) {
    // The spaces a word ends with are never measured with it.
    qsizetype end = at;
    while (end > previous && text.at(end - 1).isSpace()) --end;
    const qint64 letters = end - previous;
    words.longest = std::max<qsizetype>(words.longest, letters);
    if (letters > NoteBudget::LongerThanALine) words.work += letters * letters;
    previous = at;
  }
  return words;
}

}  // namespace

bool HasLongWord(const QTextBlock& block) {
  return block.length() > MaxWord && Measure(block).longest > MaxWord;
}

qint64 Work(const QTextBlock& block) { return Measure(block).work; }

bool WrapsAnywhere(const QTextDocument& document) {
  const qint64 budget = NoteBudget::WordBudget(document.characterCount());
  qint64 work = 0;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    const Words words = Measure(block);
    work += words.work;
    if (words.longest > MaxWord || work > budget) return true;
  }
  return false;
}

QTextOption::WrapMode WrapMode(const QTextDocument& document) {
  return WrapsAnywhere(document) ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
}

}  // namespace LongWords
