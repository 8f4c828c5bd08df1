#include "FormatRanges.h"

#include "FormatRecords.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

namespace {

struct Piece {
  int from, to;
  QTextCharFormat format;
};

// The runs of [start, end) with their formats, collected before anything changes them.
std::vector<Piece> PiecesOf(const QTextDocument& document, int start, int end) {
  std::vector<Piece> pieces;
  for (QTextBlock block = document.findBlock(start); block.isValid() && block.position() < end; block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const int from = std::max(start, fragment.position());
      const int to = std::min(end, fragment.position() + fragment.length());
      if (from < to) pieces.push_back({from, to, fragment.charFormat()});
    }
  }
  return pieces;
}

// The paragraphs [start, end] touches; a range ending where a paragraph starts leaves it out.
std::vector<QTextBlock> BlocksOf(const QTextDocument& document, int start, int end) {
  const QTextBlock first = document.findBlock(start);
  QTextBlock last = document.findBlock(end);
  if (end > start && last.position() == end && last.previous().isValid()) last = last.previous();
  std::vector<QTextBlock> blocks;
  for (QTextBlock block = first; block.isValid(); block = block.next()) {
    blocks.push_back(block);
    if (block == last) break;
  }
  return blocks;
}

bool Bit(DWORD effects, DWORD bit) { return (effects & bit) != 0; }

}  // namespace

DWORD FormatRanges::SameChar(const CHARFORMAT2& a, const CHARFORMAT2& b) {
  const DWORD e = a.dwEffects ^ b.dwEffects;
  DWORD same = 0;
  auto keep = [&same](DWORD mask, bool alike) { same |= alike ? mask : 0; };
  keep(CFM_BOLD, !Bit(e, CFE_BOLD));
  keep(CFM_ITALIC, !Bit(e, CFE_ITALIC));
  keep(CFM_UNDERLINE, !Bit(e, CFE_UNDERLINE));
  keep(CFM_STRIKEOUT, !Bit(e, CFE_STRIKEOUT));
  keep(CFM_HIDDEN, !Bit(e, CFE_HIDDEN));
  keep(CFM_SUBSCRIPT, !Bit(e, CFE_SUBSCRIPT | CFE_SUPERSCRIPT));
  keep(CFM_UNDERLINETYPE, a.bUnderlineType == b.bUnderlineType);
  keep(CFM_WEIGHT, a.wWeight == b.wWeight);
  keep(CFM_SIZE, a.yHeight == b.yHeight);
  keep(CFM_OFFSET, a.yOffset == b.yOffset);
  keep(CFM_CHARSET, a.bCharSet == b.bCharSet);
  keep(CFM_FACE, a.bPitchAndFamily == b.bPitchAndFamily && std::strncmp(a.szFaceName, b.szFaceName, sizeof a.szFaceName) == 0);
  keep(CFM_COLOR, !Bit(e, CFE_AUTOCOLOR) && (Bit(a.dwEffects, CFE_AUTOCOLOR) || a.crTextColor == b.crTextColor));
  keep(CFM_BACKCOLOR,
       !Bit(e, CFE_AUTOBACKCOLOR) && (Bit(a.dwEffects, CFE_AUTOBACKCOLOR) || a.crBackColor == b.crBackColor));
  return same;
}

DWORD FormatRanges::SamePara(const PARAFORMAT2& a, const PARAFORMAT2& b) {
  DWORD same = 0;
  auto keep = [&same](DWORD mask, bool alike) { same |= alike ? mask : 0; };
  keep(PFM_STARTINDENT, a.dxStartIndent == b.dxStartIndent);
  keep(PFM_RIGHTINDENT, a.dxRightIndent == b.dxRightIndent);
  keep(PFM_OFFSET, a.dxOffset == b.dxOffset);
  keep(PFM_ALIGNMENT, a.wAlignment == b.wAlignment);
  keep(PFM_TABSTOPS, a.cTabCount == b.cTabCount && std::equal(a.rgxTabs, a.rgxTabs + std::clamp<int>(a.cTabCount, 0, MAX_TAB_STOPS), b.rgxTabs));
  keep(PFM_NUMBERING, a.wNumbering == b.wNumbering);
  keep(PFM_SPACEBEFORE, a.dySpaceBefore == b.dySpaceBefore);
  keep(PFM_SPACEAFTER, a.dySpaceAfter == b.dySpaceAfter);
  keep(PFM_LINESPACING, a.bLineSpacingRule == b.bLineSpacingRule && a.dyLineSpacing == b.dyLineSpacing);
  keep(PFM_NUMBERINGSTYLE, a.wNumberingStyle == b.wNumberingStyle);
  keep(PFM_NUMBERINGTAB, a.wNumberingTab == b.wNumberingTab);
  keep(PFM_NUMBERINGSTART, a.wNumberingStart == b.wNumberingStart);
  keep(PFM_PAGEBREAKBEFORE, ((a.wEffects ^ b.wEffects) & PFE_PAGEBREAKBEFORE) == 0);
  keep(PFM_TABLE, ((a.wEffects ^ b.wEffects) & PFE_TABLE) == 0);
  return same;
}

CHARFORMAT2 FormatRanges::GetChar(const QTextDocument& document, LONG start, LONG end) {
  CHARFORMAT2 first;
  bool seen = false;
  std::set<int> formats;  // a format met once is known
  for (QTextBlock block = document.findBlock(start); block.isValid() && block.position() < end; block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (fragment.position() + fragment.length() <= start || fragment.position() >= end) continue;
      if (!formats.insert(fragment.charFormatIndex()).second) continue;
      const CHARFORMAT2 record = FormatRecords::ToRecord(CharAttrs::Read(fragment.charFormat()));
      if (!seen) {
        first = record;
        seen = true;
      } else {
        first.dwMask &= SameChar(first, record);
      }
    }
  }
  if (!seen) first = FormatRecords::ToRecord(CharAttrs::Read(QTextCursor(const_cast<QTextDocument*>(&document)).charFormat()));
  return first;
}

void FormatRanges::SetChar(QTextDocument& document, LONG start, LONG end, const CHARFORMAT2& record) {
  const std::vector<Piece> pieces = PiecesOf(document, start, end);
  QTextCursor cursor(&document);
  cursor.beginEditBlock();
  for (const Piece& piece : pieces) {
    QTextCharFormat format = piece.format;
    CharAttrs attrs = CharAttrs::Read(format);
    FormatRecords::Apply(record, attrs);
    attrs.ApplyTo(format);
    cursor.setPosition(piece.from);
    cursor.setPosition(piece.to, QTextCursor::KeepAnchor);
    cursor.setCharFormat(format);
  }
  // A paragraph the range covers to its end keeps the format for text typed at that end.
  for (const QTextBlock& block : BlocksOf(document, start, end)) {
    if (block.position() + block.length() - 1 > end || block.position() < start) continue;
    QTextCharFormat format = block.charFormat();
    CharAttrs attrs = CharAttrs::Read(format);
    FormatRecords::Apply(record, attrs);
    attrs.ApplyTo(format);
    cursor.setPosition(block.position());
    cursor.setBlockCharFormat(format);
  }
  cursor.endEditBlock();
}

PARAFORMAT2 FormatRanges::GetPara(const QTextDocument& document, LONG start, LONG end) {
  PARAFORMAT2 first;
  bool seen = false;
  std::set<int> formats;
  for (const QTextBlock& block : BlocksOf(document, start, end)) {
    if (!formats.insert(block.blockFormatIndex()).second) continue;
    const PARAFORMAT2 record = FormatRecords::ToRecord(ParaAttrs::Read(block.blockFormat()));
    if (!seen) {
      first = record;
      seen = true;
    } else {
      first.dwMask &= SamePara(first, record);
    }
  }
  return first;
}

void FormatRanges::SetPara(QTextDocument& document, LONG start, LONG end, const PARAFORMAT2& record) {
  const std::vector<QTextBlock> blocks = BlocksOf(document, start, end);
  QTextCursor cursor(&document);
  cursor.beginEditBlock();
  for (const QTextBlock& block : blocks) {
    QTextBlockFormat format = block.blockFormat();
    ParaAttrs attrs = ParaAttrs::Read(format);
    FormatRecords::Apply(record, attrs);
    attrs.ApplyTo(format);
    cursor.setPosition(block.position());
    cursor.setBlockFormat(format);
  }
  cursor.endEditBlock();
}
