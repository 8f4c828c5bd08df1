// RichEdit20's page breaks and its gutter: where the icons go and when they are refreshed.

#include "RichEdit20.h"

#include "Gutter.h"
#include "RichParagraph.h"

#include "Yelk/HourGlass.h"
#include "controls/Artwork.h"
#include "controls/FrugalPopupMenu.h"

#include <QCursor>
#include <QFontMetrics>

std::unique_ptr<IntArray> RichEdit20::GetPageBreakPositions() {
  auto positions = std::make_unique<IntArray>(QStringLiteral("Page Break Positions"));
  HourGlass::HG().Disable();
  for (LONG at = FindText(QStringLiteral("\f"), 0, true, true, false, false, -1); at >= 0;
       at = FindText(QStringLiteral("\f"), at + 1, true, true, false, false, -1))
    positions->Add(at);
  HourGlass::HG().Enable();
  return positions;
}

std::unique_ptr<IntArray> RichEdit20::GetVisiblePageBreaks() {
  auto positions = std::make_unique<IntArray>(QStringLiteral("Visible Page Break Positions"));
  const CHARRANGE visible = GetVisibleRange();
  if (visible.cpMin == -999 || visible.cpMax <= visible.cpMin) return positions;
  const QString text = Note().GetText(visible.cpMin, visible.cpMax);
  for (qsizetype at = text.indexOf(u'\f'); at >= 0; at = text.indexOf(u'\f', at + 1))
    positions->Add(visible.cpMin + static_cast<int>(at));
  return positions;
}

void RichEdit20::NewPage() {
  const LONG length = GetLength();
  CHARRANGE selection = GetSelection();
  const QChar before = selection.cpMin > 0 ? GetCharAt(selection.cpMin - 1) : QChar(0);
  const QChar after = GetCharAt(selection.cpMax);
  const bool bulleted = GetParagraph()->ReadBulletType() != 0;
  QString text = QStringLiteral("\r\f");
  bool atStart = false;
  if (before == u'\r') {
    --selection.cpMin;
  } else if (before == u'\f') {
    --selection.cpMin;
    text = QStringLiteral("\f\f");
  } else if (before.isNull()) {
    text = QStringLiteral("\f\r");
    atStart = true;
    if (selection.cpMax < length) {
      ++selection.cpMax;
      text += after;
    }
  }
  SetSelection(selection);
  ReplaceSel(text, true, false);
  int mark = -1;
  if (bulleted) {
    mark = SetBookmark(-1);
    if (atStart) SetSelection(1, 1);
    GetParagraph()->SetBulletType(0);
    // At the very start the break's own paragraph, position 0, is the one before.
    const LONG back = std::max<LONG>(0, GetCaretPos() - (text.size() - (before.isNull() ? 0 : 1)));
    SetSelection(back, back);
    GetParagraph()->SetBulletType(0);
  }
  if (atStart) {
    SetSelection(1, 1);
  } else if (mark >= 0) {
    MoveToBookmark(mark);
  }
  if (mark >= 0) DeleteBookmark(mark);
  CheckEndFontBug();
  EndHiLightMode();
  EndPaintMode();
}

void RichEdit20::PositionsToVisibleDepths(IntArray& positions) {
  QFont font;
  font.setPointSize(12);
  const int textHeight = QFontMetrics(font).boundingRect(QStringLiteral("X")).height();
  for (int i = 0; i < positions.Size(); ++i) {
    const LONG position = positions.Get(i);
    const LONG line = GetLineFromPos(position);
    const int top = PointFromCharPos(position).y();
    const LONG next = GetLinePos(line + 1);
    const int bottom = next >= 0 ? PointFromCharPos(next).y() : top + textHeight;
    positions.Put(i, top + (bottom - top) / 2 + 1);
  }
}

void RichEdit20::CheckGutterIcons() {
  if (!gutterPresent_ || gutter_ == nullptr) return;
  const LONG lineCount = GetLineCount(), firstLine = GetFirstVisibleLine();
  const bool marked = GetSelSize() != 0;
  const int topY = PointFromCharPos(GetLinePos(firstLine)).y();
  if (!GutterRefreshPending && lineCount == LastLineCount && firstLine == LastFirstLine && topY == LastTopY &&
      !SelectionMarked) {
    SelectionMarked = marked;
    return;
  }
  std::unique_ptr<IntArray> breaks = GetVisiblePageBreaks();
  PositionsToVisibleDepths(*breaks);
  gutter_->UpdateIcon(NewPageIcon, std::move(breaks));
  std::unique_ptr<IntArray> marks = GetVisibleBookmarks();
  PositionsToVisibleDepths(*marks);
  gutter_->UpdateIcon(BookmarkIcon, std::move(marks));
  LastLineCount = lineCount;
  LastFirstLine = firstLine;
  LastTopY = topY;
  GutterRefreshPending = false;
  SelectionMarked = marked;
}

void RichEdit20::PopupGutterMenu() {
  if (gutter_ == nullptr) return;
  gutter_->UpdateMenuItems();
  const QPoint mouse = QCursor::pos();
  gutter_->Menu()->Popup(mouse.x(), mouse.y() + 20);
}

void RichEdit20::CreateGutter() {
  gutter_ = new Gutter(*this, gutterAutoColor_ ? color_ : gutterColor_, gutterWidth_);
  NewPageIcon = gutter_->RegisterIcon(Artwork::Pixmap(QStringLiteral("bitmaps/NEWPAGE5")), QPixmap());
  BookmarkIcon = gutter_->RegisterIcon(Artwork::Pixmap(QStringLiteral("bitmaps/BOOKMARK2")),
                                       Artwork::Pixmap(QStringLiteral("bitmaps/BOOKMARKMULTIPLE")));
}
