#pragma once
// The state machine behind RtfReader: a stack of groups with their destinations and
// character attributes, the paragraph in progress, and the header tables.

#include "NoteFormat.h"
#include "RtfNoteSink.h"
#include "RtfTables.h"
#include "RtfTextDecoder.h"
#include "RtfTokenizer.h"
#include "RtfWords.h"

#include <QByteArray>
#include <QString>

#include <vector>

class RtfParser {
public:
  RtfParser(const QByteArray& rtf, qint64 maxPositions);
  // Answers an error code, 0 when all went well.
  DWORD Run(bool whole);
  RtfNoteSink& Sink() { return sink_; }

private:
  enum class Dest {
    Text, FontTable, ColorTable, FieldInst, PnDef, PnTextAfter, PnTextBefore,
    ListTable, List, ListLevel, LevelText, ListOverrideTable, ListOverride
  };
  struct Group {
    Dest dest = Dest::Text;
    CharAttrs chr;
    int font = 0;
    int uc = 1;
    bool field = false;  // this group holds a field
    int codePageOf = -1;  // the font codePage and symbolFace were worked out for
    int codePage = 1252;
    bool symbolFace = false;
  };
  struct Numbering {
    int kind = 0, start = 1, tab = 0;
    QString before, after;
  };

  void OpenGroup();
  void CloseGroup();
  bool StartDestination(RtfWord word, const RtfTokenizer::Token& token);
  void KeepGroup(bool object, bool hasTwin);
  void OnWord(const RtfTokenizer::Token& token);
  void OnTextWord(RtfWord word, const RtfTokenizer::Token& token);
  void OnTableWord(RtfWord word, const RtfTokenizer::Token& token);
  void OnSymbol(char symbol);
  void OnBytes(const char* bytes, qsizetype size);
  void OnUnicode(int value);
  void EmitChar(char16_t c);
  void FlushBytes();
  void EmitText(const QString& text);
  ParaAttrs Effective() const;
  void CommitFont();
  QString FontNameBytes();
  void ApplyNumbering();
  int CodePage();
  void SetAnsiCodePage(int codePage);
  bool SymbolFace();

  QByteArray source_;  // kept groups share its buffer
  RtfTokenizer tokenizer_;
  RtfNoteSink sink_;
  RtfTables tables_;
  RtfTextDecoder decoder_;
  std::vector<Group> groups_;
  ParaAttrs para_;
  bool inTable_ = false;
  int ls_ = -1, ilvl_ = 0;
  QList<int> rowCells_;
  std::vector<QString> fields_;
  int fieldCount_ = 0;
  Numbering pn_;
  int skip_ = 0;
  char16_t highSurrogate_ = 0;
  bool fresh_ = false, ignorable_ = false;
  std::size_t groupStart_ = 0;
  bool depthLogged_ = false;
  // Tables in progress.
  int fontIndex_ = -1;
  RtfFont font_;
  QByteArray fontName_;    // bytes of the name in the font's code page
  QString fontNameText_;   // what came before them as \u
  int red_ = 0, green_ = 0, blue_ = 0;
  bool anyColor_ = false;
  std::vector<RtfListLevel> levels_;
  int nfc_ = 0, levelStart_ = 1, listId_ = 0, overrideLs_ = 0;
  QByteArray levelText_;
};
