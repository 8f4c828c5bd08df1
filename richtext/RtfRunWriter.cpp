#include "RtfRunWriter.h"

#include "NoteText.h"
#include "SymbolFont.h"

namespace {

const char kHex[] = "0123456789abcdef";

void Hex(QByteArray& out, int byte) {
  out.append("\\'");
  out.append(kHex[(byte >> 4) & 0xF]);
  out.append(kHex[byte & 0xF]);
}

const char* UnderlineWord(int kind) {
  switch (kind) {
    case CFU_UNDERLINENONE: return "\\ulnone";
    case CFU_UNDERLINEWORD: return "\\ulw";
    case CFU_UNDERLINEDOUBLE: return "\\uldb";
    case CFU_UNDERLINEDOTTED: return "\\uld";
    case CFU_UNDERLINEDASH: return "\\uldash";
    case CFU_UNDERLINEDASHDOT: return "\\uldashd";
    case CFU_UNDERLINEDASHDOTDOT: return "\\uldashdd";
    case CFU_UNDERLINEWAVE: return "\\ulwave";
    case CFU_UNDERLINETHICK: return "\\ulth";
    default: return "\\ul";
  }
}

const char* NumberingWord(int kind) {
  switch (kind) {
    case PFN_LCLETTER: return "\\pnlcltr";
    case PFN_UCLETTER: return "\\pnucltr";
    case PFN_LCROMAN: return "\\pnlcrm";
    case PFN_UCROMAN: return "\\pnucrm";
    default: return "\\pndec";
  }
}

}  // namespace

RtfRunWriter::RtfRunWriter(QByteArray& out, const QList<Font>& fonts, const QList<QRgb>& colors, int symbolFont)
    : out_(out), fonts_(fonts), colors_(colors), symbolFont_(symbolFont), delimit_(true) {  // after "\pard"
  // What the reader holds after "\pard": the first font in its plain look.
  if (!fonts_.isEmpty()) {
    state_.face = fonts_[0].face;
    state_.charSet = fonts_[0].charSet;
    state_.pitchFamily = fonts_[0].pitchFamily;
  }
}

int RtfRunWriter::FontIndex(const QList<Font>& fonts, const CharAttrs& attrs) {
  const Font font{attrs.face, attrs.charSet, attrs.pitchFamily};
  return static_cast<int>(fonts.indexOf(font));
}

int RtfRunWriter::ColorIndex(QRgb rgb) const { return static_cast<int>(colors_.indexOf(rgb)) + 1; }

void RtfRunWriter::Word(const char* word) {
  out_.append(word);
  delimit_ = true;
}

void RtfRunWriter::Word(const char* word, int param) {
  out_.append(word);
  out_.append(QByteArray::number(param));
  delimit_ = true;
}

void RtfRunWriter::Escape(QByteArray& out, const QString& text, int codePage, bool symbolFace, bool row) {
  const char16_t* chars = reinterpret_cast<const char16_t*>(text.utf16());
  const qsizetype length = text.size();
  // Under a symbol-set font a byte reads as that font's character, ASCII or not: a letter
  // goes as itself only where the font reads its code as the same letter.
  const bool symbol = codePage == 0;
  auto plain = [symbol, symbolFace](char16_t c) {
    return c >= 0x20 && c < 0x80 && c != u'\\' && c != u'{' && c != u'}' &&
           (!symbol || SymbolFont::ToUnicode(symbolFace, static_cast<unsigned char>(c)) == c);
  };
  for (qsizetype i = 0; i < length; ++i) {
    // Runs of plain ASCII, most of a note, go over in one piece.
    qsizetype end = i;
    while (end < length && plain(chars[end])) ++end;
    if (end > i) {
      const qsizetype at = out.size();
      out.resize(at + (end - i));
      char* to = out.data() + at;
      for (qsizetype k = i; k < end; ++k) *to++ = static_cast<char>(chars[k]);
      i = end - 1;
      continue;
    }
    const char16_t c = chars[i];
    if (c >= 0x20 && c < 0x80 && !symbol) {
      out.append('\\');
      out.append(static_cast<char>(c));
      continue;
    }
    switch (c) {
      case u'\t': out.append(row ? "\\cell " : "\\tab "); continue;
      case u'\f': out.append("\\page "); continue;
      case NoteText::LineBreak: out.append("\\line "); continue;
      default: break;
    }
    if (c < 0x20 || c == NoteText::ObjectChar) continue;
    const int byte = symbol ? SymbolFont::FromUnicode(symbolFace, c) : codePage == 1252 ? NoteText::Cp1252Byte(c) : -1;
    if (byte >= 0) {
      Hex(out, byte);
    } else {
      out.append("\\u");
      out.append(QByteArray::number(static_cast<qint16>(c)));
      out.append("\\'3f");
    }
  }
}

void RtfRunWriter::Row(const QList<int>& cells) {
  Word("\\trowd");
  for (int cell : cells) Word("\\cellx", cell);  // delimited: a digit may follow
}

void RtfRunWriter::Paragraph(const ParaAttrs& p, bool first) {
  if (!first) Word("\\pard");
  if (!p.cells.isEmpty()) Word("\\intbl");
  if (p.align == PFA_RIGHT) Word("\\qr");
  if (p.align == PFA_CENTER) Word("\\qc");
  if (p.align == PFA_JUSTIFY) Word("\\qj");
  if (p.leftTwips != 0) Word("\\li", p.leftTwips);
  if (p.rightTwips != 0) Word("\\ri", p.rightTwips);
  if (p.firstTwips != 0) Word("\\fi", p.firstTwips);
  if (p.spaceBefore != 0) Word("\\sb", p.spaceBefore);
  if (p.spaceAfter != 0) Word("\\sa", p.spaceAfter);
  if (p.lineSpacing != 0) {
    Word("\\sl", p.lineSpacing);
    Word("\\slmult", p.lineMultiple ? 1 : 0);
  }
  for (int tab : p.tabs) Word("\\tx", tab);
  if (p.pageBreakBefore) Word("\\pagebb");
  if (p.numbering == 0) return;
  if (p.numbering == PFN_BULLET) {
    out_.append("{\\*\\pn\\pnlvlblt\\pnf" + QByteArray::number(symbolFont_) + "\\pnindent" +
                QByteArray::number(p.numberingTab) + "{\\pntxtb\\'b7}}");
  } else {
    out_.append("{\\*\\pn\\pnlvlbody\\pnf0\\pnindent" + QByteArray::number(p.numberingTab) + "\\pnstart" +
                QByteArray::number(p.numberingStart) + NumberingWord(p.numbering));
    if (p.numberingStyle == PFNS_PARENS) out_.append("{\\pntxtb (}");
    if (p.numberingStyle == PFNS_PERIOD) out_.append("{\\pntxta .}");
    if (p.numberingStyle == PFNS_PAREN || p.numberingStyle == PFNS_PARENS) out_.append("{\\pntxta )}");
    out_.append('}');
  }
  delimit_ = false;
}

void RtfRunWriter::Marker(const ParaAttrs& para, const QString& marker) {
  if (para.numbering == 0) return;
  if (para.numbering == PFN_BULLET) {
    out_.append("{\\pntext\\f" + QByteArray::number(symbolFont_) + "\\'b7\\tab}");
  } else {
    out_.append("{\\pntext\\f0 ");
    Escape(out_, marker, 1252, false, false);
    out_.append("\\tab}");
  }
  delimit_ = false;
}

void RtfRunWriter::Change(const CharAttrs& to) {
  CharAttrs& s = state_;
  if (to.face != s.face || to.charSet != s.charSet || to.pitchFamily != s.pitchFamily) Word("\\f", FontIndex(fonts_, to));
  if (to.sizeTwips != s.sizeTwips) Word("\\fs", to.sizeTwips / 10);
  if (to.bold != s.bold) Word(to.bold ? "\\b" : "\\b0");
  if (to.italic != s.italic) Word(to.italic ? "\\i" : "\\i0");
  if (to.underline != s.underline) Word(UnderlineWord(to.underline));
  if (to.strike != s.strike) Word(to.strike ? "\\strike" : "\\strike0");
  if (to.hidden != s.hidden) Word(to.hidden ? "\\v" : "\\v0");
  if (to.script != s.script) Word(to.script == 1 ? "\\sub" : to.script == 2 ? "\\super" : "\\nosupersub");
  if (to.offsetTwips != s.offsetTwips) {
    if (to.offsetTwips >= 0)
      Word("\\up", to.offsetTwips / 10);
    else
      Word("\\dn", -to.offsetTwips / 10);
  }
  if (to.hasColor != s.hasColor || to.color != s.color) Word("\\cf", to.hasColor ? ColorIndex(to.color) : 0);
  if (to.hasBack != s.hasBack || to.back != s.back) Word("\\highlight", to.hasBack ? ColorIndex(to.back) : 0);
  const QString instruction = s.fieldInstruction;
  const int id = s.fieldId;
  s = to;
  s.fieldInstruction = instruction;
  s.fieldId = id;
}

void RtfRunWriter::Field(const CharAttrs& attrs) {
  if (openField_ == attrs.fieldId) return;
  CloseField();
  if (attrs.fieldId == 0) return;
  out_.append("{\\field{\\*\\fldinst{");
  // The reader takes \'hh here in the page of the font around the field: \u is sure.
  Escape(out_, attrs.fieldInstruction, NoPage, false, false);
  out_.append("}}{\\fldrslt{");
  delimit_ = false;
  saved_ = state_;
  openField_ = attrs.fieldId;
}

void RtfRunWriter::CloseField() {
  if (openField_ == 0) return;
  out_.append("}}}");
  delimit_ = false;
  state_ = saved_;
  openField_ = 0;
}

void RtfRunWriter::Text(const QString& text, const CharAttrs& attrs, bool row) {
  Field(attrs);
  Change(attrs);
  if (delimit_) out_.append(' ');
  delimit_ = false;
  const int codePage = attrs.charSet == SYMBOL_CHARSET ? 0 : NoteFormat::CodePageOfCharSet(attrs.charSet, 1252);
  Escape(out_, text, codePage, SymbolFont::IsSymbolFace(attrs.face), row);
}

void RtfRunWriter::Kept(const QByteArray& bytes, const CharAttrs& attrs) {
  Field(attrs);
  Change(attrs);
  // A lone twin written right after a picture would be read as that picture's: kept apart.
  if (bytes.startsWith("{\\nonshppict") && out_.endsWith('}')) out_.append("{}");
  out_.append(bytes);
  delimit_ = false;
}

void RtfRunWriter::EndParagraph(bool row) {
  out_.append(row ? "\\cell\\row\r\n" : "\\par\r\n");
  delimit_ = false;
}
