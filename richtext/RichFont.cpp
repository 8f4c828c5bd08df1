#include "RichFont.h"

#include "FormatRecords.h"
#include "RichEdit20.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <cstring>

RichFont::RichFont(RichEdit20& owner) : owner_(owner) {
  const QFont system = owner.font();
  initialDefault_.name = system.family();
  initialDefault_.size = system.pointSize() > 0 ? system.pointSize() : 10;
}

const CHARFORMAT2& RichFont::GetFormat() {
  InitFormat();
  format_ = owner_.EmGetCharFormat(SCF_SELECTION);
  return format_;
}

void RichFont::SetFormat(const CHARFORMAT2& format) {
  owner_.EmSetCharFormat(owner_.ReadPlainText() ? SCF_ALL : static_cast<UINT>(mode_), format);
  owner_.GutterRefreshPending = true;
}

COLORREF RichFont::ResolveColor(TColor colour) const {
  // A system colour is an index into the palette: its colour is looked up there.
  return FormatRecords::ToColorRef(ClassColor::ToQColor(colour).rgb());
}

void RichFont::PutFaceName(CHARFORMAT2& record, const QString& name) {
  CharAttrs attrs;
  attrs.face = name;
  std::memcpy(record.szFaceName, FormatRecords::ToRecord(attrs).szFaceName, sizeof record.szFaceName);
}

void RichFont::SetEffect(DWORD mask, DWORD effect, bool on) {
  InitFormat();
  format_.dwMask = mask;
  format_.dwEffects = on ? effect : 0;
  SetFormat(format_);
}

void RichFont::SetBold(bool on) { SetEffect(CFM_BOLD, CFE_BOLD, on); }
void RichFont::SetItalic(bool on) { SetEffect(CFM_ITALIC, CFE_ITALIC, on); }
void RichFont::SetUnderline(bool on) { SetEffect(CFM_UNDERLINE, CFE_UNDERLINE, on); }
void RichFont::SetStrikeout(bool on) { SetEffect(CFM_STRIKEOUT, CFE_STRIKEOUT, on); }
void RichFont::SetSubScript(bool on) { SetEffect(CFM_SUBSCRIPT, CFE_SUBSCRIPT, on); }
void RichFont::SetSuperScript(bool on) { SetEffect(CFM_SUPERSCRIPT, CFE_SUPERSCRIPT, on); }

void RichFont::SetSize(int points) {
  InitFormat();
  format_.dwMask = CFM_SIZE;
  format_.yHeight = points * 20;
  SetFormat(format_);
}

void RichFont::SetColor(TColor colour) {
  InitFormat();
  format_.dwMask = CFM_COLOR;
  if (colour == clWindowText)
    format_.dwEffects = CFE_AUTOCOLOR;
  else
    format_.crTextColor = ResolveColor(colour);
  SetFormat(format_);
}

void RichFont::SetHiLight(TColor colour) {
  InitFormat();
  format_.dwMask = CFM_BACKCOLOR;
  if (colour == clNone)
    format_.dwEffects = CFE_AUTOBACKCOLOR;
  else
    format_.crBackColor = ResolveColor(colour);
  SetFormat(format_);
}

void RichFont::SetFaceName(const QString& name) {
  InitFormat();
  format_.dwMask = CFM_FACE | CFM_CHARSET;
  PutFaceName(format_, name);
  format_.bCharSet = CharSetFromFontName(name);
  SetFormat(format_);
}

CHARFORMAT2 RichFont::FromFont(const Font& font) const {
  CHARFORMAT2 record;
  record.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_CHARSET;
  PutFaceName(record, font.name);
  record.yHeight = font.size * 20;
  record.bCharSet = font.charSet;
  record.bPitchAndFamily = font.pitch;
  if (font.bold) record.dwEffects |= CFE_BOLD;
  if (font.italic) record.dwEffects |= CFE_ITALIC;
  if (font.underline) record.dwEffects |= CFE_UNDERLINE;
  if (font.strikeout) record.dwEffects |= CFE_STRIKEOUT;
  if (font.color == clWindowText)
    record.dwEffects |= CFE_AUTOCOLOR;
  else
    record.crTextColor = ResolveColor(font.color);
  return record;
}

void RichFont::SetFont(const Font& font) {
  format_ = FromFont(font);
  SetFormat(format_);
}

void RichFont::SetDefault(const Font& font) {
  format_ = FromFont(font);
  owner_.EmSetCharFormat(SCF_DEFAULT, format_);
  owner_.GutterRefreshPending = true;
  owner_.AffirmRect();
}

void RichFont::SetInitialDefault(const Font* font) {
  if (font == nullptr) return;
  initialDefault_ = *font;
  SetDefault(*font);
}

void RichFont::FillFont(Font& font, const CHARFORMAT2& record) const {
  font.charSet = record.bCharSet;
  font.color = (record.dwEffects & CFE_AUTOCOLOR) ? clWindowText : TColor(record.crTextColor);
  font.name = QString::fromUtf8(record.szFaceName, static_cast<qsizetype>(strnlen(record.szFaceName, sizeof record.szFaceName)));
  font.pitch = record.bPitchAndFamily;
  font.size = record.yHeight / 20;
  font.bold = record.dwEffects & CFE_BOLD;
  font.italic = record.dwEffects & CFE_ITALIC;
  font.underline = record.dwEffects & CFE_UNDERLINE;
  font.strikeout = record.dwEffects & CFE_STRIKEOUT;
}

const RichFont::Font& RichFont::ReadDefault() {
  InitFormat();
  format_ = owner_.EmGetCharFormat(SCF_DEFAULT);
  FillFont(default_, format_);
  return default_;
}

const RichFont::Font& RichFont::ReadFont() {
  FillFont(read_, GetFormat());
  return read_;
}

bool RichFont::ReadBold() { return GetFormat().dwEffects & CFE_BOLD; }
bool RichFont::ReadItalic() { return GetFormat().dwEffects & CFE_ITALIC; }
bool RichFont::ReadUnderline() { return GetFormat().dwEffects & CFE_UNDERLINE; }
bool RichFont::ReadStrikeout() { return GetFormat().dwEffects & CFE_STRIKEOUT; }
bool RichFont::ReadSubScript() { return GetFormat().dwEffects & CFE_SUBSCRIPT; }
bool RichFont::ReadSuperScript() { return GetFormat().dwEffects & CFE_SUPERSCRIPT; }
int RichFont::ReadSize() { return GetFormat().yHeight / 20; }

TColor RichFont::ReadColor() {
  const CHARFORMAT2& record = GetFormat();
  return (record.dwEffects & CFE_AUTOCOLOR) ? clWindowText : TColor(record.crTextColor);
}

TColor RichFont::ReadAbsColor() {
  const TColor colour = ReadColor();
  return colour == clWindowText ? ClassColor::FromQColor(ClassColor::ToQColor(clWindowText)) : colour;
}

TColor RichFont::ReadHiLight() {
  const CHARFORMAT2& record = GetFormat();
  return (record.dwEffects & CFE_AUTOBACKCOLOR) ? clNone : TColor(record.crBackColor);
}

QString RichFont::ReadFaceName() {
  const CHARFORMAT2& record = GetFormat();
  return QString::fromUtf8(record.szFaceName, static_cast<qsizetype>(strnlen(record.szFaceName, sizeof record.szFaceName)));
}

bool RichFont::ReadFixedWidth() {
  // The face actually drawn: one that the font configuration replaces by a monospaced one counts.
  return QFontInfo(QFont(ReadFaceName())).fixedPitch();
}

BYTE RichFont::CharSetFromFontName(const QString& name) {
  return QFontDatabase::writingSystems(name).contains(QFontDatabase::Symbol) ? SYMBOL_CHARSET : ANSI_CHARSET;
}
