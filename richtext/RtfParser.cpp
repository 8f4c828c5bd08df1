#include "RtfParser.h"

#include "KeptGroupReader.h"
#include "NoteBudget.h"
#include "NoteText.h"
#include "RtfFormatWords.h"
#include "RtfReader.h"
#include "SymbolFont.h"
#include "Yelk/TMsgLog.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kMaxCells = 64;
constexpr int kMaxFieldDepth = 32;
constexpr qsizetype kMaxInstruction = 4096;
constexpr qsizetype kMaxSmallText = 256;

using Kind = RtfTokenizer::Kind;

// Field instructions, numbering texts and font names go back out as they are: without the
// control characters no writer can put there.
void AppendCapped(QString& to, QString text, qsizetype cap) {
  text.removeIf([](QChar c) { return c.unicode() < 0x20; });
  if (to.size() < cap) to.append(text.left(cap - to.size()));
}

}  // namespace

RtfParser::RtfParser(const QByteArray& rtf, qint64 maxPositions)
    : source_(rtf),
      tokenizer_(source_.constData(), static_cast<std::size_t>(source_.size())),
      sink_(maxPositions, NoteBudget::PictureBytes(rtf.size())) {
  // The text is at most as long as the RTF; untouched room costs no memory.
  sink_.Reserve(std::min<qsizetype>(rtf.size(), 4 * 1024 * 1024));
}

int RtfParser::CodePage() {
  if (groups_.empty()) return tables_.ansiCodePage;
  Group& group = groups_.back();
  if (group.codePageOf != group.font) {  // worked out once per font change, not per text run
    group.codePage = tables_.CodePage(group.font);
    group.symbolFace = SymbolFont::IsSymbolFace(group.chr.face);
    group.codePageOf = group.font;
  }
  return group.codePage;
}

void RtfParser::SetAnsiCodePage(int codePage) {
  tables_.ansiCodePage = codePage;
  for (Group& group : groups_) group.codePageOf = -1;
}

bool RtfParser::SymbolFace() {
  CodePage();
  return !groups_.empty() && groups_.back().symbolFace;
}

DWORD RtfParser::Run(bool whole) {
  for (;;) {
    if (sink_.Full()) return STREAM_E_TOO_LARGE;
    const RtfTokenizer::Token token = tokenizer_.Next();
    if (token.kind == Kind::End) break;
    if (token.kind == Kind::GroupOpen) {
      FlushBytes();
      OpenGroup();
      if (groups_.empty()) break;
      continue;
    }
    if (groups_.empty()) continue;  // text before the first group means nothing
    if (token.kind == Kind::GroupClose) {
      FlushBytes();
      CloseGroup();
      if (groups_.empty()) break;  // the document's group is closed: what follows is not ours
      continue;
    }
    if (fresh_ && token.kind == Kind::Symbol && token.symbol == '*') {
      ignorable_ = true;
      continue;
    }
    const bool first = fresh_;
    fresh_ = false;
    switch (token.kind) {
      case Kind::Word:
        FlushBytes();
        if (first && StartDestination(LookupRtfWord(token.word), token)) break;
        if (first && ignorable_) {
          tokenizer_.SkipGroup();  // an unknown {\*\...} destination
          groups_.pop_back();
          break;
        }
        OnWord(token);
        break;
      case Kind::Symbol: FlushBytes(); OnSymbol(token.symbol); break;
      case Kind::Text: OnBytes(token.word.data(), static_cast<qsizetype>(token.word.size())); break;
      case Kind::Hex: {
        const char byte = static_cast<char>(token.hex);
        OnBytes(&byte, 1);
        break;
      }
      case Kind::Binary:
        if (skip_ > 0) --skip_;
        break;
      default: break;
    }
  }
  FlushBytes();
  if (highSurrogate_ != 0 && !groups_.empty()) EmitChar(u'\0');  // a dangling half of a pair
  if (sink_.Full()) return STREAM_E_TOO_LARGE;
  ApplyNumbering();
  sink_.Finish(Effective(), whole);
  if (tokenizer_.Truncated()) {
    TMsgLog::Add("RtfReader - a binary block reaches past the end of the data.");
    return STREAM_E_CORRUPT;
  }
  return sink_.Full() ? STREAM_E_TOO_LARGE : 0;
}

void RtfParser::OpenGroup() {
  skip_ = 0;
  if (static_cast<int>(groups_.size()) >= RtfReader::MaxDepth) {
    if (!depthLogged_) TMsgLog::Add("RtfReader - groups nested too deep are skipped.");
    depthLogged_ = true;
    tokenizer_.SkipGroup();
    return;
  }
  groupStart_ = tokenizer_.Offset() - 1;
  if (groups_.empty()) {
    Group root;
    root.chr = RtfFormatWords::Plain(tables_);
    groups_.push_back(root);
  } else {
    Group inner = groups_.back();
    inner.field = false;
    groups_.push_back(inner);
  }
  fresh_ = true;
  ignorable_ = false;
}

void RtfParser::CloseGroup() {
  skip_ = 0;
  const Group closing = groups_.back();
  groups_.pop_back();
  const Dest outer = groups_.empty() ? Dest::Text : groups_.back().dest;
  if (closing.field && !fields_.empty()) fields_.pop_back();
  if (closing.dest == outer && closing.dest != Dest::FontTable) return;
  switch (closing.dest) {
    case Dest::FontTable: CommitFont(); break;
    case Dest::PnDef: {
      para_.numbering = pn_.kind;
      para_.numberingStart = pn_.start;
      para_.numberingTab = pn_.tab;
      if (pn_.kind == PFN_BULLET || pn_.kind == 0) {
        para_.numberingStyle = PFNS_PLAIN;
      } else {
        // Text read in a symbol-set font holds its codes as U+F020..U+F0FF: "." is U+F02E.
        auto is = [](const QString& text, char16_t c) {
          return text.size() == 1 && (text[0] == QChar(c) || text[0] == QChar(char16_t(0xF000 + c)));
        };
        para_.numberingStyle = is(pn_.after, u'.')   ? PFNS_PERIOD
                               : is(pn_.after, u')') ? (is(pn_.before, u'(') ? PFNS_PARENS : PFNS_PAREN)
                                                     : PFNS_PLAIN;
      }
      if (pn_.kind == 0) para_.numberingStyle = PFNS_PERIOD, para_.numberingStart = 1, para_.numberingTab = 0;
      break;
    }
    case Dest::ListLevel:
      if (static_cast<int>(levels_.size()) < RtfTables::MaxLevels)
        levels_.push_back(RtfTables::LevelFromWord(nfc_, levelStart_, levelText_));
      break;
    case Dest::List: tables_.AddList(listId_, levels_); break;
    case Dest::ListOverride: tables_.AddOverride(overrideLs_, listId_); break;
    default: break;
  }
}

bool RtfParser::StartDestination(RtfWord word, const RtfTokenizer::Token& token) {
  using W = RtfWord;
  Group& group = groups_.back();
  const Dest dest = group.dest;
  auto skip = [&] {
    tokenizer_.SkipGroup();
    groups_.pop_back();
    return true;
  };
  auto enter = [&](Dest d) {
    group.dest = d;
    return true;
  };
  switch (word) {
    case W::FontTable: fontIndex_ = -1; fontName_.clear(); fontNameText_.clear(); return enter(Dest::FontTable);
    case W::ColorTable: anyColor_ = false; red_ = green_ = blue_ = 0; return enter(Dest::ColorTable);
    case W::StyleSheet: case W::Info: case W::Header: case W::Footer: case W::Footnote:
    case W::Annotation: case W::PnText: case W::ListText: case W::PgDscTbl: case W::Shp:
      return skip();
    case W::Pict: case W::Object: case W::ShpPict: case W::NonShpPict:
      if (dest != Dest::Text) return skip();
      KeepGroup(word == W::Object, word == W::ShpPict);
      return true;
    case W::Field:
      if (static_cast<int>(fields_.size()) >= kMaxFieldDepth) return skip();
      fields_.emplace_back();
      group.field = true;
      return true;
    case W::FldInst: return fields_.empty() ? skip() : enter(Dest::FieldInst);
    case W::FldRslt:
      if (!fields_.empty() && dest == Dest::Text) {
        group.chr.fieldInstruction = fields_.back();
        group.chr.fieldId = ++fieldCount_;
      }
      return true;
    case W::Pn:
      if (dest != Dest::Text) return skip();
      pn_ = Numbering();
      return enter(Dest::PnDef);
    case W::PnTxtA: return dest == Dest::PnDef ? enter(Dest::PnTextAfter) : skip();
    case W::PnTxtB: return dest == Dest::PnDef ? enter(Dest::PnTextBefore) : skip();
    case W::ListTable: return enter(Dest::ListTable);
    case W::List:
      if (dest != Dest::ListTable) return skip();
      levels_.clear();
      listId_ = 0;
      return enter(Dest::List);
    case W::ListLevel:
      if (dest != Dest::List) return skip();
      nfc_ = 0, levelStart_ = 1;
      levelText_.clear();
      return enter(Dest::ListLevel);
    case W::LevelText: return dest == Dest::ListLevel ? enter(Dest::LevelText) : skip();
    case W::ListOverrideTable: return enter(Dest::ListOverrideTable);
    case W::ListOverride:
      if (dest != Dest::ListOverrideTable) return skip();
      listId_ = overrideLs_ = 0;
      return enter(Dest::ListOverride);
    default:
      (void)token;
      return false;
  }
}

void RtfParser::KeepGroup(bool object, bool hasTwin) {
  const std::size_t start = groupStart_;
  const KeptGroupReader::Result result = KeptGroupReader::Read(tokenizer_, object);
  groups_.pop_back();
  if (!result.complete) return;  // cut off: nothing sound to keep
  // The office suite writes a picture twice, for newer and older readers: one position. A
  // twin cut off by the end of the data is not kept, or it would swallow what follows; only
  // a \shppict has one, so a picture written next to a lone \nonshppict stays apart from it.
  std::size_t end = tokenizer_.Offset();
  if (hasTwin && tokenizer_.SkipIf("{\\nonshppict") && tokenizer_.SkipGroup()) end = tokenizer_.Offset();
  const std::size_t size = end - start;
  if (static_cast<qint64>(size) > RtfReader::MaxKeptBytes) {
    TMsgLog::Add("RtfReader - a picture or object group over the size cap is left out.");
    return;
  }
  sink_.Object(KeptGroupReader::Share(source_, static_cast<qsizetype>(start), static_cast<qsizetype>(size)), result.size,
               groups_.back().chr);
}

void RtfParser::OnWord(const RtfTokenizer::Token& token) {
  const RtfWord word = LookupRtfWord(token.word);
  Group& group = groups_.back();
  if (skip_ > 0) {
    --skip_;  // the stand-in of a \u character
    return;
  }
  if (word == RtfWord::U) {
    OnUnicode(token.param);
    return;
  }
  if (word == RtfWord::Uc) {
    group.uc = std::clamp(token.param, 0, 16);
    return;
  }
  if (group.dest == Dest::Text) {
    OnTextWord(word, token);
  } else {
    OnTableWord(word, token);
  }
}

void RtfParser::OnTextWord(RtfWord word, const RtfTokenizer::Token& token) {
  using W = RtfWord;
  Group& group = groups_.back();
  const int param = token.param;
  if (RtfFormatWords::ApplyChar(word, param, token.hasParam, tables_, group.chr)) {
    if (word == W::F && tables_.Font(param) != nullptr) group.font = param;
    return;
  }
  if (RtfFormatWords::ApplyPara(word, param, para_)) return;
  switch (word) {
    case W::Ansi: SetAnsiCodePage(1252); break;
    case W::Mac: SetAnsiCodePage(10000); break;
    case W::Pc: SetAnsiCodePage(437); break;
    case W::Pca: SetAnsiCodePage(850); break;
    case W::AnsiCpg:
      if (param > 0 && param < 65536) SetAnsiCodePage(param);
      break;
    case W::Deff: tables_.defaultFont = param; break;
    case W::Plain: {
      // \plain resets the look, not the field the text belongs to.
      const CharAttrs plain = RtfFormatWords::Plain(tables_);
      const QString instruction = group.chr.fieldInstruction;
      const int fieldId = group.chr.fieldId;
      group.chr = plain;
      group.chr.fieldInstruction = instruction;
      group.chr.fieldId = fieldId;
      group.font = tables_.defaultFont;
      break;
    }
    case W::Par:
    case W::Sect:
      if (inTable_) {
        EmitChar(NoteText::LineBreak);  // paragraphs inside a cell join
      } else {
        ApplyNumbering();
        sink_.Paragraph(Effective(), group.chr);
      }
      break;
    case W::Line: case W::NestRow: EmitChar(NoteText::LineBreak); break;
    case W::Tab: case W::NestCell: EmitChar(u'\t'); break;
    case W::Page: EmitChar(u'\f'); break;
    case W::Pard:
      para_ = ParaAttrs();
      inTable_ = false;
      ls_ = -1, ilvl_ = 0;
      break;
    case W::Intbl: inTable_ = true; break;
    case W::Trowd: rowCells_.clear(); break;
    case W::Cellx:
      if (rowCells_.size() < kMaxCells) rowCells_.append(std::clamp(param, 0, RtfFormatWords::MaxTwips));
      break;
    case W::Cell: sink_.Cell(group.chr); break;
    case W::Row: {
      ApplyNumbering();
      ParaAttrs row = Effective();
      row.cells = rowCells_;
      sink_.Row(row, group.chr);
      break;
    }
    case W::Ls: ls_ = param; break;
    case W::Ilvl: ilvl_ = std::clamp(param, 0, RtfTables::MaxLevels - 1); break;
    case W::Bullet: EmitChar(0x2022); break;
    case W::LQuote: EmitChar(0x2018); break;
    case W::RQuote: EmitChar(0x2019); break;
    case W::LDblQuote: EmitChar(0x201C); break;
    case W::RDblQuote: EmitChar(0x201D); break;
    case W::EnDash: EmitChar(0x2013); break;
    case W::EmDash: EmitChar(0x2014); break;
    case W::EnSpace: EmitChar(0x2002); break;
    case W::EmSpace: EmitChar(0x2003); break;
    case W::QmSpace: EmitChar(0x2005); break;
    case W::Zwj: EmitChar(0x200D); break;
    case W::Zwnj: EmitChar(0x200C); break;
    case W::LtrMark: EmitChar(0x200E); break;
    case W::RtlMark: EmitChar(0x200F); break;
    default: break;  // \hich \loch \dbch \af \rtlch \ltrch and the rest: Latin text keeps \f
  }
}

void RtfParser::OnTableWord(RtfWord word, const RtfTokenizer::Token& token) {
  using W = RtfWord;
  const int param = token.param;
  switch (groups_.back().dest) {
    case Dest::FontTable:
      switch (word) {
        case W::F: CommitFont(); fontIndex_ = param; font_ = RtfFont(); break;
        case W::FCharset: font_.charSet = std::clamp(param, 0, 255); break;
        case W::FPrq: font_.pitchFamily = (font_.pitchFamily & 0xF0) | std::clamp(param, 0, 2); break;
        case W::FNil: font_.pitchFamily &= 0x0F; break;
        case W::FRoman: font_.pitchFamily = (font_.pitchFamily & 0x0F) | FF_ROMAN; break;
        case W::FSwiss: font_.pitchFamily = (font_.pitchFamily & 0x0F) | FF_SWISS; break;
        case W::FModern: font_.pitchFamily = (font_.pitchFamily & 0x0F) | FF_MODERN; break;
        case W::FScript: font_.pitchFamily = (font_.pitchFamily & 0x0F) | FF_SCRIPT; break;
        case W::FDecor: case W::FTech: font_.pitchFamily = (font_.pitchFamily & 0x0F) | FF_DECORATIVE; break;
        case W::Cpg: font_.codePage = std::clamp(param, 0, 65535); break;
        default: break;
      }
      break;
    case Dest::ColorTable:
      if (word == W::Red) red_ = std::clamp(param, 0, 255), anyColor_ = true;
      if (word == W::Green) green_ = std::clamp(param, 0, 255), anyColor_ = true;
      if (word == W::Blue) blue_ = std::clamp(param, 0, 255), anyColor_ = true;
      break;
    case Dest::PnDef:
      switch (word) {
        case W::PnLvlBlt: pn_.kind = PFN_BULLET; break;
        case W::PnLvlBody: case W::PnLvl: case W::PnDec: pn_.kind = PFN_ARABIC; break;
        case W::PnLvlCont: pn_.kind = 0; break;
        case W::PnUcLtr: pn_.kind = PFN_UCLETTER; break;
        case W::PnLcLtr: pn_.kind = PFN_LCLETTER; break;
        case W::PnUcRm: pn_.kind = PFN_UCROMAN; break;
        case W::PnLcRm: pn_.kind = PFN_LCROMAN; break;
        case W::PnStart: pn_.start = std::clamp(param, 0, 0xFFFF); break;
        case W::PnIndent: pn_.tab = std::clamp(param, 0, 0xFFFF); break;
        default: break;
      }
      break;
    case Dest::ListLevel:
      if (word == W::LevelNfc || word == W::LevelNfcN) nfc_ = param;
      if (word == W::LevelStartAt) levelStart_ = param;
      break;
    case Dest::List:
    case Dest::ListOverride:
      if (word == W::ListId) listId_ = param;
      if (word == W::Ls) overrideLs_ = param;
      break;
    default: break;
  }
}

void RtfParser::OnSymbol(char symbol) {
  if (skip_ > 0) {
    --skip_;
    return;
  }
  switch (symbol) {
    case '\\': case '{': case '}': {
      const char byte = symbol;
      OnBytes(&byte, 1);
      FlushBytes();
      break;
    }
    case '~': EmitChar(0x00A0); break;
    case '-': EmitChar(0x00AD); break;
    case '_': EmitChar(0x2011); break;
    case '\r': case '\n':
      if (groups_.back().dest == Dest::Text) OnTextWord(RtfWord::Par, RtfTokenizer::Token{});
      break;
    case '\t': EmitChar(u'\t'); break;
    default: break;
  }
}

void RtfParser::OnBytes(const char* bytes, qsizetype size) {
  Group& group = groups_.back();
  if (skip_ > 0) {
    const qsizetype skipped = std::min<qsizetype>(skip_, size);
    skip_ -= static_cast<int>(skipped);
    bytes += skipped;
    size -= skipped;
  }
  if (size == 0) return;
  switch (group.dest) {
    case Dest::Text: case Dest::FieldInst: case Dest::PnTextAfter: case Dest::PnTextBefore: {
      // Line ends in RTF text are only for the eye.
      const int codePage = CodePage();
      const bool symbol = SymbolFace();
      if (std::memchr(bytes, '\r', static_cast<size_t>(size)) == nullptr &&
          std::memchr(bytes, '\n', static_cast<size_t>(size)) == nullptr) {
        decoder_.Append(bytes, size, codePage, symbol);
        break;
      }
      for (qsizetype from = 0; from < size;) {
        qsizetype to = from;
        while (to < size && bytes[to] != '\r' && bytes[to] != '\n') ++to;
        if (to > from) decoder_.Append(bytes + from, to - from, codePage, symbol);
        while (to < size && (bytes[to] == '\r' || bytes[to] == '\n')) ++to;
        from = to;
      }
      break;
    }
    case Dest::FontTable:
      for (qsizetype i = 0; i < size; ++i) {
        if (bytes[i] == ';') {
          CommitFont();
        } else if (bytes[i] != '\r' && bytes[i] != '\n' && fontName_.size() < kMaxSmallText) {
          fontName_.append(bytes[i]);
        }
      }
      break;
    case Dest::ColorTable:
      for (qsizetype i = 0; i < size; ++i) {
        if (bytes[i] != ';') continue;
        tables_.AddColor(anyColor_ ? std::optional<QRgb>(qRgb(red_, green_, blue_)) : std::nullopt);
        anyColor_ = false;
        red_ = green_ = blue_ = 0;
      }
      break;
    case Dest::LevelText:
      if (levelText_.size() < kMaxSmallText) levelText_.append(bytes, std::min(size, kMaxSmallText));
      break;
    default: break;
  }
}

void RtfParser::OnUnicode(int value) {
  if (value < 0) value += 65536;
  FlushBytes();
  EmitChar(static_cast<char16_t>(std::clamp(value, 0, 0xFFFF)));
  skip_ = groups_.back().uc;
}

void RtfParser::EmitChar(char16_t c) {
  FlushBytes();
  QString text;
  if (highSurrogate_ != 0) {
    if (QChar::isLowSurrogate(c)) {
      text = QString(QChar(highSurrogate_)) + QChar(c);
      highSurrogate_ = 0;
      EmitText(text);
      return;
    }
    highSurrogate_ = 0;
    text = QChar(0xFFFD);
  }
  if (QChar::isHighSurrogate(c)) {
    EmitText(text);
    highSurrogate_ = c;
    return;
  }
  text.append(QChar(c));
  EmitText(text);
}

void RtfParser::FlushBytes() {
  if (decoder_.IsEmpty()) return;
  QString text = decoder_.Take();
  if (highSurrogate_ != 0) {
    text.prepend(QChar(0xFFFD));  // bytes cannot complete a \u pair
    highSurrogate_ = 0;
  }
  EmitText(text);
}

void RtfParser::EmitText(const QString& text) {
  if (text.isEmpty() || groups_.empty()) return;
  switch (groups_.back().dest) {
    case Dest::Text: sink_.Text(text, groups_.back().chr); break;
    case Dest::FieldInst:
      if (!fields_.empty()) AppendCapped(fields_.back(), text, kMaxInstruction);
      break;
    case Dest::PnTextAfter: AppendCapped(pn_.after, text, kMaxSmallText); break;
    case Dest::PnTextBefore: AppendCapped(pn_.before, text, kMaxSmallText); break;
    case Dest::FontTable:  // a name the code page cannot hold comes as \u
      fontNameText_ += FontNameBytes();
      AppendCapped(fontNameText_, text, kMaxSmallText);
      break;
    default: break;
  }
}

ParaAttrs RtfParser::Effective() const { return para_; }

void RtfParser::ApplyNumbering() {
  // A Word 97 list paragraph takes its numbering from the list table.
  if (ls_ < 0) return;
  const RtfListLevel* level = tables_.Level(ls_, ilvl_);
  if (level == nullptr) return;
  para_.numbering = level->kind;
  // A bullet counts nothing: its level's start is not kept, as a written bullet has none.
  para_.numberingStart = level->kind && level->kind != PFN_BULLET ? level->start : 1;
  para_.numberingStyle = level->kind ? level->style : PFNS_PERIOD;
  para_.numberingTab = level->kind ? std::max(0, -para_.firstTwips) : 0;
}

QString RtfParser::FontNameBytes() {
  RtfTextDecoder names;
  const int codePage = font_.charSet == SYMBOL_CHARSET ? 1252 : NoteFormat::CodePageOfCharSet(font_.charSet, tables_.ansiCodePage);
  names.Append(fontName_.constData(), fontName_.size(), codePage, false);
  fontName_.clear();
  return names.Take();
}

void RtfParser::CommitFont() {
  QString name = fontNameText_ + FontNameBytes();
  name = name.removeIf([](QChar c) { return c.unicode() < 0x20; }).trimmed();  // no writer can name them
  if (fontIndex_ >= 0 && !name.isEmpty()) {
    font_.name = name;
    tables_.AddFont(fontIndex_, font_);
    // The default font is known only now; text before the table has none. A font defined
    // again (a second table) changes what its text says and how its bytes decode together.
    for (Group& group : groups_) {
      group.codePageOf = -1;
      const bool inThisFont = group.font == fontIndex_ && !group.chr.face.isEmpty();
      if (inThisFont || (fontIndex_ == tables_.defaultFont && group.chr.face.isEmpty()))
        RtfFormatWords::SetFont(fontIndex_, tables_, group.chr), group.font = fontIndex_;
    }
  }
  fontNameText_.clear();
  fontIndex_ = -1;
}
