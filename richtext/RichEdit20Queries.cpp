// RichEdit20's read side: text ranges, the selection, lines, positions and visibility, words.

#include "RichEdit20.h"

#include "BlockIterator.h"
#include "RichPrinter.h"
#include "WordChar.h"

#include <QCursor>

#include <algorithm>
#include <cstring>

namespace {

// Copies the bytes and their terminator, or raises the buffer's range error and copies
// nothing when they do not fit.
int CopyInto(const QByteArray& bytes, ChrArray& buffer) {
  const int n = static_cast<int>(bytes.size());
  buffer.IndexChk(n);
  std::memcpy(buffer.C_array(), bytes.constData(), static_cast<size_t>(n));
  buffer[n] = '\0';
  return n;
}

}  // namespace

CHARRANGE RichEdit20::ClampedRange(LONG start, LONG end) const {
  const LONG length = GetLength();
  if (end == -1 || end > length) end = length;
  if (start < 0 || start > end) return {0, 0};
  return {start, end};
}

LONG RichEdit20::GetLineLength(LONG line) {
  const LONG start = EmLineIndex(line);
  return start == -1 ? -1 : EmLineLength(start);
}

LONG RichEdit20::GetSelSize() const {
  const CHARRANGE selection = GetSelection();
  return selection.cpMax - selection.cpMin;
}

int RichEdit20::GetSelText(ChrArray& buffer) const {
  const CHARRANGE selection = GetSelection();
  return CopyInto(Note().GetTextCp1252(selection.cpMin, selection.cpMax), buffer);
}

QString RichEdit20::GetSelText(int max) const {
  const QString text = EmGetSelText();
  return max > 0 ? text.left(max) : text;
}

// The cursor's own end: every move sets it, by key, mouse or call.
LONG RichEdit20::GetCaretPos() const { return textCursor().position(); }

QChar RichEdit20::GetCharAt(LONG position) const {
  if (position < 0) position = GetCaretPos();
  if (position >= GetLength()) return QChar(0);
  const QString text = Note().GetText(position, position + 1);
  return text.isEmpty() ? QChar(0) : text[0];
}

void RichEdit20::GoToLine(LONG line) {
  LONG position = EmLineIndex(std::max<LONG>(line, 0));
  if (position == -1) position = EmLineIndex(GetLineCount() - 1);
  SetSelection(position, position);
}

void RichEdit20::GoToPage(int page) {
  if (!richPrinter_) return;
  const LONG position = richPrinter_->GetPagePosition(page, true);
  SetSelection(position, position);
  ScrollToView();
}

LONG RichEdit20::CharPosFromCursor() {
  const QPoint client = mapFromGlobal(QCursor::pos()) - contentsRect().topLeft();
  const QRect area = ClientRect();
  if (client.x() < 1 || client.x() >= area.width() || client.y() < 1 || client.y() >= area.height()) return -1;
  return CharPosFromPoint(client);
}

int RichEdit20::GetLeftEdge() const {
  const int inset = gutterPresent_ ? std::max(1, rectLeftAdj_) + gutterWidth_ : rectLeftAdj_;
  return mapToGlobal(contentsRect().topLeft()).x() + inset;
}

int RichEdit20::GetTextRange(LONG start, LONG end, ChrArray& buffer) const {
  const CHARRANGE range = ClampedRange(start, end);
  return CopyInto(Note().GetTextCp1252(range.cpMin, range.cpMax), buffer);
}

std::unique_ptr<ChrArray> RichEdit20::GetTextRange(LONG start, LONG end) const {
  // Sized from the clamped range, so that an end far past the text asks for no more.
  const CHARRANGE range = ClampedRange(start, end);
  auto buffer = std::make_unique<ChrArray>(range.cpMax - range.cpMin + 1, QStringLiteral("TextRange Buff Name"));
  CopyInto(Note().GetTextCp1252(range.cpMin, range.cpMax), *buffer);
  return buffer;
}

QString RichEdit20::GetTextRange(CHARRANGE range) const {
  range = ClampedRange(range.cpMin, range.cpMax);
  return Note().GetText(range.cpMin, range.cpMax);
}

CHARRANGE RichEdit20::GetVisibleRange() {
  const int height = ClientRect().height();
  const LONG firstLine = GetFirstVisibleLine();
  const LONG first = GetLinePos(firstLine);
  if (viewport()->height() <= 0 || first < 0 || PointFromCharPos(first).y() >= height) return {-999, -999};
  const LONG lines = GetLineCount();
  for (LONG line = firstLine + 1; line < lines; ++line) {
    const LONG start = GetLinePos(line);
    if (PointFromCharPos(start).y() > height) return {first, start};
  }
  return {first, GetLength()};
}

bool RichEdit20::LineIsVisible(LONG position) {
  const LONG line = LineFromCharPos(position);
  const LONG firstLine = GetFirstVisibleLine();
  if (line == -1 || line < firstLine || line > firstLine + 1000) return false;
  if (position == -1) position = GetLinePos(line);
  return viewport()->height() > 0 && PointFromCharPos(position).y() < ClientRect().height();
}

std::pair<LONG, LONG> RichEdit20::GetCurrLineAndColumn(bool zeroBased) {
  const LONG caret = GetCaretPos();
  LONG line = EmExLineFromChar(caret);
  LONG column = caret - EmLineIndex(line);
  if (ReadPlainText() && caret != 0 && caret == GetLength() && GetCharAt(caret - 1) == u'\r') {
    line = GetLineCount() - 1;
    column = 0;
  }
  if (!zeroBased) ++line, ++column;
  return {line, column};
}

bool RichEdit20::IsWholeWord(LONG start, LONG end) const {
  if (start == end) return false;
  if (start > 0 && WordChar::Is(GetCharAt(start - 1))) return false;
  if (GetLength() < end) return true;
  return !WordChar::Is(GetCharAt(end));
}

bool RichEdit20::CurrSelIsWholeWord() const {
  const CHARRANGE selection = GetSelection();
  if (selection.cpMin == selection.cpMax) return false;
  const QChar before = selection.cpMin > 0 ? GetCharAt(selection.cpMin - 1) : QChar(0);
  const QChar after = GetCharAt(selection.cpMax);
  const QString text = Note().GetText(selection.cpMin, selection.cpMax);
  if (WordChar::Is(after) && WordChar::Is(text.back())) return false;
  qsizetype last = text.size() - 1;
  while (last >= 0 && text[last] == u' ') --last;
  if (last < 0 || !WordChar::Is(text[last])) return false;
  for (qsizetype i = last; i >= 0; --i)
    if (!WordChar::Is(text[i])) return false;
  return !WordChar::Is(before);
}

CHARRANGE RichEdit20::GetWholeSelection() const {
  CHARRANGE selection = GetSelection();
  const LONG length = GetLength();
  const bool empty = selection.cpMin == selection.cpMax;
  if (WordChar::Is(GetCharAt(selection.cpMin)))
    while (selection.cpMin > 0 && WordChar::Is(GetCharAt(selection.cpMin - 1))) --selection.cpMin;
  if (selection.cpMax < length) {
    if (empty)
      while (selection.cpMax < length && !WordChar::Is(GetCharAt(selection.cpMax))) ++selection.cpMax;
    if (empty || (selection.cpMax > 0 && WordChar::Is(GetCharAt(selection.cpMax - 1))))
      while (selection.cpMax < length && WordChar::Is(GetCharAt(selection.cpMax))) ++selection.cpMax;
  }
  return selection;
}

LONG RichEdit20::SelectPar(LONG position) {
  const LONG length = GetLength();
  if (position < 0 || position >= length) return -1;
  const LONG paragraph = FindText(QStringLiteral("\r"), position, true, true, false, false, -1);
  const LONG page = FindText(QStringLiteral("\f"), position, true, true, false, false, -1);
  LONG end = length;
  if (paragraph >= 0 || page >= 0) end = 1 + (paragraph < 0 ? page : page < 0 ? paragraph : std::min(paragraph, page));
  SetSelection(position, end);
  return end;
}

void RichEdit20::DeleteCurrLine() {
  if (GetLength() == 0) return;
  const LONG caret = GetCaretPos();
  const LONG before = FindText(QStringLiteral("\r"), caret, false, true, false, false, -1);
  const LONG after = FindText(QStringLiteral("\r"), caret, true, true, false, false, -1);
  SetSelection(before < 0 ? 0 : before + 1, after < 0 ? GetLength() : after + 1);
  ReplaceSel(QString(), true, false);
}

LONG RichEdit20::GetSentencePos(LONG position) {
  if (position == -1) position = GetSelection().cpMin;
  const LONG stop = FindText(QStringLiteral("."), position, false, true, false, false, -1);
  const LONG range = stop < 0 ? -1 : position - stop;
  LONG latest = stop;
  for (const QString& mark : {QStringLiteral("?"), QStringLiteral("!")})
    latest = std::max(latest, FindText(mark, position, false, true, false, false, range));
  return latest + 1;
}

int RichEdit20::GetWordCount() {
  BlockIterator blocks(*this, false);
  int words = 0;
  bool inWord = false;
  for (const QString* block = &blocks.GetFirstBlock(0, -1); !block->isEmpty(); block = &blocks.GetNextBlock(-1)) {
    for (const QChar c : *block) {
      const bool separator = c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r' || c == u' ';
      if (!separator && !inWord) ++words;
      inWord = !separator;
    }
  }
  return words;
}
