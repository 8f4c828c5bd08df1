#include "FormatRecords.h"


#include <algorithm>
#include <cstring>

namespace {

void SetEffect(DWORD& effects, DWORD bit, bool on) { effects = on ? (effects | bit) : (effects & ~bit); }

}  // namespace

COLORREF FormatRecords::ToColorRef(QRgb rgb) {
  return static_cast<COLORREF>(qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16));
}

QRgb FormatRecords::FromColorRef(COLORREF color) {
  return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

CHARFORMAT2 FormatRecords::ToRecord(const CharAttrs& a) {
  CHARFORMAT2 r;
  r.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_HIDDEN | CFM_SUBSCRIPT |
             CFM_UNDERLINETYPE | CFM_BACKCOLOR | CFM_CHARSET | CFM_OFFSET | CFM_FACE | CFM_COLOR |
             CFM_SIZE | CFM_WEIGHT;
  SetEffect(r.dwEffects, CFE_BOLD, a.bold);
  SetEffect(r.dwEffects, CFE_ITALIC, a.italic);
  SetEffect(r.dwEffects, CFE_UNDERLINE, a.underline != CFU_UNDERLINENONE);
  SetEffect(r.dwEffects, CFE_STRIKEOUT, a.strike);
  SetEffect(r.dwEffects, CFE_HIDDEN, a.hidden);
  SetEffect(r.dwEffects, CFE_SUBSCRIPT, a.script == 1);
  SetEffect(r.dwEffects, CFE_SUPERSCRIPT, a.script == 2);
  SetEffect(r.dwEffects, CFE_AUTOCOLOR, !a.hasColor);
  SetEffect(r.dwEffects, CFE_AUTOBACKCOLOR, !a.hasBack);
  r.yHeight = a.sizeTwips;
  r.yOffset = a.offsetTwips;
  r.crTextColor = a.hasColor ? ToColorRef(a.color) : 0;
  r.crBackColor = a.hasBack ? ToColorRef(a.back) : 0;
  r.bCharSet = static_cast<BYTE>(a.charSet);
  r.bPitchAndFamily = static_cast<BYTE>(a.pitchFamily);
  // UTF-8, so that no face name is lost; cut on a character boundary.
  QByteArray face = a.face.toUtf8();
  qsizetype length = std::min<qsizetype>(face.size(), sizeof r.szFaceName - 1);
  while (length > 0 && length < face.size() && (static_cast<unsigned char>(face[length]) & 0xC0) == 0x80) --length;
  std::memcpy(r.szFaceName, face.constData(), static_cast<size_t>(length));
  r.wWeight = a.bold ? 700 : 400;
  r.bUnderlineType = static_cast<BYTE>(a.underline);
  return r;
}

void FormatRecords::Apply(const CHARFORMAT2& r, CharAttrs& a) {
  const DWORD m = r.dwMask, e = r.dwEffects;
  if (m & CFM_BOLD) a.bold = e & CFE_BOLD;
  if (m & CFM_WEIGHT) a.bold = r.wWeight >= 600;
  if (m & CFM_ITALIC) a.italic = e & CFE_ITALIC;
  if (m & CFM_UNDERLINE) a.underline = (e & CFE_UNDERLINE) ? std::max<int>(a.underline, CFU_UNDERLINE) : CFU_UNDERLINENONE;
  if ((m & CFM_UNDERLINETYPE) && r.bUnderlineType <= CFU_UNDERLINETHICK) a.underline = r.bUnderlineType;
  if (m & CFM_STRIKEOUT) a.strike = e & CFE_STRIKEOUT;
  if (m & CFM_HIDDEN) a.hidden = e & CFE_HIDDEN;
  if (m & CFM_SUBSCRIPT) a.script = (e & CFE_SUBSCRIPT) ? 1 : (e & CFE_SUPERSCRIPT) ? 2 : 0;
  if (m & CFM_SIZE) a.sizeTwips = std::clamp<LONG>(r.yHeight, 20, 32760);
  if (m & CFM_OFFSET) a.offsetTwips = r.yOffset;
  if (m & CFM_COLOR) {
    a.hasColor = !(e & CFE_AUTOCOLOR);
    a.color = a.hasColor ? FromColorRef(r.crTextColor) : 0;
  }
  if (m & CFM_BACKCOLOR) {
    a.hasBack = !(e & CFE_AUTOBACKCOLOR);
    a.back = a.hasBack ? FromColorRef(r.crBackColor) : 0;
  }
  if (m & CFM_CHARSET) a.charSet = r.bCharSet;
  if (m & CFM_FACE) {
    a.face = QString::fromUtf8(r.szFaceName, static_cast<qsizetype>(strnlen(r.szFaceName, sizeof r.szFaceName)));
    a.pitchFamily = r.bPitchAndFamily;
  }
}

PARAFORMAT2 FormatRecords::ToRecord(const ParaAttrs& p) {
  PARAFORMAT2 r;
  r.dwMask = PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET | PFM_ALIGNMENT | PFM_TABSTOPS |
             PFM_NUMBERING | PFM_SPACEBEFORE | PFM_SPACEAFTER | PFM_LINESPACING |
             PFM_NUMBERINGSTYLE | PFM_NUMBERINGTAB | PFM_NUMBERINGSTART | PFM_PAGEBREAKBEFORE |
             PFM_TABLE;
  r.wNumbering = static_cast<WORD>(p.numbering);
  if (p.pageBreakBefore) r.wEffects |= PFE_PAGEBREAKBEFORE;
  if (!p.cells.isEmpty()) r.wEffects |= PFE_TABLE;
  // The record counts from the first line; RTF from the other lines.
  r.dxStartIndent = p.leftTwips + p.firstTwips;
  r.dxOffset = -p.firstTwips;
  r.dxRightIndent = p.rightTwips;
  r.wAlignment = static_cast<WORD>(p.align);
  const QList<int>& stops = p.cells.isEmpty() ? p.tabs : p.cells;
  r.cTabCount = static_cast<SHORT>(std::min<qsizetype>(stops.size(), MAX_TAB_STOPS));
  for (int i = 0; i < r.cTabCount; ++i) r.rgxTabs[i] = stops[i];
  r.dySpaceBefore = p.spaceBefore;
  r.dySpaceAfter = p.spaceAfter;
  if (p.lineSpacing == 0) {
    r.bLineSpacingRule = 0;
  } else if (p.lineMultiple) {
    r.bLineSpacingRule = 5;
    r.dyLineSpacing = std::abs(p.lineSpacing) / 12;  // twentieths of a line
  } else {
    r.bLineSpacingRule = p.lineSpacing > 0 ? 3 : 4;
    r.dyLineSpacing = std::abs(p.lineSpacing);
  }
  r.wNumberingStart = static_cast<WORD>(p.numberingStart);
  r.wNumberingStyle = static_cast<WORD>(p.numberingStyle);
  r.wNumberingTab = static_cast<WORD>(p.numberingTab);
  return r;
}

void FormatRecords::Apply(const PARAFORMAT2& r, ParaAttrs& p) {
  const DWORD m = r.dwMask;
  const int first = p.leftTwips + p.firstTwips;
  int start = first, offset = -p.firstTwips;
  if (m & PFM_STARTINDENT) start = r.dxStartIndent;
  if (m & PFM_OFFSETINDENT) start = first + r.dxStartIndent;
  if (m & PFM_OFFSET) offset = r.dxOffset;
  p.leftTwips = start + offset;
  p.firstTwips = -offset;
  if (m & PFM_RIGHTINDENT) p.rightTwips = r.dxRightIndent;
  if ((m & PFM_ALIGNMENT) && r.wAlignment >= PFA_LEFT && r.wAlignment <= PFA_JUSTIFY) p.align = r.wAlignment;
  if (m & PFM_TABSTOPS) {
    // A fresh list, not a cleared one: Qt 6.4 compares an emptied list with an unallocated
    // one by memcmp on a null pointer when the format is filed.
    p.tabs = QList<int>();
    for (int i = 0; i < std::clamp<int>(r.cTabCount, 0, MAX_TAB_STOPS); ++i) p.tabs.append(r.rgxTabs[i] & 0xFFFFFF);
  }
  if ((m & PFM_NUMBERING) && r.wNumbering <= PFN_UCROMAN) p.numbering = r.wNumbering;
  if (m & PFM_NUMBERINGSTYLE) p.numberingStyle = r.wNumberingStyle;
  if (m & PFM_NUMBERINGSTART) p.numberingStart = r.wNumberingStart;
  if (m & PFM_NUMBERINGTAB) p.numberingTab = r.wNumberingTab;
  if (m & PFM_SPACEBEFORE) p.spaceBefore = r.dySpaceBefore;
  if (m & PFM_SPACEAFTER) p.spaceAfter = r.dySpaceAfter;
  if (m & PFM_PAGEBREAKBEFORE) p.pageBreakBefore = r.wEffects & PFE_PAGEBREAKBEFORE;
  if (m & PFM_LINESPACING) {
    p.lineMultiple = false;
    switch (r.bLineSpacingRule) {
      case 1: p.lineSpacing = 360, p.lineMultiple = true; break;
      case 2: p.lineSpacing = 480, p.lineMultiple = true; break;
      case 3: p.lineSpacing = std::abs(r.dyLineSpacing); break;
      case 4: p.lineSpacing = -std::abs(r.dyLineSpacing); break;
      case 5: p.lineSpacing = std::abs(r.dyLineSpacing) * 12, p.lineMultiple = true; break;
      default: p.lineSpacing = 0; break;
    }
  }
}
