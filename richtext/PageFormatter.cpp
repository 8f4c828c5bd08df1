#include "PageFormatter.h"

#include "ListMarker.h"
#include "LongWords.h"
#include "NoteFormat.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <algorithm>

namespace {

LONG EffectiveEnd(const QTextDocument& document, const CHARRANGE& range) {
  const LONG length = document.characterCount() - 1;
  LONG end = range.cpMax < 0 || range.cpMax > length ? length : range.cpMax;
  // A range ending with a paragraph mark is laid out as the same range without it.
  if (end > range.cpMin && document.characterAt(end - 1) == QChar::ParagraphSeparator) --end;
  return end;
}

// Qt scales fonts, pictures, spacing and line heights for the layout device, but not the
// paragraphs' indents, which are screen pixels: those are scaled here.
QTextBlockFormat Scaled(const QTextBlockFormat& original, double scale) {
  QTextBlockFormat format = original;
  if (original.leftMargin() != 0) format.setLeftMargin(original.leftMargin() * scale);
  if (original.rightMargin() != 0) format.setRightMargin(original.rightMargin() * scale);
  if (original.textIndent() != 0) format.setTextIndent(original.textIndent() * scale);
  return format;
}

// The copy's indents from the source's at a resolution; unindented paragraphs stay as
// they are.
void ScaleParagraphs(const QTextDocument& source, QTextDocument& copy, double scale) {
  QTextCursor cursor(&copy);
  for (QTextBlock from = source.begin(), to = copy.begin(); from.isValid() && to.isValid();
       from = from.next(), to = to.next()) {
    const QTextBlockFormat format = from.blockFormat();
    if (format.leftMargin() == 0 && format.rightMargin() == 0 && format.textIndent() == 0) continue;
    cursor.setPosition(to.position());
    cursor.setBlockFormat(Scaled(format, scale));
  }
}

// The text to lay out for paper: indents scaled, and a form feed, which takes no room, as
// a zero-width space, so that positions stay the source's.
std::unique_ptr<QTextDocument> PaperCopy(const QTextDocument& source, double scale) {
  std::unique_ptr<QTextDocument> copy(source.clone());
  copy->setUndoRedoEnabled(false);
  copy->setDocumentMargin(0);
  // Paper has no room for what sticks out: a word longer than the line is broken.
  QTextOption option = copy->defaultTextOption();
  option.setWrapMode(LongWords::WrapMode(*copy));
  copy->setDefaultTextOption(option);
  QTextCursor cursor(copy.get());
  const QString text = copy->toRawText();
  for (qsizetype at = text.indexOf(QChar(u'\f')); at >= 0; at = text.indexOf(QChar(u'\f'), at + 1)) {
    cursor.setPosition(static_cast<int>(at));
    cursor.setPosition(static_cast<int>(at) + 1, QTextCursor::KeepAnchor);
    cursor.insertText(QString(QChar(0x200B)), cursor.charFormat());
  }
  ScaleParagraphs(source, *copy, scale);
  return copy;
}

}  // namespace

PageFormatter::~PageFormatter() { QObject::disconnect(watch_); }

void PageFormatter::Clear() {
  copy_.reset();
  lines_.clear();
  key_ = Key{};
}

void PageFormatter::Prepare(const QTextDocument& document, const Key& key) {
  if (source_.data() != &document) {
    QObject::disconnect(watch_);
    Clear();
    source_ = &document;
    document.documentLayout();  // Qt tells of changes only to a document that has a layout
    watch_ = QObject::connect(&document, &QTextDocument::contentsChange, [this] { Clear(); });
  }
  const double scale = key.dpiY / NoteFormat::TwipsToPixels(1440);
  const bool fresh = copy_ == nullptr;
  if (fresh) copy_ = PaperCopy(document, scale);
  if (key == key_) return;
  if (!fresh && key.dpiY != key_.dpiY) ScaleParagraphs(document, *copy_, scale);
  copy_->documentLayout()->setPaintDevice(const_cast<QPaintDevice*>(key.device));
  const bool widthChanged = copy_->textWidth() != key.width;
  copy_->setTextWidth(key.width);
  // A new device alone does not make Qt lay the text out again.
  if (!fresh && !widthChanged) copy_->markContentsDirty(0, copy_->characterCount());
  copy_->documentLayout()->documentSize();
  key_ = key;
  CollectLines();
}

void PageFormatter::CollectLines() {
  lines_.clear();
  for (QTextBlock block = copy_->begin(); block.isValid(); block = block.next()) {
    const QTextLayout* layout = block.layout();
    const double y = layout->position().y();
    const LONG base = block.position();
    for (int index = 0; index < layout->lineCount(); ++index) {
      const QTextLine line = layout->lineAt(index);
      const LONG end = index + 1 < layout->lineCount() ? base + layout->lineAt(index + 1).textStart() : base + block.length();
      const LONG start = base + line.textStart();
      lines_.push_back({start, end, y + line.y(), y + line.y() + line.height(), source_->characterAt(start) == u'\f',
                        block.blockNumber(), index});
    }
  }
}

size_t PageFormatter::FirstLine(LONG position) const {
  const auto line =
      std::upper_bound(lines_.begin(), lines_.end(), position, [](LONG at, const Line& each) { return at < each.end; });
  return static_cast<size_t>(line - lines_.begin());
}

void PageFormatter::Draw(QPainter& painter, size_t first, size_t last, const QPointF& at,
                         const QPaintDevice* device) const {
  const double top = lines_[first].top;
  painter.save();
  painter.translate(at.x(), at.y() - top);
  // What sticks out (a picture wider than the page) stays inside the text rectangle.
  painter.setClipRect(QRectF(0, top, key_.width, lines_[last].bottom - top), Qt::IntersectClip);
  painter.setPen(Qt::black);
  const double scale = key_.dpiY / NoteFormat::TwipsToPixels(1440);
  for (size_t index = first; index <= last; ++index) {
    const QTextBlock block = copy_->findBlockByNumber(lines_[index].block);
    block.layout()->lineAt(lines_[index].line).draw(&painter, block.layout()->position());
    // A marker goes with its paragraph's first line.
    if (lines_[index].line == 0) ListMarker::Draw(painter, block, QPointF(0, 0), scale, Qt::black, device);
  }
  painter.restore();
}

LONG PageFormatter::Format(const QTextDocument& document, FORMATRANGE& range, bool draw) {
  const QPaintDevice* device = range.hdcTarget ? range.hdcTarget : range.hdc->device();
  const Key key{device, device->logicalDpiX(), device->logicalDpiY(),
                std::max(1.0, (range.rc.right - range.rc.left) * device->logicalDpiX() / 1440.0)};
  const double height = (range.rc.bottom - range.rc.top) * key.dpiY / 1440.0;
  const LONG end = EffectiveEnd(document, range.chrg);
  if (range.chrg.cpMin >= end) {
    range.rc.bottom = range.rc.top;
    return std::max(range.chrg.cpMin, range.chrg.cpMax < 0 ? end : range.chrg.cpMax);
  }
  Prepare(document, key);
  const size_t first = FirstLine(range.chrg.cpMin);
  if (first >= lines_.size()) {
    range.rc.bottom = range.rc.top;
    return end;
  }
  size_t last = first;
  LONG next = lines_[first].end;
  for (size_t index = first + 1; index < lines_.size(); ++index) {
    const Line& line = lines_[index];
    if (line.start >= end) break;
    if (line.pageBreak) {
      next = line.start + 1;  // the page break itself takes no room
      break;
    }
    if (line.bottom - lines_[first].top > height) break;
    last = index;
    next = line.end;
  }
  if (draw && range.hdc)
    Draw(*range.hdc, first, last, QPointF(range.rc.left * key.dpiX / 1440.0, range.rc.top * key.dpiY / 1440.0), device);
  const double used = lines_[last].bottom - lines_[first].top;
  range.rc.bottom = range.rc.top + static_cast<LONG>(used * 1440.0 / key.dpiY + 0.5);
  return range.chrg.cpMax >= 0 ? std::min(next, std::max(range.chrg.cpMax, range.chrg.cpMin)) : next;
}
