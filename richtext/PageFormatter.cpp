#include "PageFormatter.h"

#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace {

struct Frame {
  double left, top, width, height, dpiX, dpiY;
};

// The block's text laid out at the frame's width; a form feed takes no room.
void LayOut(const QTextBlock& block, QTextLayout& layout, const Frame& frame) {
  QString text = block.text();
  text.replace(QChar(u'\f'), QChar(0x200B));
  const QTextBlockFormat format = block.blockFormat();
  const double scale = frame.dpiX / 96.0;
  const double left = format.leftMargin() * scale, indent = format.textIndent() * scale;
  const double width = std::max(1.0, frame.width - left - format.rightMargin() * scale);
  layout.setText(text);
  layout.setFormats(block.textFormats());
  QTextOption option(format.alignment());
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  layout.beginLayout();
  double y = 0;
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    const double first = line.lineNumber() == 0 ? indent : 0;
    line.setLineWidth(std::max(1.0, width - first));
    line.setPosition(QPointF(left + first, y));
    y += line.height();
  }
  layout.endLayout();
}

LONG EffectiveEnd(const QTextDocument& document, const CHARRANGE& range) {
  const LONG length = document.characterCount() - 1;
  LONG end = range.cpMax < 0 || range.cpMax > length ? length : range.cpMax;
  // A range ending with a paragraph mark is laid out as the same range without it.
  if (end > range.cpMin && document.characterAt(end - 1) == QChar::ParagraphSeparator) --end;
  return end;
}

}  // namespace

LONG PageFormatter::Format(const QTextDocument& document, FORMATRANGE& range, bool draw) {
  QPaintDevice* device = range.hdcTarget ? range.hdcTarget : range.hdc->device();
  const double dpiX = device->logicalDpiX(), dpiY = device->logicalDpiY();
  const Frame frame{range.rc.left * dpiX / 1440.0, range.rc.top * dpiY / 1440.0,
                    (range.rc.right - range.rc.left) * dpiX / 1440.0, (range.rc.bottom - range.rc.top) * dpiY / 1440.0,
                    dpiX, dpiY};
  const LONG end = EffectiveEnd(document, range.chrg);
  if (range.chrg.cpMin >= end) {
    range.rc.bottom = range.rc.top;
    return std::max(range.chrg.cpMin, range.chrg.cpMax < 0 ? end : range.chrg.cpMax);
  }
  LONG next = range.chrg.cpMin;
  double used = 0;
  bool any = false, full = false;
  for (QTextBlock block = document.findBlock(next); block.isValid() && !full && (next < end || !any); block = block.next()) {
    if (block.position() >= end && any) break;
    QTextLayout layout(block.text(), block.charFormat().font(), device);
    LayOut(block, layout, frame);
    for (int index = 0; index < layout.lineCount(); ++index) {
      const QTextLine line = layout.lineAt(index);
      const LONG lineStart = block.position() + line.textStart();
      const LONG lineEnd = lineStart + line.textLength();
      if (lineStart < next && lineEnd <= next) continue;
      if (any && (lineStart >= end || used + line.height() > frame.height)) {
        full = true;
        break;
      }
      if (draw && range.hdc) line.draw(range.hdc, QPointF(frame.left, frame.top + used - line.y()));
      used += line.height();
      any = true;
      next = index + 1 == layout.lineCount() ? block.position() + block.length() : lineEnd;
    }
  }
  range.rc.bottom = range.rc.top + static_cast<LONG>(used * 1440.0 / dpiY + 0.5);
  return range.chrg.cpMax >= 0 ? std::min(next, std::max(range.chrg.cpMax, range.chrg.cpMin)) : next;
}
