#pragma once
// The tables an RTF header declares: fonts, colours and Word 97 lists, each capped so that
// a hostile header cannot make the reader hold more than a few thousand entries.

#include <QHash>
#include <QRgb>
#include <QString>

#include <optional>
#include <vector>

struct RtfFont {
  QString name;
  int charSet = 0;
  int pitchFamily = 0;
  int codePage = -1;  // \cpg, -1 when the character set decides
};

struct RtfListLevel {
  int kind = 0;  // PFN_ value, 0 no numbering
  int start = 1;
  int style = 0;  // PFNS_ value
};

class RtfTables {
public:
  static constexpr int MaxEntries = 4096;
  static constexpr int MaxLevels = 9;

  int ansiCodePage = 1252;
  int defaultFont = 0;

  void AddFont(int index, const RtfFont& font);
  const RtfFont* Font(int index) const;
  // The code page of a font's bytes; 0 for a symbol-set font.
  int CodePage(int index) const;

  void AddColor(std::optional<QRgb> color);
  // False for the automatic colour and for an index outside the table.
  bool Color(int index, QRgb* rgb) const;

  void AddList(int listId, const std::vector<RtfListLevel>& levels);
  void AddOverride(int ls, int listId);
  const RtfListLevel* Level(int ls, int ilvl) const;
  // The numbering of a level's format and text (the bytes of \leveltext).
  static RtfListLevel LevelFromWord(int nfc, int start, const QByteArray& levelText);

private:
  QHash<int, RtfFont> fonts_;
  std::vector<std::optional<QRgb>> colors_;
  QHash<int, std::vector<RtfListLevel>> lists_;
  QHash<int, int> overrides_;
};
