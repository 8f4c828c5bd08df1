#pragma once
// The RTF words that change character and paragraph attributes, with every parameter
// brought into the range the attributes allow.

#include "NoteFormat.h"
#include "RtfWords.h"

class RtfTables;

class RtfFormatWords {
public:
  static constexpr int MaxTwips = 63360;  // 44 inches: beyond any page
  // 1584 points, the most a word processor offers for exact spacing and the space around a
  // paragraph; as a multiple, 132 lines. Letters go up to 1638 points (3276 half-points).
  static constexpr int MaxSpacing = 31680;

  // True when the word was one of them.
  static bool ApplyChar(RtfWord word, int param, bool hasParam, const RtfTables& tables, CharAttrs& attrs);
  static bool ApplyPara(RtfWord word, int param, ParaAttrs& attrs);
  // The attributes \plain gives.
  static CharAttrs Plain(const RtfTables& tables);
  static void SetFont(int index, const RtfTables& tables, CharAttrs& attrs);
  static int Twips(int param);
};
