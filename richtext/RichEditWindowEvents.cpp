// The note editor window's events: typing within the text limit, mouse selection (whole
// words, the selection bar in the left inset), the insets' face, list markers, and the
// clipboard formats of copies and pastes.

#include "RichEditWindow.h"

#include "ListMarker.h"
#include "NoteClipboard.h"
#include "PictureFit.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>

// ---- Input ----

void RichEditWindow::keyPressEvent(QKeyEvent* event) {
  // The text limit holds for typing as for code.
  const QString typed = event->text();
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (!isReadOnly() && !typed.isEmpty() && (typed[0].isPrint() || enter)) {
    const CHARRANGE range = EmExGetSel();
    const qint64 after = qint64(note_.GetLength()) - (range.cpMax - range.cpMin) + (enter ? 1 : typed.size());
    if (after > note_.GetTextLimit()) {
      QApplication::beep();
      event->accept();
      return;
    }
  }
  QTextEdit::keyPressEvent(event);
}

void RichEditWindow::mousePressEvent(QMouseEvent* event) {
  QTextEdit::mousePressEvent(event);
  dragAnchor_ = event->button() == Qt::LeftButton ? textCursor().position() : -1;
}

void RichEditWindow::mouseMoveEvent(QMouseEvent* event) {
  QTextEdit::mouseMoveEvent(event);
  if ((event->buttons() & Qt::LeftButton) && dragAnchor_ >= 0 && (options_ & ECO_AUTOWORDSELECTION)) AutoWordDrag();
}

void RichEditWindow::mouseReleaseEvent(QMouseEvent* event) {
  QTextEdit::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton) dragAnchor_ = -1;
}

// Once a drag leaves the word it started in, it selects whole words at both ends.
void RichEditWindow::AutoWordDrag() {
  const LONG position = textCursor().position();
  const CHARRANGE home = WordAt(dragAnchor_);
  if (position >= home.cpMin && position <= home.cpMax) return;
  const CHARRANGE there = WordAt(position);
  QTextCursor cursor(document());
  if (position > dragAnchor_) {
    cursor.setPosition(home.cpMin);
    cursor.setPosition(std::max(there.cpMax, position), QTextCursor::KeepAnchor);
  } else {
    cursor.setPosition(home.cpMax);
    cursor.setPosition(std::min(there.cpMin, position), QTextCursor::KeepAnchor);
  }
  setTextCursor(cursor);
}

bool RichEditWindow::InSelectionBar(QPoint client) const {
  return client.x() >= gutterStrip_ && client.x() < insets_.left && client.y() >= 0 && client.y() < ClientRect().height();
}

CHARRANGE RichEditWindow::LineAtPoint(QPoint client) {
  const LONG line = EmExLineFromChar(EmCharFromPos(QPoint(insets_.left, client.y())));
  const LONG start = lines_.LineStart(line), next = lines_.LineStart(line + 1);
  return {start, next < 0 ? note_.GetLength() : next};
}

void RichEditWindow::SelectionBarPress(QPoint client) {
  barAnchor_ = LineAtPoint(client);
  EmExSetSel(barAnchor_);
}

void RichEditWindow::SelectionBarDrag(QPoint client) {
  const CHARRANGE line = LineAtPoint(client);
  if (line.cpMin >= barAnchor_.cpMin)
    EmExSetSel({barAnchor_.cpMin, line.cpMax});
  else
    EmExSetSel({barAnchor_.cpMax, line.cpMin});
}

bool RichEditWindow::event(QEvent* event) {
  // Events of the widget itself, not of the viewport: the insets around the text.
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      const QPoint client = mouse->position().toPoint() - contentsRect().topLeft();
      if (mouse->button() == Qt::LeftButton && InSelectionBar(client)) {
        setFocus(Qt::MouseFocusReason);
        SelectionBarPress(client);
        barDragging_ = true;
        return true;
      }
      // The context menu belongs to the whole editor, its insets included.
      if (mouse->button() == Qt::RightButton) {
        mousePressEvent(mouse);
        return true;
      }
      break;
    }
    case QEvent::MouseMove:
      if (barDragging_) {
        SelectionBarDrag(static_cast<QMouseEvent*>(event)->position().toPoint() - contentsRect().topLeft());
        return true;
      }
      break;
    case QEvent::MouseButtonRelease:
      if (barDragging_) {
        barDragging_ = false;
        return true;
      }
      if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        mouseReleaseEvent(static_cast<QMouseEvent*>(event));
        return true;
      }
      break;
    case QEvent::Paint:
      if (!transparent_) {
        // The insets are part of the editor's face; the gutter's strip is its panel's.
        QPainter painter(this);
        QRegion insets(contentsRect());
        insets -= QRect(viewport()->geometry());
        insets -= QRect(contentsRect().topLeft(), QSize(gutterStrip_, contentsRect().height()));
        painter.setClipRegion(insets);
        painter.fillRect(contentsRect(), bgColor_);
      }
      break;
    default: break;
  }
  return QTextEdit::event(event);
}

void RichEditWindow::resizeEvent(QResizeEvent* event) {
  QTextEdit::resizeEvent(event);
  PictureFit::SetRoomHeight(document(), viewport()->height());
  lines_.InvalidateAll();
}

// ---- Drawing ----

void RichEditWindow::paintEvent(QPaintEvent* event) {
  QTextEdit::paintEvent(event);
  QPainter painter(viewport());
  PaintMarkers(painter, event->rect());
}

// Numbering is kept as paragraph attributes: the markers are drawn here, at the first line's
// indent, in the paragraph's first character's font and colour.
void RichEditWindow::PaintMarkers(QPainter& painter, const QRect& area) {
  const QPointF scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
  QAbstractTextDocumentLayout* layout = document()->documentLayout();
  const int top = layout->hitTest(QPointF(0, scroll.y() + area.top()), Qt::FuzzyHit);
  for (QTextBlock block = document()->findBlock(std::max(top, 0)); block.isValid(); block = block.next()) {
    const QRectF box = layout->blockBoundingRect(block);
    if (box.top() - scroll.y() > area.bottom()) break;
    ListMarker::Draw(painter, block, -scroll, 1, palette().color(QPalette::Text), viewport());
  }
}

// ---- Clipboard formats ----

QMimeData* RichEditWindow::createMimeDataFromSelection() const {
  const CHARRANGE range = EmExGetSel();
  return NoteClipboard::MimeFromRange(note_, range.cpMin, range.cpMax).release();
}

bool RichEditWindow::canInsertFromMimeData(const QMimeData* source) const {
  return source != nullptr && NoteClipboard::CanInsert(*source);
}

void RichEditWindow::insertFromMimeData(const QMimeData* source) {
  if (source == nullptr || isReadOnly()) return;
  const CHARRANGE range = EmExGetSel();
  QMimeData textOnly;
  if (PasteTextOnly()) textOnly.setText(source->text());
  const LONG inserted = NoteClipboard::Insert(note_, range.cpMin, range.cpMax, PasteTextOnly() ? textOnly : *source);
  if (inserted > 0) EmExSetSel({range.cpMin + inserted, range.cpMin + inserted});
  ensureCursorVisible();
}
