#include "RtfTables.h"

#include "NoteFormat.h"
#include "RichEditDefs.h"

void RtfTables::AddFont(int index, const RtfFont& font) {
  if (fonts_.size() >= MaxEntries && !fonts_.contains(index)) return;
  fonts_.insert(index, font);
}

const RtfFont* RtfTables::Font(int index) const {
  const auto it = fonts_.constFind(index);
  return it == fonts_.constEnd() ? nullptr : &*it;
}

int RtfTables::CodePage(int index) const {
  const RtfFont* font = Font(index);
  if (font == nullptr) return ansiCodePage;
  if (font->charSet == SYMBOL_CHARSET) return 0;
  if (font->codePage > 0) return font->codePage;
  return NoteFormat::CodePageOfCharSet(font->charSet, ansiCodePage);
}

void RtfTables::AddColor(std::optional<QRgb> color) {
  if (colors_.size() < MaxEntries) colors_.push_back(color);
}

bool RtfTables::Color(int index, QRgb* rgb) const {
  if (index < 0 || index >= static_cast<int>(colors_.size()) || !colors_[index]) return false;
  *rgb = *colors_[index];
  return true;
}

void RtfTables::AddList(int listId, const std::vector<RtfListLevel>& levels) {
  if (lists_.size() < MaxEntries || lists_.contains(listId)) lists_.insert(listId, levels);
}

void RtfTables::AddOverride(int ls, int listId) {
  if (overrides_.size() < MaxEntries || overrides_.contains(ls)) overrides_.insert(ls, listId);
}

const RtfListLevel* RtfTables::Level(int ls, int ilvl) const {
  const auto over = overrides_.constFind(ls);
  if (over == overrides_.constEnd()) return nullptr;
  const auto list = lists_.constFind(*over);
  if (list == lists_.constEnd() || list->empty()) return nullptr;
  const int level = qBound(0, ilvl, static_cast<int>(list->size()) - 1);
  return &(*list)[level];
}

RtfListLevel RtfTables::LevelFromWord(int nfc, int start, const QByteArray& levelText) {
  RtfListLevel level;
  level.start = qBound(0, start, 0xFFFF);
  switch (nfc) {
    case 1: level.kind = PFN_UCROMAN; break;
    case 2: level.kind = PFN_LCROMAN; break;
    case 3: level.kind = PFN_UCLETTER; break;
    case 4: level.kind = PFN_LCLETTER; break;
    case 23: level.kind = PFN_BULLET; break;
    case 255: level.kind = 0; break;
    default: level.kind = PFN_ARABIC; break;
  }
  // The level text holds its length, then characters with the level numbers as bytes 0..8.
  level.style = PFNS_PLAIN;
  if (level.kind == PFN_BULLET) return level;
  for (int i = 1; i < levelText.size(); ++i) {
    if (static_cast<unsigned char>(levelText[i]) > 8) continue;
    const char after = i + 1 < levelText.size() ? levelText[i + 1] : 0;
    const char before = levelText[i - 1];
    if (after == '.') level.style = PFNS_PERIOD;
    if (after == ')') level.style = (i >= 2 && before == '(') ? PFNS_PARENS : PFNS_PAREN;
    break;
  }
  return level;
}
