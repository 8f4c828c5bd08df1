#include "NoteFormat.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QTextOption>

#include <algorithm>

namespace {

QTextCharFormat::UnderlineStyle QtUnderline(int kind) {
  switch (kind) {
    case CFU_UNDERLINENONE: return QTextCharFormat::NoUnderline;
    case CFU_UNDERLINEDOTTED: return QTextCharFormat::DotLine;
    case CFU_UNDERLINEDASH: return QTextCharFormat::DashUnderline;
    case CFU_UNDERLINEDASHDOT: return QTextCharFormat::DashDotLine;
    case CFU_UNDERLINEDASHDOTDOT: return QTextCharFormat::DashDotDotLine;
    case CFU_UNDERLINEWAVE: return QTextCharFormat::WaveUnderline;
    default: return QTextCharFormat::SingleUnderline;
  }
}

QList<int> IntList(const QVariant& value) { return value.value<QList<int>>(); }

int IntOr(const QTextFormat& format, int property, int fallback) {
  return format.hasProperty(property) ? format.intProperty(property) : fallback;
}

}  // namespace

qreal NoteFormat::TwipsToPixels(int twips) {
  // Asked for every length of every paragraph: the screen is looked up once.
  static const qreal dpi = [] {
    if (qGuiApp != nullptr && QGuiApplication::primaryScreen() != nullptr)
      return QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    return qreal(96);
  }();
  return twips * dpi / 1440.0;
}

int NoteFormat::CodePageOfCharSet(int charSet, int ansi) {
  switch (charSet) {
    case SYMBOL_CHARSET: return 0;
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 255: return 437;
    default: return ansi;
  }
}

CharAttrs CharAttrs::Read(const QTextCharFormat& format) {
  CharAttrs a;
  if (format.hasProperty(NoteProperty::Face)) {
    a.face = format.stringProperty(NoteProperty::Face);
  } else {
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty()) a.face = families.first();
  }
  a.charSet = IntOr(format, NoteProperty::CharSet, ANSI_CHARSET);
  a.pitchFamily = IntOr(format, NoteProperty::PitchFamily, FF_DONTCARE);
  if (format.hasProperty(NoteProperty::SizeTwips))
    a.sizeTwips = format.intProperty(NoteProperty::SizeTwips);
  else if (format.hasProperty(QTextFormat::FontPointSize))
    a.sizeTwips = qRound(format.fontPointSize() * 20);
  a.bold = format.fontWeight() >= QFont::Bold;
  a.italic = format.fontItalic();
  a.strike = format.fontStrikeOut();
  a.hidden = format.boolProperty(NoteProperty::Hidden);
  if (format.hasProperty(NoteProperty::UnderlineKind))
    a.underline = format.intProperty(NoteProperty::UnderlineKind);
  else if (format.underlineStyle() != QTextCharFormat::NoUnderline)
    a.underline = CFU_UNDERLINE;
  if (format.verticalAlignment() == QTextCharFormat::AlignSubScript) a.script = 1;
  if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript) a.script = 2;
  a.offsetTwips = format.intProperty(NoteProperty::OffsetTwips);
  if (format.hasProperty(QTextFormat::ForegroundBrush)) {
    a.hasColor = true;
    a.color = format.foreground().color().rgb();
  }
  if (format.hasProperty(QTextFormat::BackgroundBrush)) {
    a.hasBack = true;
    a.back = format.background().color().rgb();
  }
  a.fieldInstruction = format.stringProperty(NoteProperty::FieldInstruction);
  a.fieldId = format.intProperty(NoteProperty::FieldId);
  return a;
}

void CharAttrs::ApplyTo(QTextCharFormat& format) const {
  if (!face.isEmpty()) {
    format.setProperty(NoteProperty::Face, face);
    format.setFontFamilies(QStringList{face});
  } else {
    format.clearProperty(NoteProperty::Face);
  }
  format.setProperty(NoteProperty::CharSet, charSet);
  format.setProperty(NoteProperty::PitchFamily, pitchFamily);
  format.setProperty(NoteProperty::SizeTwips, sizeTwips);
  format.setFontPointSize(sizeTwips / 20.0);
  format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
  format.setFontItalic(italic);
  format.setFontStrikeOut(strike);
  format.setProperty(NoteProperty::Hidden, hidden);
  format.setProperty(NoteProperty::UnderlineKind, underline);
  format.setUnderlineStyle(QtUnderline(underline));
  format.setVerticalAlignment(script == 1   ? QTextCharFormat::AlignSubScript
                              : script == 2 ? QTextCharFormat::AlignSuperScript
                                            : QTextCharFormat::AlignNormal);
  format.setProperty(NoteProperty::OffsetTwips, offsetTwips);
  if (hasColor)
    format.setForeground(QColor::fromRgb(color));
  else
    format.clearForeground();
  if (hasBack)
    format.setBackground(QColor::fromRgb(back));
  else
    format.clearBackground();
  if (fieldId != 0) {
    format.setProperty(NoteProperty::FieldInstruction, fieldInstruction);
    format.setProperty(NoteProperty::FieldId, fieldId);
  } else {
    format.clearProperty(NoteProperty::FieldInstruction);
    format.clearProperty(NoteProperty::FieldId);
  }
}

QTextCharFormat CharAttrs::ToFormat() const {
  QTextCharFormat format;
  ApplyTo(format);
  return format;
}

bool ParaAttrs::operator==(const ParaAttrs& o) const {
  auto same = [](const QList<int>& a, const QList<int>& b) { return a.size() == b.size() && (a.isEmpty() || a == b); };
  return align == o.align && leftTwips == o.leftTwips && rightTwips == o.rightTwips && firstTwips == o.firstTwips &&
         spaceBefore == o.spaceBefore && spaceAfter == o.spaceAfter && lineSpacing == o.lineSpacing &&
         lineMultiple == o.lineMultiple && same(tabs, o.tabs) && numbering == o.numbering &&
         numberingStyle == o.numberingStyle && numberingStart == o.numberingStart && numberingTab == o.numberingTab &&
         pageBreakBefore == o.pageBreakBefore && same(cells, o.cells);
}

ParaAttrs ParaAttrs::Read(const QTextBlockFormat& format) {
  ParaAttrs p;
  const Qt::Alignment h = format.alignment() & Qt::AlignHorizontal_Mask;
  p.align = h == Qt::AlignRight      ? PFA_RIGHT
            : h == Qt::AlignHCenter  ? PFA_CENTER
            : h == Qt::AlignJustify  ? PFA_JUSTIFY
                                     : PFA_LEFT;
  p.leftTwips = format.intProperty(NoteProperty::StartIndent);
  p.rightTwips = format.intProperty(NoteProperty::RightIndent);
  p.firstTwips = format.intProperty(NoteProperty::FirstIndent);
  p.spaceBefore = format.intProperty(NoteProperty::SpaceBefore);
  p.spaceAfter = format.intProperty(NoteProperty::SpaceAfter);
  p.lineSpacing = format.intProperty(NoteProperty::LineSpacing);
  p.lineMultiple = format.boolProperty(NoteProperty::LineMultiple);
  p.tabs = IntList(format.property(NoteProperty::TabStops));
  p.numbering = format.intProperty(NoteProperty::Numbering);
  p.numberingStyle = IntOr(format, NoteProperty::NumberingStyle, PFNS_PERIOD);
  p.numberingStart = IntOr(format, NoteProperty::NumberingStart, 1);
  p.numberingTab = format.intProperty(NoteProperty::NumberingTab);
  p.pageBreakBefore = format.boolProperty(NoteProperty::PageBreakBefore);
  p.cells = IntList(format.property(NoteProperty::CellBoundaries));
  return p;
}

void ParaAttrs::ApplyTo(QTextBlockFormat& format) const {
  format.setAlignment(align == PFA_RIGHT    ? Qt::AlignRight
                      : align == PFA_CENTER ? Qt::AlignHCenter
                      : align == PFA_JUSTIFY ? Qt::AlignJustify
                                            : Qt::AlignLeft);
  format.setProperty(NoteProperty::StartIndent, leftTwips);
  format.setProperty(NoteProperty::RightIndent, rightTwips);
  format.setProperty(NoteProperty::FirstIndent, firstTwips);
  format.setProperty(NoteProperty::SpaceBefore, spaceBefore);
  format.setProperty(NoteProperty::SpaceAfter, spaceAfter);
  format.setProperty(NoteProperty::LineSpacing, lineSpacing);
  format.setProperty(NoteProperty::LineMultiple, lineMultiple);
  format.setProperty(NoteProperty::TabStops, QVariant::fromValue(tabs));
  format.setProperty(NoteProperty::Numbering, numbering);
  format.setProperty(NoteProperty::NumberingStyle, numberingStyle);
  format.setProperty(NoteProperty::NumberingStart, numberingStart);
  format.setProperty(NoteProperty::NumberingTab, numberingTab);
  format.setProperty(NoteProperty::PageBreakBefore, pageBreakBefore);
  format.setProperty(NoteProperty::CellBoundaries, QVariant::fromValue(cells));

  // What Qt draws. A numbered first line starts its text after the marker's tab, and never
  // on the marker (which the editor and the printer draw at the first-line indent).
  format.setLeftMargin(NoteFormat::TwipsToPixels(leftTwips));
  format.setRightMargin(NoteFormat::TwipsToPixels(rightTwips));
  const int markerTab = numbering ? std::max({numberingTab, -firstTwips, 360}) : 0;
  format.setTextIndent(NoteFormat::TwipsToPixels(firstTwips + markerTab));
  format.setTopMargin(NoteFormat::TwipsToPixels(spaceBefore));
  format.setBottomMargin(NoteFormat::TwipsToPixels(spaceAfter));
  if (lineSpacing == 0)
    format.setLineHeight(100, QTextBlockFormat::SingleHeight);
  else if (lineMultiple)
    format.setLineHeight(qAbs(lineSpacing) * 100.0 / 240, QTextBlockFormat::ProportionalHeight);
  else if (lineSpacing > 0)
    format.setLineHeight(NoteFormat::TwipsToPixels(lineSpacing), QTextBlockFormat::MinimumHeight);
  else
    format.setLineHeight(NoteFormat::TwipsToPixels(-lineSpacing), QTextBlockFormat::FixedHeight);
  format.setPageBreakPolicy(pageBreakBefore ? QTextFormat::PageBreak_AlwaysBefore
                                            : QTextFormat::PageBreak_Auto);
  // A table row is one paragraph whose cells are tab-separated: its stops are the boundaries.
  const QList<int>& stops = cells.isEmpty() ? tabs : cells;
  QList<QTextOption::Tab> qtTabs;
  qtTabs.reserve(stops.size());
  for (int twips : stops) qtTabs.append(QTextOption::Tab(NoteFormat::TwipsToPixels(twips), QTextOption::LeftTab));
  format.setTabPositions(qtTabs);
}

QTextBlockFormat ParaAttrs::ToFormat() const {
  QTextBlockFormat format;
  ApplyTo(format);
  return format;
}
