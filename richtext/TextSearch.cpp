#include "TextSearch.h"

#include "WordChar.h"

#include <algorithm>

bool TextSearch::MayMatch(const SearchQuery& query, int length, int start, int range) {
  const int targetLength = static_cast<int>(query.target.size());
  if (targetLength == 0 || targetLength > length || range == 0 || range < -1) return false;
  return query.forward ? length - targetLength >= start : start >= targetLength;
}

QString TextSearch::Folded(QString text) {
  // Most text is ASCII, whose folding needs no table.
  for (QChar& c : text) {
    const char16_t u = c.unicode();
    if (u < 0x80)
      c = u >= u'A' && u <= u'Z' ? QChar(u + 32) : c;
    else
      c = c.toCaseFolded();
  }
  return text;
}

QString TextSearch::Window(int start, int end, bool matchCase) const {
  return matchCase ? read_(start, end) : Folded(read_(start, end));
}

int TextSearch::Find(const SearchQuery& query, int length, int start, int range) const {
  if (!MayMatch(query, length, start, range)) return -1;
  start = std::clamp(start, 0, length);
  const QString target = query.matchCase ? query.target : Folded(query.target);
  // A target that is no single word is matched as plain text.
  const bool wholeWord = query.wholeWord && std::all_of(target.begin(), target.end(), WordChar::Is);
  if (query.forward) return FindForward(target, query.matchCase, wholeWord, start, range == -1 ? length : std::min(length, start + range));
  return FindBackward(target, query.matchCase, wholeWord, start, range == -1 ? 0 : std::max(0, start - range));
}

int TextSearch::FindForward(const QString& target, bool matchCase, bool wholeWord, int start, int limit) const {
  const int overlap = static_cast<int>(target.size()) - 1;
  for (int from = start; from < limit;) {
    const int readStart = std::max(start, from - overlap), end = std::min(limit, from + WindowSize);
    const QString window = Window(readStart, end, matchCase);
    for (qsizetype i = window.indexOf(target); i >= 0; i = window.indexOf(target, i + 1)) {
      const int position = readStart + static_cast<int>(i);
      if (!wholeWord || isWholeWord_(position, position + overlap + 1)) return position;
    }
    if (end >= limit || !pause_()) break;
    from = end;
  }
  return -1;
}

int TextSearch::FindBackward(const QString& target, bool matchCase, bool wholeWord, int start, int limit) const {
  const int overlap = static_cast<int>(target.size()) - 1;
  for (int to = start; to > limit;) {
    const int readEnd = std::min(start, to + overlap), begin = std::max(limit, to - WindowSize);
    const QString window = Window(begin, readEnd, matchCase);
    for (qsizetype i = window.lastIndexOf(target); i >= 0; i = i == 0 ? -1 : window.lastIndexOf(target, i - 1)) {
      const int position = begin + static_cast<int>(i);
      if (!wholeWord || isWholeWord_(position, position + overlap + 1)) return position;
    }
    if (begin <= limit || !pause_()) break;
    to = begin;
  }
  return -1;
}
