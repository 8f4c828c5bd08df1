#pragma once
// The character format of an editor's selection (or word, or whole text): one working
// record filled from the editor, changed by a setter in the attributes it names only, and
// sent back. Sizes are points here, twips in the record.

#include "RichEditDefs.h"

#include "controls/ClassColor.h"

#include <QString>

class RichEdit20;

class RichFont {
public:
  // A font as the editor's callers describe one.
  struct Font {
    QString name;
    int size = 10;  // points
    bool bold = false, italic = false, underline = false, strikeout = false;
    TColor color = clWindowText;
    BYTE charSet = ANSI_CHARSET;
    BYTE pitch = 0;
  };

  explicit RichFont(RichEdit20& owner);

  TColor ReadHiLight();
  bool ReadBold();
  TColor ReadColor();
  const Font& ReadDefault();
  QString ReadFaceName();
  const Font& ReadFont();
  bool ReadItalic();
  int ReadSize();
  bool ReadStrikeout();
  bool ReadSubScript();
  bool ReadSuperScript();
  bool ReadUnderline();
  // ReadColor with the automatic colour resolved to the window text's.
  TColor ReadAbsColor();
  // Whether the face drawn for the selection's face name is fixed-width.
  bool ReadFixedWidth();

  void SetHiLight(TColor colour);
  void SetBold(bool on);
  void SetColor(TColor colour);
  void SetDefault(const Font& font);
  void SetFont(const Font& font);
  // Kept as the default that clearing the editor puts back; null does nothing.
  void SetInitialDefault(const Font* font);
  const Font& InitialDefault() const { return initialDefault_; }
  void SetFaceName(const QString& name);
  void SetItalic(bool on);
  void SetSize(int points);
  void SetStrikeout(bool on);
  void SetSubScript(bool on);
  void SetSuperScript(bool on);
  void SetUnderline(bool on);
  // 1 selection, 2 (kept as 3) the word at the caret, 4 the whole text.
  void SetMode(int mode) { mode_ = mode == 2 ? 3 : mode; }
  int Mode() const { return mode_; }
  void InitFormat() { format_ = CHARFORMAT2(); }

  const CHARFORMAT2& GetFormat();
  void SetFormat(const CHARFORMAT2& format);
  static BYTE CharSetFromFontName(const QString& name);

private:
  static void PutFaceName(CHARFORMAT2& record, const QString& name);
  CHARFORMAT2 FromFont(const Font& font) const;
  void FillFont(Font& font, const CHARFORMAT2& record) const;
  void SetEffect(DWORD mask, DWORD effect, bool on);
  COLORREF ResolveColor(TColor colour) const;

  CHARFORMAT2 format_;
  RichEdit20& owner_;
  int mode_ = SCF_SELECTION;
  Font default_, initialDefault_, read_;
};
