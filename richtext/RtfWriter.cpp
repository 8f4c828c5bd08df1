#include "RtfWriter.h"

#include "KeptGroup.h"
#include "ListMarker.h"
#include "NoteFormat.h"
#include "RtfRunWriter.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <vector>

namespace {

// One fragment of the range, read once for both passes.
struct Run {
  CharAttrs attrs;
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

std::vector<Paragraph> Collect(const QTextDocument& document, int start, int end, bool whole, qsizetype* keptBytes) {
  std::vector<Paragraph> paragraphs;
  const QString defaultFace = document.defaultFont().family();
  int ordinal = -1, lastKind = 0, lastStyle = 0;
  for (QTextBlock block = document.findBlock(start); block.isValid() && block.position() <= end; block = block.next()) {
    Paragraph paragraph;
    paragraph.attrs = ParaAttrs::Read(block.blockFormat());
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
      const int from = std::max(fragment.position(), start);
      const int to = std::min(fragment.position() + fragment.length(), end);
      if (from >= to) continue;
      Run run;
      const QTextCharFormat format = fragment.charFormat();
      run.attrs = CharAttrs::Read(format);
      if (run.attrs.face.isEmpty()) run.attrs.face = defaultFace;
      if (KeptGroup::IsKept(format)) {
        // Each kept position is a fragment of its own only when formats differ: split them.
        const QByteArray bytes = KeptGroup::Bytes(format);
        for (int i = from; i < to; ++i) {
          run.kept = bytes;
          run.isKept = true;
          *keptBytes += bytes.size();
          paragraph.runs.push_back(run);
        }
        continue;
      }
      run.text = fragment.text().mid(from - fragment.position(), to - from);
      paragraph.runs.push_back(std::move(run));
    }
    paragraphs.push_back(std::move(paragraph));
  }
  return paragraphs;
}

}  // namespace

QByteArray RtfWriter::Write(const QTextDocument& document, int start, int end) {
  const int length = document.characterCount() - 1;
  if (end < 0 || end > length) end = length;
  start = std::clamp(start, 0, end);
  qsizetype keptBytes = 0;
  const std::vector<Paragraph> paragraphs = Collect(document, start, end, start == 0 && end == length, &keptBytes);

  QList<RtfRunWriter::Font> fonts;
  QList<QRgb> colors;
  bool bullets = false;
  for (const Paragraph& paragraph : paragraphs) {
    bullets |= paragraph.attrs.numbering == PFN_BULLET;
    for (const Run& run : paragraph.runs) {
      const RtfRunWriter::Font font{run.attrs.face, run.attrs.charSet, run.attrs.pitchFamily};
      if (!fonts.contains(font)) fonts.append(font);
      if (run.attrs.hasColor && !colors.contains(run.attrs.color)) colors.append(run.attrs.color);
      if (run.attrs.hasBack && !colors.contains(run.attrs.back)) colors.append(run.attrs.back);
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
    RtfRunWriter::Escape(out, fonts[i].face, 1252, false, false);
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
    if (row) {
      out.append("\\trowd");
      for (int cell : attrs.cells) out.append("\\cellx" + QByteArray::number(cell));
    }
    if (previous == nullptr || !(*previous == paragraph.attrs)) writer.Paragraph(attrs, previous == nullptr);
    previous = &paragraph.attrs;
    writer.Marker(attrs, paragraph.marker);
    for (const Run& run : paragraph.runs) {
      if (run.isKept)
        writer.Kept(run.kept, run.attrs);
      else
        writer.Text(run.text, run.attrs, row);
    }
    if (paragraph.markInRange) writer.EndParagraph(row);
  }
  writer.CloseField();
  out.append("}\r\n");
  return out;
}
