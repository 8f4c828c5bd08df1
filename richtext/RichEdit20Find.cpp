// RichEdit20's find and replace, and the plain-text indent that runs on them.

#include "RichEdit20.h"

#include "TextSearch.h"

#include "Yelk/AbortRegister.h"
#include "Yelk/DesktopUtils.h"
#include "Yelk/HourGlass.h"
#include "Yelk/IdlerClient.h"
#include "Yelk/IdlerServer.h"

#include <QCoreApplication>
#include <QTextCursor>

#include <optional>

bool RichEdit20::PauseSearch(const bool& aborted, std::optional<HourGlass::Scope>& busy) {
  if (MessagesAreQueued(true)) {
    // The busy cursor comes when the search first lets the application in: a shorter one is
    // over before anyone could see it.
    if (!busy) busy.emplace();
    IdlerServer& idler = IdlerServer::IS();
    if (!idler.IdlerIsRunning()) {
      // While the busy cursor filters input it must see it, to turn Esc into an abort; without
      // the filter, input would edit the text being searched, so it waits.
      QCoreApplication::processEvents(HourGlass::HG().IsFiltering() ? QEventLoop::AllEvents
                                                                    : QEventLoop::ExcludeUserInputEvents);
    } else if (idler.GetCurrClient() != nullptr && idler.GetCurrClient()->Priority == IdlerClient::Low) {
      return false;
    }
  }
  return !aborted;
}

LONG RichEdit20::FindText(const QString& text, LONG start, bool forward, bool matchCase, bool wholeWord, bool select,
                          LONG range) {
  const LONG length = GetLength();
  if (start == -1) {
    const CHARRANGE selection = GetSelection();
    start = forward ? selection.cpMax : selection.cpMin;
  }
  const SearchQuery query{text, forward, matchCase, wholeWord};
  if (!TextSearch::MayMatch(query, length, start, range)) return -1;
  std::optional<HourGlass::Scope> busy;
  bool aborted = false;
  AbortRegister::AR().Register(&aborted);
  const TextSearch search([this](int from, int to) { return Note().GetText(from, to); },
                          [this](int from, int to) { return IsWholeWord(from, to); },
                          [this, &aborted, &busy] { return PauseSearch(aborted, busy); });
  const int position = search.Find(query, length, start, range);
  AbortRegister::AR().Deregister(&aborted);
  if (position >= 0 && select) SetSelection(position, position + static_cast<LONG>(text.size()));
  return position;
}

int RichEdit20::ReplaceAll(const QString& find, const QString& replace, LONG start, bool matchCase, bool wholeWord,
                           bool forward, LONG end) {
  if (start == -1) {
    const CHARRANGE selection = GetSelection();
    start = forward ? selection.cpMax : selection.cpMin;
  }
  if (end != -1 && (forward ? start >= end : start <= end)) return 0;
  HourGlass::Scope busy;
  const int findLength = static_cast<int>(find.size()), replaceLength = static_cast<int>(replace.size());
  const CHARRANGE visible = GetVisibleRange();
  const int visibleMark = SetBookmark(visible.cpMin == -999 ? GetLength() : visible.cpMin);
  const int caretMark = SetBookmark(-1);
  // One edit block: one Undo takes back the whole replace-all and one Redo repeats it.
  QTextCursor block(Note().Document());
  block.beginEditBlock();
  int count = 0;
  LONG range = end == -1 ? -1 : forward ? end - start : start - end;
  for (LONG at = FindText(find, start, forward, matchCase, wholeWord, false, range); at != -1;
       at = FindText(find, start, forward, matchCase, wholeWord, false, range)) {
    ReplaceText(CHARRANGE{at, at + findLength}, replace, true, !matchCase);
    ++count;
    start = forward ? at + replaceLength : at;
    // The limit is a position of the text before the replacements: forward it moves with them.
    if (end != -1 && forward) end += replaceLength - findLength;
    if (end != -1) {
      range = forward ? end - start : start - end;
      if (range < 1) break;
    }
  }
  block.endEditBlock();
  MoveToBookmark(visibleMark);
  MoveToBookmark(caretMark);
  DeleteBookmark(caretMark);
  DeleteBookmark(visibleMark);
  viewport()->update();
  return count;
}

bool RichEdit20::UndoReplaceAllCheck() {
  // A replace-all is one undo step of the document and pushes no record: nothing to match.
  if (InUndoReplace || ReplaceUndoStack.empty()) return false;
  const ReplaceRecord record = ReplaceUndoStack.front();
  const CHARRANGE selection = GetSelection();
  if (selection.cpMin != record.lastPos || GetLength() != record.lengthAfterUndo) return false;
  if (GetSelText(0).compare(record.found, record.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive) != 0) return false;
  InUndoReplace = true;
  for (int i = 0; i < record.remaining; ++i) Undo();
  ReplaceUndoStack.erase(ReplaceUndoStack.begin());
  ReplaceRedoStack.insert(ReplaceRedoStack.begin(), record);
  InUndoReplace = false;
  return true;
}

bool RichEdit20::RedoReplaceAllCheck() {
  if (InRedoReplace || ReplaceRedoStack.empty()) return false;
  const ReplaceRecord record = ReplaceRedoStack.front();
  const CHARRANGE selection = GetSelection();
  const LONG replaceLength = static_cast<LONG>(record.replacement.size());
  if (selection.cpMin != record.firstEnd || GetLength() != record.lengthAfterRedo || replaceLength > selection.cpMin)
    return false;
  const QString text = GetTextRange(CHARRANGE{selection.cpMin - replaceLength, selection.cpMax});
  if (text.compare(record.replacement, record.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive) != 0) return false;
  InRedoReplace = true;
  for (int i = 0; i < record.remaining; ++i) Redo();
  ReplaceRedoStack.erase(ReplaceRedoStack.begin());
  ReplaceUndoStack.insert(ReplaceUndoStack.begin(), record);
  InRedoReplace = false;
  return true;
}

QString RichEdit20::IndentUnit() const {
  // 0 blanks would indent by nothing: it reads as a tab, as below 0.
  return TabsAsSpaces <= 0 ? QStringLiteral("\t") : QString(TabsAsSpaces, u' ');
}

void RichEdit20::IndentPlainText(bool outdent) {
  const QString unit = IndentUnit();
  CHARRANGE selection = GetSelection();
  const int startMark = SetBookmark(selection.cpMin), endMark = SetBookmark(selection.cpMax);
  const LONG found = FindText(QStringLiteral("\r"), selection.cpMin, false, true, false, false, -1);
  // A carriage return at 0 starts the second line: only without one is the first line indented.
  const bool firstLine = found < 0;
  const LONG lineStart = firstLine ? 0 : found;
  if (selection.cpMin < selection.cpMax && GetCharAt(selection.cpMax - 1) == u'\r') --selection.cpMax;
  const QString plain = QStringLiteral("\r"), indented = plain + unit;
  QTextCursor block(Note().Document());
  block.beginEditBlock();
  ReplaceAll(outdent ? indented : plain, outdent ? plain : indented, lineStart, true, false, true, selection.cpMax);
  if (firstLine) {
    if (!outdent) {
      SetSelection(0, 0);
      ReplaceSel(unit, true, false);
    } else if (GetTextRange(CHARRANGE{0, static_cast<LONG>(unit.size())}) == unit) {
      SetSelection(0, static_cast<LONG>(unit.size()));
      ReplaceSel(QString(), true, false);
    }
  }
  block.endEditBlock();
  SetSelection(GetBookmarkPos(startMark), GetBookmarkPos(endMark));
  DeleteBookmark(endMark);
  DeleteBookmark(startMark);
}
