#include "LongWords.h"

#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextDocument>

namespace LongWords {

bool HasLongWord(const QTextBlock& block) {
  // A shorter paragraph cannot hold a long word: most are never searched.
  if (block.length() <= MaxWord) return false;
  const QString text = block.text();
  QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
  qsizetype previous = 0;
  for (qsizetype at = breaks.toNextBoundary(); at >= 0; at = breaks.toNextBoundary()) {
    // The spaces a word ends with are never measured with it.
    qsizetype end = at;
    while (end > previous && text.at(end - 1).isSpace()) --end;
    if (end - previous > MaxWord) return true;
    previous = at;
  }
  return false;
}

bool HasLongWord(const QTextDocument& document) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    if (HasLongWord(block)) return true;
  return false;
}

QTextOption::WrapMode WrapMode(const QTextDocument& document) {
  return HasLongWord(document) ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
}

}  // namespace LongWords
