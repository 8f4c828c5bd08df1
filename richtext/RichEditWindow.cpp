#include "RichEditWindow.h"

#include "FormatRanges.h"
#include "FormatRecords.h"
#include "KeptGroup.h"
#include "LongWords.h"
#include "NoteStream.h"
#include "NoteText.h"
#include "PictureFit.h"
#include "WordChar.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

// The selection bar's cursor: an arrow pointing up and to the right.
QCursor SelectionBarCursor() {
  QPixmap picture(16, 16);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  QPainterPath arrow;
  arrow.moveTo(15, 0);
  arrow.lineTo(15, 11);
  arrow.lineTo(11.5, 7.5);
  arrow.lineTo(5, 14);
  arrow.lineTo(2, 11);
  arrow.lineTo(8.5, 4.5);
  arrow.lineTo(4, 0);
  arrow.closeSubpath();
  painter.setPen(QPen(Qt::white, 1));
  painter.setBrush(Qt::black);
  painter.drawPath(arrow);
  painter.end();
  return QCursor(picture, 15, 0);
}

WORD SelectionType(const QString& text) {
  if (text.isEmpty()) return SEL_EMPTY;
  const qsizetype objects = text.count(QChar(NoteText::ObjectChar));
  WORD type = 0;
  if (objects < text.size()) type |= SEL_TEXT;
  if (text.size() - objects > 1) type |= SEL_MULTICHAR;
  if (objects > 0) type |= SEL_OBJECT;
  if (objects > 1) type |= SEL_MULTIOBJECT;
  return type;
}

}  // namespace

RichEditWindow::RichEditWindow(QWidget* parent) : QTextEdit(parent) {
  defaultChar_.face = font().family();
  defaultChar_.sizeTwips = font().pointSize() > 0 ? font().pointSize() * 20 : 200;
  bgColor_ = palette().color(QPalette::Base);
  setCursor(SelectionBarCursor());  // over the insets; the text area has its own
  connect(&note_, &NoteDocument::DocumentReplaced, this, &RichEditWindow::AttachDocument);
  connect(this, &QTextEdit::cursorPositionChanged, this, &RichEditWindow::SelectionMoved);
  connect(this, &QTextEdit::selectionChanged, this, &RichEditWindow::SelectionMoved);
  AttachDocument(note_.Document());
}

RichEditWindow::~RichEditWindow() {
  // The document goes with the note, before the base class lets go of it. Quietly: letting go
  // of a selection would tell the window that holds this editor, already half destroyed.
  const QSignalBlocker quiet(this);
  setDocument(nullptr);
}

void RichEditWindow::AttachDocument(QTextDocument* document) {
  const bool modified = document->isModified();
  const QTextOption::WrapMode wrap = LongWords::WrapMode(*document);
  if (wrap != wordWrapMode()) {
    // Set before the text is laid out, and with the outgoing text let go of first, so that
    // neither is laid out in a mode that is not its own.
    const QSignalBlocker quiet(this);
    setDocument(nullptr);
    setWordWrapMode(wrap);
  }
  // What changes the layout is set first: the document is laid out once, when it is shown.
  PictureFit::Install(document);
  PictureFit::SetRoomHeight(document, viewport()->height());
  document->setDefaultFont(defaultChar_.ToFormat().font());
  setDocument(document);
  document->setModified(modified);
  lines_.SetDocument(document);
  connect(document, &QTextDocument::contentsChange, this, &RichEditWindow::FollowLongWords);
  connect(document, &QTextDocument::contentsChange, this, &RichEditWindow::Update);
  if (note_.GetLength() == 0) ApplyDefaultToEmpty();
  lastSelection_ = {};
  SelectionMoved();
}

// Runs before Qt lays out the change, so long words typed or pasted are never measured line
// by line. Only the change is searched, unless it holds a long word: then the whole text
// counts against its budget.
void RichEditWindow::FollowLongWords(int from, int /*removed*/, int added) {
  const QTextDocument* text = document();
  if (wordWrapMode() != QTextOption::WrapAnywhere) {
    const auto changed = [&](const QTextBlock& block) { return block.isValid() && block.position() <= from + added; };
    bool found = false;
    for (QTextBlock block = text->findBlock(from); !found && changed(block); block = block.next())
      found = LongWords::Work(block) > 0;
    if (!found) return;
  }
  const QTextOption::WrapMode wrap = LongWords::WrapMode(*text);
  if (wrap == wordWrapMode()) return;
  setWordWrapMode(wrap);
  lines_.InvalidateAll();
}

void RichEditWindow::SelectionMoved() {
  const QTextCursor cursor = textCursor();
  const CHARRANGE range{cursor.selectionStart(), cursor.selectionEnd()};
  note_.SetSelection(range.cpMin, range.cpMax);
  if (range.cpMin == lastSelection_.cpMin && range.cpMax == lastSelection_.cpMax) return;
  lastSelection_ = range;
  if ((eventMask_ & ENM_SELCHANGE) == 0) return;
  SELCHANGE change;
  change.nmhdr.hwndFrom = this;
  change.nmhdr.code = EN_SELCHANGE;
  change.chrg = range;
  change.seltyp = SelectionType(note_.GetText(range.cpMin, range.cpMax));
  emit SelChange(change);
}

// ---- Selection and editing ----

CHARRANGE RichEditWindow::EmExGetSel() const {
  const QTextCursor cursor = textCursor();
  return {cursor.selectionStart(), cursor.selectionEnd()};
}

void RichEditWindow::EmExSetSel(CHARRANGE range) {
  const LONG length = note_.GetLength();
  LONG anchor = range.cpMin, position = range.cpMax;
  if (anchor < 0) {
    anchor = position = length;
  } else {
    anchor = std::min(anchor, length);
    position = position < 0 ? length : std::min(position, length);
  }
  QTextCursor cursor(document());
  cursor.setPosition(anchor);
  cursor.setPosition(position, QTextCursor::KeepAnchor);
  setTextCursor(cursor);
}

LONG RichEditWindow::EmReplaceSel(const QString& text, bool canUndo) {
  const CHARRANGE range = EmExGetSel();
  const LONG inserted = ReplaceRange(range, text, canUndo);
  EmExSetSel({range.cpMin + inserted, range.cpMin + inserted});
  return inserted;
}

LONG RichEditWindow::ReplaceRange(CHARRANGE range, const QString& text, bool canUndo) {
  QTextCharFormat format = currentCharFormat();
  if (range.cpMin < range.cpMax) {
    QTextCursor first(document());
    first.setPosition(range.cpMin + 1);
    format = first.charFormat();
  }
  if (KeptGroup::IsKept(format)) format = CharAttrs::Read(format).ToFormat();
  return note_.ReplaceRange(range.cpMin, range.cpMax, text, canUndo, &format);
}

QString RichEditWindow::EmGetSelText() const {
  const CHARRANGE range = EmExGetSel();
  return note_.GetText(range.cpMin, range.cpMax);
}

QString RichEditWindow::EmGetTextRange(LONG start, LONG end) const { return note_.GetText(start, end); }

bool RichEditWindow::EmUndo() {
  if (!note_.CanUndo()) return false;
  QTextCursor cursor = textCursor();
  document()->undo(&cursor);
  setTextCursor(cursor);
  return true;
}

bool RichEditWindow::EmRedo() {
  if (!note_.CanRedo()) return false;
  QTextCursor cursor = textCursor();
  document()->redo(&cursor);
  setTextCursor(cursor);
  return true;
}

bool RichEditWindow::EmSetReadOnly(bool readOnly) {
  setReadOnly(readOnly);
  if (readOnly) setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  return true;
}

DWORD RichEditWindow::EmSetOptions(UINT operation, DWORD options) {
  switch (operation) {
    case ECOOP_SET: options_ = options; break;
    case ECOOP_OR: options_ |= options; break;
    case ECOOP_AND: options_ &= options; break;
    case ECOOP_XOR: options_ ^= options; break;
    default: break;
  }
  return options_;
}

bool RichEditWindow::EmSetTypographyOptions(UINT options, UINT mask) {
  typography_ = (typography_ & ~mask) | (options & mask);
  return true;
}

DWORD RichEditWindow::EmSetEventMask(DWORD mask) {
  const DWORD previous = eventMask_;
  eventMask_ = mask;
  return previous;
}

bool RichEditWindow::EmCanPaste() const {
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  return mime != nullptr && canInsertFromMimeData(mime);
}

void RichEditWindow::WmCopy() { copy(); }

void RichEditWindow::WmCut() {
  if (!isReadOnly()) cut();
}

void RichEditWindow::WmPaste() {
  if (!isReadOnly()) paste();
}

// ---- View ----

void RichEditWindow::EmSetBkgndColor(const QColor& color) {
  bgColor_ = color;
  QPalette colours = palette();
  colours.setColor(QPalette::Base, transparent_ ? QColor(Qt::transparent) : color);
  setPalette(colours);
  update();
}

void RichEditWindow::EmHideSelection(bool hide) {
  QPalette colours = palette();
  const QPalette standard = QApplication::palette(this);
  for (const auto group : {QPalette::Active, QPalette::Inactive}) {
    colours.setColor(group, QPalette::Highlight, hide ? QColor(Qt::transparent) : standard.color(group, QPalette::Highlight));
    colours.setColor(group, QPalette::HighlightedText,
                     hide ? standard.color(group, QPalette::Text) : standard.color(group, QPalette::HighlightedText));
  }
  setPalette(colours);
}

void RichEditWindow::WmSetRedraw(bool on) {
  setUpdatesEnabled(on);
  if (on) viewport()->update();
}

void RichEditWindow::SetWordWrapStyle(bool wrap) {
  setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
  lines_.InvalidateAll();
}

void RichEditWindow::SetBorderStyle(bool border) { setFrameStyle(border ? QFrame::StyledPanel | QFrame::Sunken : QFrame::NoFrame); }

void RichEditWindow::SetScrollBarStyle(bool horizontal, bool vertical) {
  setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void RichEditWindow::SetTransparentStyle(bool transparent) {
  transparent_ = transparent;
  viewport()->setAutoFillBackground(!transparent);
  EmSetBkgndColor(bgColor_);
}

QRect RichEditWindow::ClientRect() const { return QRect(QPoint(0, 0), contentsRect().size()); }

void RichEditWindow::EmSetRect(const RECT& rect) {
  const QRect client = ClientRect();
  insets_.left = std::max<LONG>(rect.left, 0);
  insets_.top = std::max<LONG>(rect.top, 0);
  insets_.right = std::max<LONG>(client.width() - rect.right, 0);
  insets_.bottom = std::max<LONG>(client.height() - rect.bottom, 0);
  ApplyInsets();
}

RECT RichEditWindow::EmGetRect() const {
  const QRect client = ClientRect();
  return {insets_.left, insets_.top, client.width() - insets_.right, client.height() - insets_.bottom};
}

void RichEditWindow::SetGutterStrip(int width) {
  gutterStrip_ = std::max(width, 0);
  update();
}

void RichEditWindow::ApplyInsets() {
  setViewportMargins(insets_.left, insets_.top, insets_.right, insets_.bottom);
  lines_.InvalidateAll();
  update();
}

// ---- Display lines ----

LONG RichEditWindow::EmGetLineCount() { return lines_.Count(); }

LONG RichEditWindow::EmLineIndex(LONG line) {
  if (line == -1) line = EmExLineFromChar(-1);
  return lines_.LineStart(line);
}

LONG RichEditWindow::EmLineLength(LONG position) {
  return lines_.LineLength(position < 0 ? textCursor().position() : position);
}

LONG RichEditWindow::EmExLineFromChar(LONG position) {
  return lines_.LineFromPosition(position < 0 ? textCursor().position() : position);
}

LONG RichEditWindow::EmGetFirstVisibleLine() {
  const int position = document()->documentLayout()->hitTest(QPointF(0, verticalScrollBar()->value()), Qt::FuzzyHit);
  return lines_.LineFromPosition(std::max(position, 0));
}

void RichEditWindow::EmLineScroll(int characters, int lines) {
  if (lines != 0) {
    const LONG target = std::clamp<LONG>(EmGetFirstVisibleLine() + lines, 0, EmGetLineCount() - 1);
    verticalScrollBar()->setValue(static_cast<int>(std::floor(CharCell(lines_.LineStart(target)).y())));
  }
  if (characters != 0)
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + characters * fontMetrics().averageCharWidth());
}

// ---- Geometry ----

QPointF RichEditWindow::CharCell(LONG position) const {
  const QTextBlock block = document()->findBlock(position);
  const QRectF box = document()->documentLayout()->blockBoundingRect(block);
  const QTextLayout* layout = block.layout();
  const int within = position - block.position();
  const QTextLine line = layout == nullptr ? QTextLine() : layout->lineForTextPosition(within);
  if (!line.isValid()) return box.topLeft();
  return QPointF(layout->position().x() + line.cursorToX(within), layout->position().y() + line.y());
}

QPointF RichEditWindow::ToDocument(QPoint client) const {
  const QPoint inViewport = client + contentsRect().topLeft() - viewport()->pos();
  return QPointF(inViewport) + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

QPoint RichEditWindow::FromDocument(QPointF point) const {
  // Rounded up, so that the point lies inside the character's cell.
  const QPointF inViewport = point - QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
  return QPoint(int(std::ceil(inViewport.x() - 1e-6)), int(std::ceil(inViewport.y() - 1e-6))) + viewport()->pos() -
         contentsRect().topLeft();
}

QPoint RichEditWindow::EmPosFromChar(LONG position) {
  position = std::clamp<LONG>(position, 0, note_.GetLength());
  return FromDocument(CharCell(position));
}

LONG RichEditWindow::EmCharFromPos(QPoint point) {
  // Found the way CharCell places positions, so that a cell's corner finds its position.
  const QPointF at = ToDocument(point);
  QAbstractTextDocumentLayout* layout = document()->documentLayout();
  const QRectF lastBox = layout->blockBoundingRect(document()->lastBlock());
  if (at.y() >= lastBox.bottom()) return note_.GetLength();
  QTextBlock block = document()->findBlock(std::max(layout->hitTest(at, Qt::FuzzyHit), 0));
  for (QTextBlock next = block.next(); next.isValid() && layout->blockBoundingRect(next).isValid() &&
                                       next.layout()->position().y() <= at.y();
       next = block.next())
    block = next;
  while (block.previous().isValid() && layout->blockBoundingRect(block).isValid() && block.layout()->position().y() > at.y())
    block = block.previous();
  layout->blockBoundingRect(block);
  const QTextLayout* lines = block.layout();
  if (lines == nullptr || lines->lineCount() == 0) return block.position();
  const QPointF within = at - lines->position();
  QTextLine line = lines->lineAt(0);
  for (int i = 1; i < lines->lineCount() && lines->lineAt(i).y() <= within.y(); ++i) line = lines->lineAt(i);
  return std::clamp<LONG>(block.position() + line.xToCursor(within.x()), 0, note_.GetLength());
}

void RichEditWindow::EmScrollCaret() { ensureCursorVisible(); }

// ---- Formats ----

void RichEditWindow::ApplyDefaultToEmpty() {
  const QTextCharFormat format = defaultChar_.ToFormat();
  // Text typed into the empty paragraph takes its format; set outside the history, which
  // would otherwise hold a step the user never made.
  if (!note_.CanUndo() && !note_.CanRedo()) {
    const bool modified = note_.IsModified();
    QTextCursor(document()).setBlockCharFormat(format);
    note_.EmptyUndoBuffer();
    note_.SetModified(modified);
  }
  setCurrentCharFormat(format);
}

CHARRANGE RichEditWindow::WordAt(LONG position) const {
  const QString text = note_.GetText(std::max<LONG>(position - 256, 0), position + 256);
  const LONG base = std::max<LONG>(position - 256, 0);
  LONG start = position - base, end = start;
  while (start > 0 && WordChar::Is(text[start - 1])) --start;
  while (end < text.size() && WordChar::Is(text[end])) ++end;
  return {base + start, base + end};
}

CHARFORMAT2 RichEditWindow::EmGetCharFormat(UINT scope) {
  if (scope == SCF_DEFAULT) return FormatRecords::ToRecord(defaultChar_);
  const LONG length = note_.GetLength();
  if (scope & SCF_ALL) return length > 0 ? FormatRanges::GetChar(*document(), 0, length) : FormatRecords::ToRecord(CharAttrs::Read(currentCharFormat()));
  const CHARRANGE range = EmExGetSel();
  if (range.cpMin == range.cpMax) return FormatRecords::ToRecord(CharAttrs::Read(currentCharFormat()));
  return FormatRanges::GetChar(*document(), range.cpMin, range.cpMax);
}

bool RichEditWindow::EmSetCharFormat(UINT scope, const CHARFORMAT2& record) {
  auto applyToTyping = [this, &record] {
    QTextCharFormat format = currentCharFormat();
    CharAttrs attrs = CharAttrs::Read(format);
    FormatRecords::Apply(record, attrs);
    attrs.ApplyTo(format);
    setCurrentCharFormat(format);
  };
  const LONG length = note_.GetLength();
  if (scope == SCF_DEFAULT) {
    FormatRecords::Apply(record, defaultChar_);
    document()->setDefaultFont(defaultChar_.ToFormat().font());
    lines_.InvalidateAll();
    if (length == 0) ApplyDefaultToEmpty();
    emit Update();
    return true;
  }
  CHARRANGE range = (scope & SCF_ALL) ? CHARRANGE{0, length} : EmExGetSel();
  if (range.cpMin == range.cpMax && (scope & SCF_WORD)) range = WordAt(range.cpMin);
  if (range.cpMin < range.cpMax) FormatRanges::SetChar(*document(), range.cpMin, range.cpMax, record);
  const CHARRANGE selection = EmExGetSel();
  if (selection.cpMin == selection.cpMax || (scope & SCF_ALL)) applyToTyping();
  return true;
}

PARAFORMAT2 RichEditWindow::EmGetParaFormat() {
  const CHARRANGE range = EmExGetSel();
  return FormatRanges::GetPara(*document(), range.cpMin, range.cpMax);
}

bool RichEditWindow::EmSetParaFormat(const PARAFORMAT2& record) {
  const CHARRANGE range = EmExGetSel();
  FormatRanges::SetPara(*document(), range.cpMin, range.cpMax, record);
  return true;
}

// ---- Streams ----

LONG RichEditWindow::EmStreamIn(UINT format, EDITSTREAM& stream) {
  const LONG read = NoteStream::In(note_, format, stream);
  const CHARRANGE selection = note_.GetSelection();
  EmExSetSel(selection);
  return read;
}

LONG RichEditWindow::EmStreamOut(UINT format, EDITSTREAM& stream) { return NoteStream::Out(note_, format, stream); }
