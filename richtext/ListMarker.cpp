#include "ListMarker.h"

#include "NoteFormat.h"

#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>

namespace {

QString Roman(int n) {
  static const struct {
    int value;
    const char* text;
  } kParts[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"},
                {50, "l"},   {40, "xl"},  {10, "x"},  {9, "ix"},   {5, "v"},   {4, "iv"}, {1, "i"}};
  QString out;
  n = qBound(1, n, 3999);
  for (const auto& part : kParts)
    for (; n >= part.value; n -= part.value) out += QLatin1String(part.text);
  return out;
}

QString Letters(int n) {
  QString out;
  n = qMax(1, n);
  for (; n > 0; n = (n - 1) / 26) out.prepend(QChar(u'a' + (n - 1) % 26));
  return out;
}

}  // namespace

QString ListMarker::Text(int kind, int style, int number) {
  QString core;
  switch (kind) {
    case PFN_BULLET: return QString(QChar(0x2022));
    case PFN_ARABIC: core = QString::number(number); break;
    case PFN_LCLETTER: core = Letters(number); break;
    case PFN_UCLETTER: core = Letters(number).toUpper(); break;
    case PFN_LCROMAN: core = Roman(number); break;
    case PFN_UCROMAN: core = Roman(number).toUpper(); break;
    default: return {};
  }
  switch (style) {
    case PFNS_PAREN: return core + u')';
    case PFNS_PARENS: return u'(' + core + u')';
    case PFNS_PERIOD: return core + u'.';
    case PFNS_NONUMBER: return {};
    default: return core;
  }
}

QString ListMarker::ForBlock(const QTextBlock& block) {
  const QTextBlockFormat format = block.blockFormat();
  const int kind = format.intProperty(NoteProperty::Numbering);
  if (kind == 0) return {};
  const int start = format.hasProperty(NoteProperty::NumberingStart) ? format.intProperty(NoteProperty::NumberingStart) : 1;
  return Text(kind, format.intProperty(NoteProperty::NumberingStyle), start + Ordinal(block));
}

int ListMarker::Ordinal(const QTextBlock& block) {
  const QTextBlockFormat format = block.blockFormat();
  const int kind = format.intProperty(NoteProperty::Numbering);
  const int style = format.intProperty(NoteProperty::NumberingStyle);
  int index = 0;
  for (QTextBlock b = block.previous(); b.isValid(); b = b.previous()) {
    const QTextBlockFormat f = b.blockFormat();
    if (f.intProperty(NoteProperty::Numbering) != kind || f.intProperty(NoteProperty::NumberingStyle) != style)
      break;
    ++index;
  }
  return index;
}

void ListMarker::Draw(QPainter& painter, const QTextBlock& block, const QPointF& origin, qreal scale,
                      const QColor& text, const QPaintDevice* device) {
  const QString marker = ForBlock(block);
  if (marker.isEmpty() || block.layout() == nullptr || block.layout()->lineCount() == 0) return;
  const ParaAttrs para = ParaAttrs::Read(block.blockFormat());
  const QTextCharFormat format = block.begin().atEnd() ? block.charFormat() : block.begin().fragment().charFormat();
  // Laid out for the device, so that a printer's marker has the printer's metrics on any painter.
  QTextLayout layout(marker, format.font(), device);
  layout.beginLayout();
  const QTextLine markerLine = layout.createLine();
  layout.endLayout();
  const QTextLine line = block.layout()->lineAt(0);
  const QPointF at = origin + block.layout()->position();
  painter.save();
  painter.setPen(format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color() : text);
  layout.draw(&painter, QPointF(at.x() + NoteFormat::TwipsToPixels(para.leftTwips + para.firstTwips) * scale,
                                at.y() + line.y() + line.ascent() - markerLine.ascent()));
  painter.restore();
}
