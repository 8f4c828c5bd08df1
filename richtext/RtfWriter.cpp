#include "RtfWriter.h"

#include "KeptGroup.h"
#include "ListMarker.h"
#include "NoteFormat.h"
#include "RtfRunWriter.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace {

// One fragment of the range, read once for both passes.
struct Run {
  int attrs;  // index into the attributes read
  QString text;
  QByteArray kept;
  bool isKept = false;
};

struct Paragraph {
  ParaAttrs attrs;
  QString marker;
  std::vector<Run> runs;
  bool markInRange = false;
};

const char* FamilyWord(int pitchFamily) {
  switch (pitchFamily & 0xF0) {
    case FF_ROMAN: return "\\froman";
    case FF_SWISS: return "\\fswiss";
    case FF_MODERN: return "\\fmodern";
    case FF_SCRIPT: return "\\fscript";
    case FF_DECORATIVE: return "\\fdecor";
    default: return "\\fnil";
  }
}

// The attributes of each format the range uses, read once per format rather than per run.
struct Formats {
  std::vector<CharAttrs> chars;
  std::vector<bool> kept;
  std::unordered_map<int, int> byIndex;
  std::unordered_map<int, ParaAttrs> paras;
};

std::vector<Paragraph> Collect(const QTextDocument& document, int start, int end, bool whole, qsizetype* keptBytes,
                               Formats& formats) {
  std::vector<Paragraph> paragraphs;
  const QString defaultFace = document.defaultFont().family();
  int ordinal = -1, lastKind = 0, lastStyle = 0;
  for (QTextBlock block = document.findBlock(start); block.isValid() && block.position() <= end; block = block.next()) {
    Paragraph paragraph;
    auto para = formats.paras.find(block.blockFormatIndex());
    if (para == formats.paras.end()) para = formats.paras.emplace(block.blockFormatIndex(), ParaAttrs::Read(block.blockFormat())).first;
    paragraph.attrs = para->second;
    const int markPosition = block.position() + block.length() - 1;
    paragraph.markInRange = markPosition < end || (whole && markPosition == end);
    if (block.position() == end && !paragraph.markInRange) break;
    const ParaAttrs& p = paragraph.attrs;
    if (p.numbering != 0) {
      ordinal = (ordinal >= 0 && p.numbering == lastKind && p.numberingStyle == lastStyle) ? ordinal + 1 : ListMarker::Ordinal(block);
      paragraph.marker = ListMarker::Text(p.numbering, p.numberingStyle, p.numberingStart + ordinal);
    } else {
      ordinal = -1;
    }
    lastKind = p.numbering, lastStyle = p.numberingStyle;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const int position = fragment.position();
      const int from = std::max(position, start);
      const int to = std::min(position + fragment.length(), end);
      if (from >= to) continue;
      Run run;
      const int index = fragment.charFormatIndex();
      auto known = formats.byIndex.find(index);
      if (known == formats.byIndex.end()) {
        CharAttrs attrs = CharAttrs::Read(fragment.charFormat());
        if (attrs.face.isEmpty()) attrs.face = defaultFace;
        formats.chars.push_back(attrs);
        formats.kept.push_back(KeptGroup::IsKept(fragment.charFormat()));
        known = formats.byIndex.emplace(index, static_cast<int>(formats.chars.size()) - 1).first;
      }
      run.attrs = known->second;
      if (formats.kept[run.attrs]) {
        const QTextCharFormat format = fragment.charFormat();
        // Kept positions share a fragment when their formats are the same: split them.
        const QByteArray bytes = KeptGroup::Bytes(format);
        for (int i = from; i < to; ++i) {
          run.kept = bytes;
          run.isKept = true;
          *keptBytes += bytes.size();
          paragraph.runs.push_back(run);
        }
        continue;
      }
      run.text = fragment.text().mid(from - position, to - from);
      paragraph.runs.push_back(std::move(run));
    }
    paragraphs.push_back(std::move(paragraph));
  }
  return paragraphs;
}

}  // namespace

QByteArray RtfWriter::Write(const QTextDocument& document, int start, int end, bool asRange) {
  const int length = document.characterCount() - 1;
  if (end < 0 || end > length) end = length;
  start = std::clamp(start, 0, end);
  qsizetype keptBytes = 0;
  Formats formats;
  const std::vector<Paragraph> paragraphs = Collect(document, start, end, !asRange && start == 0 && end == length, &keptBytes, formats);

  QList<RtfRunWriter::Font> fonts;
  QList<QRgb> colors;
  bool bullets = false;
  // Fonts and colours in the order the text first uses them, so that \deff0 is the first run's.
  std::vector<bool> listed(formats.chars.size());
  for (const Paragraph& paragraph : paragraphs) {
    bullets |= paragraph.attrs.numbering == PFN_BULLET;
    for (const Run& run : paragraph.runs) {
      if (listed[run.attrs]) continue;
      listed[run.attrs] = true;
      const CharAttrs& attrs = formats.chars[run.attrs];
      const RtfRunWriter::Font font{attrs.face, attrs.charSet, attrs.pitchFamily};
      if (!fonts.contains(font)) fonts.append(font);
      if (attrs.hasColor && !colors.contains(attrs.color)) colors.append(attrs.color);
      if (attrs.hasBack && !colors.contains(attrs.back)) colors.append(attrs.back);
    }
  }
  if (fonts.isEmpty()) fonts.append({document.defaultFont().family(), 0, 0});
  int symbolFont = -1;
  if (bullets) {
    const RtfRunWriter::Font symbol{QStringLiteral("Symbol"), SYMBOL_CHARSET, FF_DECORATIVE};
    symbolFont = static_cast<int>(fonts.indexOf(symbol));
    if (symbolFont < 0) {
      fonts.append(symbol);
      symbolFont = static_cast<int>(fonts.size()) - 1;
    }
  }

  QByteArray out;
  out.reserve(keptBytes + 2 * (end - start) + 1024);
  out.append("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl");
  for (int i = 0; i < fonts.size(); ++i) {
    out.append("{\\f" + QByteArray::number(i) + FamilyWord(fonts[i].pitchFamily));
    if (fonts[i].pitchFamily & 0x0F) out.append("\\fprq" + QByteArray::number(fonts[i].pitchFamily & 0x0F));
    out.append("\\fcharset" + QByteArray::number(fonts[i].charSet) + ' ');
    // A name goes in its own code page; what that page lacks goes as \u.
    const int codePage = fonts[i].charSet == SYMBOL_CHARSET ? 1252 : NoteFormat::CodePageOfCharSet(fonts[i].charSet, 1252);
    RtfRunWriter::Escape(out, fonts[i].face, codePage, false, false);
    out.append(";}");
  }
  out.append("}\r\n");
  if (!colors.isEmpty()) {
    out.append("{\\colortbl ;");
    for (const QRgb rgb : colors)
      out.append("\\red" + QByteArray::number(qRed(rgb)) + "\\green" + QByteArray::number(qGreen(rgb)) + "\\blue" +
                 QByteArray::number(qBlue(rgb)) + ';');
    out.append("}\r\n");
  }
  out.append("\\viewkind4\\uc1\\pard");

  RtfRunWriter writer(out, fonts, colors, symbolFont);
  const ParaAttrs* previous = nullptr;
  for (const Paragraph& paragraph : paragraphs) {
    // A row is written as one only when all of it is in the range.
    const bool row = !paragraph.attrs.cells.isEmpty() && paragraph.markInRange;
    ParaAttrs attrs = paragraph.attrs;
    if (!row) attrs.cells.clear();
    if (row) writer.Row(attrs.cells);
    if (previous == nullptr || !(*previous == paragraph.attrs)) writer.Paragraph(attrs, previous == nullptr);
    previous = &paragraph.attrs;
    writer.Marker(attrs, paragraph.marker);
    for (const Run& run : paragraph.runs) {
      if (run.isKept)
        writer.Kept(run.kept, formats.chars[run.attrs]);
      else
        writer.Text(run.text, formats.chars[run.attrs], row);
    }
    if (paragraph.markInRange) writer.EndParagraph(row);
  }
  writer.CloseField();
  out.append("}\r\n");
  return out;
}
