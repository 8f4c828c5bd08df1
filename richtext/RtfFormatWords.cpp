#include "RtfFormatWords.h"

#include "RtfTables.h"

#include <algorithm>

int RtfFormatWords::Twips(int param) { return std::clamp(param, -MaxTwips, MaxTwips); }

void RtfFormatWords::SetFont(int index, const RtfTables& tables, CharAttrs& attrs) {
  const RtfFont* font = tables.Font(index);
  if (font == nullptr) return;
  attrs.face = font->name;
  attrs.charSet = font->charSet;
  attrs.pitchFamily = font->pitchFamily;
}

CharAttrs RtfFormatWords::Plain(const RtfTables& tables) {
  CharAttrs attrs;
  SetFont(tables.defaultFont, tables, attrs);
  return attrs;
}

bool RtfFormatWords::ApplyChar(RtfWord word, int param, bool hasParam, const RtfTables& tables, CharAttrs& a) {
  using W = RtfWord;
  const bool on = !hasParam || param != 0;
  switch (word) {
    case W::F: SetFont(param, tables, a); return true;
    case W::B: a.bold = on; return true;
    case W::I: a.italic = on; return true;
    case W::Strike: a.strike = on; return true;
    case W::V: a.hidden = on; return true;
    case W::Ul: a.underline = on ? CFU_UNDERLINE : CFU_UNDERLINENONE; return true;
    case W::UlNone: a.underline = CFU_UNDERLINENONE; return true;
    case W::UlW: a.underline = on ? CFU_UNDERLINEWORD : CFU_UNDERLINENONE; return true;
    case W::UlDb: a.underline = on ? CFU_UNDERLINEDOUBLE : CFU_UNDERLINENONE; return true;
    case W::UlD: a.underline = on ? CFU_UNDERLINEDOTTED : CFU_UNDERLINENONE; return true;
    case W::UlDash: a.underline = on ? CFU_UNDERLINEDASH : CFU_UNDERLINENONE; return true;
    case W::UlDashD: a.underline = on ? CFU_UNDERLINEDASHDOT : CFU_UNDERLINENONE; return true;
    case W::UlDashDd: a.underline = on ? CFU_UNDERLINEDASHDOTDOT : CFU_UNDERLINENONE; return true;
    case W::UlWave: a.underline = on ? CFU_UNDERLINEWAVE : CFU_UNDERLINENONE; return true;
    case W::UlTh: a.underline = on ? CFU_UNDERLINETHICK : CFU_UNDERLINENONE; return true;
    case W::Sub: a.script = on ? 1 : 0; return true;
    case W::Super: a.script = on ? 2 : 0; return true;
    case W::NoSupersub: a.script = 0; return true;
    case W::Up: a.offsetTwips = std::clamp(hasParam ? param : 6, 0, 3276) * 10; return true;
    case W::Dn: a.offsetTwips = -std::clamp(hasParam ? param : 6, 0, 3276) * 10; return true;
    case W::Fs: a.sizeTwips = param > 0 ? std::clamp(param, 2, 3276) * 10 : 240; return true;
    case W::Cf: a.hasColor = tables.Color(param, &a.color); if (!a.hasColor) a.color = 0; return true;
    case W::Highlight:
    case W::Cb:
    case W::Chcbpat: a.hasBack = tables.Color(param, &a.back); if (!a.hasBack) a.back = 0; return true;
    default: return false;
  }
}

bool RtfFormatWords::ApplyPara(RtfWord word, int param, ParaAttrs& p) {
  using W = RtfWord;
  switch (word) {
    case W::Ql: p.align = PFA_LEFT; return true;
    case W::Qr: p.align = PFA_RIGHT; return true;
    case W::Qc: p.align = PFA_CENTER; return true;
    case W::Qj: p.align = PFA_JUSTIFY; return true;
    case W::Li: p.leftTwips = Twips(param); return true;
    case W::Ri: p.rightTwips = Twips(param); return true;
    case W::Fi: p.firstTwips = Twips(param); return true;
    case W::Sb: p.spaceBefore = std::clamp(param, 0, MaxSpacing); return true;
    case W::Sa: p.spaceAfter = std::clamp(param, 0, MaxSpacing); return true;
    case W::Sl: p.lineSpacing = std::clamp(param, -MaxSpacing, MaxSpacing); return true;
    case W::SlMult: p.lineMultiple = param != 0; return true;
    case W::PageBB: p.pageBreakBefore = true; return true;
    case W::Tx:
    case W::Tb:
      // Right, centred and decimal stops are kept as plain ones.
      if (p.tabs.size() < MAX_TAB_STOPS) p.tabs.append(std::clamp(param, 0, MaxTwips));
      return true;
    default: return false;
  }
}
