#include "RichParagraph.h"

#include "FormatRanges.h"
#include "NoteFormat.h"
#include "RichEdit20.h"

#include "Yelk/SystemUtils.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

RichParagraph::RichParagraph(RichEdit20& owner, std::function<bool()> metricLocale)
    : owner_(owner), metricLocale_(metricLocale ? std::move(metricLocale) : std::function<bool()>(IsMetricLocale)) {}

const PARAFORMAT2& RichParagraph::GetFormat() {
  InitFormat();
  format_ = owner_.EmGetParaFormat();
  return format_;
}

void RichParagraph::SetFormat(PARAFORMAT2& format, bool all) {
  if (all) format.dwMask = 0x8000F9FF;
  owner_.EmSetParaFormat(format);
  owner_.GutterRefreshPending = true;
}

void RichParagraph::Apply(DWORD mask, const std::function<void(PARAFORMAT2&)>& change) {
  InitFormat();
  format_.dwMask = mask;
  change(format_);
  SetFormat(format_, false);
}

bool RichParagraph::IsEqual(const PARAFORMAT2* other) {
  if (other == nullptr) return false;
  const PARAFORMAT2& a = GetFormat();
  const PARAFORMAT2& b = *other;
  return a.cbSize == b.cbSize && a.dwMask == b.dwMask && a.wNumbering == b.wNumbering && a.wEffects == b.wEffects &&
         a.dxStartIndent == b.dxStartIndent && a.dxRightIndent == b.dxRightIndent && a.dxOffset == b.dxOffset &&
         a.wAlignment == b.wAlignment && a.cTabCount == b.cTabCount &&
         std::equal(a.rgxTabs, a.rgxTabs + MAX_TAB_STOPS, b.rgxTabs) && a.dySpaceBefore == b.dySpaceBefore &&
         a.dySpaceAfter == b.dySpaceAfter && a.dyLineSpacing == b.dyLineSpacing && a.sStyle == b.sStyle &&
         a.bLineSpacingRule == b.bLineSpacingRule && a.bOutlineLevel == b.bOutlineLevel &&
         a.wShadingWeight == b.wShadingWeight && a.wShadingStyle == b.wShadingStyle &&
         a.wNumberingStart == b.wNumberingStart && a.wNumberingStyle == b.wNumberingStyle &&
         a.wNumberingTab == b.wNumberingTab && a.wBorderSpace == b.wBorderSpace && a.wBorderWidth == b.wBorderWidth &&
         a.wBorders == b.wBorders;
}

// ---- Reads ----

int RichParagraph::ReadAlignment() {
  switch (GetFormat().wAlignment) {
    case PFA_RIGHT: return Right;
    case PFA_CENTER: return Centre;
    case PFA_JUSTIFY: return owner_.GetAdvancedTypography() ? Justified : Left;
    default: return Left;
  }
}

int RichParagraph::ReadSpaceAfter() { return GetFormat().dySpaceAfter / 20; }
int RichParagraph::ReadSpaceBefore() { return GetFormat().dySpaceBefore / 20; }

int RichParagraph::ReadSpacing() {
  const PARAFORMAT2& record = GetFormat();
  switch (record.bLineSpacingRule) {
    case 0: return 20;
    case 1: return 30;
    case 2: return 40;
    case 5: return record.dyLineSpacing == 20 || record.dyLineSpacing == 30 || record.dyLineSpacing == 40 ? record.dyLineSpacing : 0;
    default: return 0;
  }
}

int RichParagraph::ReadIndentFirstLine() {
  const LONG offset = GetFormat().dxOffset;
  return offset == -SmallStep ? 1 : offset == -LargeStep ? 2 : 0;
}

int RichParagraph::ReadHangingIndent() {
  const PARAFORMAT2& record = GetFormat();
  if (record.wNumbering != 0) return 0;
  return record.dxOffset == SmallStep ? 1 : record.dxOffset == LargeStep ? 2 : 0;
}

int RichParagraph::ReadTabSize() {
  const PARAFORMAT2& record = GetFormat();
  return record.cTabCount > 0 ? record.rgxTabs[0] : defaultTabSize_;
}

int RichParagraph::ReadBulletType() { return GetFormat().wNumbering; }
int RichParagraph::ReadBulletStyle() { return GetFormat().wNumberingStyle; }
int RichParagraph::ReadStartNumber() { return GetFormat().wNumberingStart; }

// ---- Setters ----

void RichParagraph::SetAlignment(int alignment) {
  static constexpr WORD kAlign[] = {PFA_RIGHT, PFA_LEFT, PFA_CENTER, PFA_JUSTIFY};
  if (alignment < 0 || alignment > 3) return;
  Apply(PFM_ALIGNMENT, [alignment](PARAFORMAT2& f) { f.wAlignment = kAlign[alignment]; });
}

void RichParagraph::SetSpaceAfter(int points) {
  Apply(PFM_SPACEAFTER, [points](PARAFORMAT2& f) { f.dySpaceAfter = points * 20; });
}

void RichParagraph::SetSpaceBefore(int points) {
  Apply(PFM_SPACEBEFORE, [points](PARAFORMAT2& f) { f.dySpaceBefore = points * 20; });
}

void RichParagraph::SetSpacing(int spacing) {
  if (spacing != 20 && spacing != 30 && spacing != 40) return;
  Apply(PFM_LINESPACING, [spacing](PARAFORMAT2& f) {
    f.bLineSpacingRule = 5;
    f.dyLineSpacing = spacing;
  });
}

void RichParagraph::SetStartNumber(int number) {
  if (GetFormat().wNumbering <= PFN_BULLET) return;
  Apply(PFM_NUMBERINGSTART, [number](PARAFORMAT2& f) { f.wNumberingStart = static_cast<WORD>(number); });
}

void RichParagraph::SetBulletStyle(int style) {
  if (GetFormat().wNumbering <= PFN_BULLET) return;
  Apply(PFM_NUMBERINGSTYLE, [style](PARAFORMAT2& f) { f.wNumberingStyle = static_cast<WORD>(style); });
}

int RichParagraph::FirstLinePosition(const PARAFORMAT2& format) {
  return format.dxStartIndent + std::min<LONG>(format.dxOffset, 0);
}

void RichParagraph::SetHangingIndent(int indentation) {
  const PARAFORMAT2 current = GetFormat();
  const int start = FirstLinePosition(current);
  const int offset = indentation == 1 ? SmallStep : indentation == 2 ? LargeStep : 0;
  if (current.dxStartIndent == start && current.dxOffset == offset && current.wNumbering == 0 && current.wNumberingTab == 0)
    return;
  Apply(PFM_STARTINDENT | PFM_OFFSET | PFM_NUMBERING | PFM_NUMBERINGTAB, [start, offset](PARAFORMAT2& f) {
    f.dxStartIndent = start;
    f.dxOffset = offset;
  });
}

void RichParagraph::SetIndentFirstLine(int indentation) {
  const PARAFORMAT2 current = GetFormat();
  const int step = indentation == 1 ? SmallStep : indentation == 2 ? LargeStep : 0;
  // The first line moves in by the step; the other lines stay where the paragraph starts.
  const int start = step == 0 ? FirstLinePosition(current) : current.dxStartIndent + step;
  const int offset = -step;
  if (current.dxStartIndent == start && current.dxOffset == offset && current.wNumbering == 0) return;
  Apply(PFM_STARTINDENT | PFM_OFFSET | PFM_NUMBERING | PFM_NUMBERINGTAB, [start, offset](PARAFORMAT2& f) {
    f.dxStartIndent = start;
    f.dxOffset = offset;
  });
}

void RichParagraph::SetTabSize(int twips) {
  if (twips == ReadTabSize()) return;
  PARAFORMAT2 record;
  record.dwMask = PFM_TABSTOPS;
  // Half an inch is the default stop where inches are used: no explicit stops then.
  if (!(twips == LargeStep && !metricLocale_())) {
    record.cTabCount = MAX_TAB_STOPS;
    for (int i = 0; i < MAX_TAB_STOPS; ++i) record.rgxTabs[i] = (i + 1) * twips;
  }
  owner_.WmSetRedraw(false);
  const CHARRANGE selection = owner_.GetSelection();
  owner_.SetSelection(0, -1);
  SetFormat(record, false);
  owner_.SetSelection(selection);
  owner_.WmSetRedraw(true);
  owner_.viewport()->update();
}

void RichParagraph::SetBulletType(int kind) {
  const PARAFORMAT2 current = GetFormat();
  if (kind == current.wNumbering) return;
  DWORD mask = PFM_NUMBERING | PFM_NUMBERINGSTYLE | PFM_NUMBERINGTAB | PFM_OFFSET;
  if (kind != 0) mask |= PFM_STARTINDENT;
  if (kind == PFN_ARABIC) mask |= PFM_NUMBERINGSTART;
  Apply(mask, [&current, kind](PARAFORMAT2& f) {
    if (kind == 0) return;
    f.dxStartIndent = FirstLinePosition(current);
    f.wNumbering = static_cast<WORD>(kind);
    f.wNumberingTab = SmallStep;
    f.dxOffset = SmallStep;
    if (kind > PFN_BULLET) f.wNumberingStyle = current.wNumbering > PFN_BULLET ? current.wNumberingStyle : PFNS_PERIOD;
    if (kind == PFN_ARABIC) f.wNumberingStart = 1;
  });
}

// ---- Neighbours and indents ----

bool RichParagraph::PrevParIsBulleted() {
  const QTextDocument& document = *owner_.document();
  const QTextBlock previous = document.findBlock(owner_.GetSelection().cpMin).previous();
  if (!previous.isValid()) return false;
  format_ = FormatRanges::GetPara(document, previous.position(), previous.position());
  return format_.wNumbering != 0 || format_.dxOffset == SmallStep;
}

int RichParagraph::GetCurrParLineHeight() {
  const QTextDocument& document = *owner_.document();
  const QTextBlock block = document.findBlock(owner_.GetSelection().cpMin);
  const QString text = block.text();
  const qsizetype feed = text.indexOf(u'\f', std::max<qsizetype>(owner_.GetSelection().cpMin - block.position(), 0));
  const int end = block.position() + static_cast<int>(feed >= 0 ? feed : text.size());
  QTextCursor at(const_cast<QTextDocument*>(&document));
  at.setPosition(std::min(end + 1, document.characterCount() - 1));
  const int points = CharAttrs::Read(at.charFormat()).sizeTwips / 20;
  return points > 0 ? points * 20 : 240;
}

int RichParagraph::StepFrom(int position) { return position % LargeStep == 0 ? LargeStep : SmallStep; }

int RichParagraph::IndentStep() {
  const int position = FirstLinePosition(GetFormat());
  if (PrevParIsBulleted() && (format_.dxStartIndent == position || format_.dxStartIndent == position + SmallStep))
    return SmallStep;
  return StepFrom(position);
}

int RichParagraph::OutdentStep(int position) {
  if (PrevParIsBulleted() &&
      (format_.dxStartIndent + SmallStep == position || format_.dxStartIndent + LargeStep == position))
    return SmallStep;
  return StepFrom(position);
}

void RichParagraph::Indent() {
  // Plain text has no indents: the lines gain a tab or blanks.
  if (owner_.ReadPlainText()) return owner_.IndentPlainText(false);
  const int step = IndentStep();
  const PARAFORMAT2 current = GetFormat();
  Apply(PFM_STARTINDENT, [&](PARAFORMAT2& f) { f.dxStartIndent = current.dxStartIndent + step; });
}

void RichParagraph::IndentBoth() {
  if (owner_.ReadPlainText()) return;
  const int step = IndentStep();
  const PARAFORMAT2 current = GetFormat();
  Apply(PFM_STARTINDENT | PFM_RIGHTINDENT, [&](PARAFORMAT2& f) {
    f.dxStartIndent = current.dxStartIndent + step;
    f.dxRightIndent = current.dxRightIndent + step;
  });
}

void RichParagraph::Outdent() {
  if (owner_.ReadPlainText()) return owner_.IndentPlainText(true);
  const int position = FirstLinePosition(GetFormat());
  if (position < 1) return;
  const int step = OutdentStep(position);
  const PARAFORMAT2 current = GetFormat();
  Apply(PFM_STARTINDENT | PFM_OFFSET, [&](PARAFORMAT2& f) {
    f.dxStartIndent = std::max<LONG>(current.dxStartIndent - step, 0);
    f.dxOffset = current.dxOffset;
  });
}

void RichParagraph::OutdentBoth() {
  if (owner_.ReadPlainText()) return;
  const int position = FirstLinePosition(GetFormat());
  if (position < 1) return;
  const int step = OutdentStep(position);
  const PARAFORMAT2 current = GetFormat();
  Apply(PFM_STARTINDENT | PFM_RIGHTINDENT, [&](PARAFORMAT2& f) {
    f.dxStartIndent = std::max<LONG>(current.dxStartIndent - step, 0);
    f.dxRightIndent = current.dxRightIndent - step;
  });
}
