#include "NoteFixtures.h"

#include "richtext/KeptGroup.h"
#include "richtext/NoteDocument.h"
#include "richtext/NoteStream.h"
#include "richtext/NoteText.h"
#include "richtext/RtfReader.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <cstring>
#include <sstream>

namespace {

DWORD ReadCallback(DWORD_PTR cookie, BYTE* buffer, LONG cb, LONG* pcb) {
  auto* stream = reinterpret_cast<MemoryStream*>(cookie);
  const int call = static_cast<int>(stream->offered.size());
  stream->offered.push_back(cb);
  const LONG n = static_cast<LONG>(std::min<qsizetype>(cb, stream->data.size() - stream->at));
  std::memcpy(buffer, stream->data.constData() + stream->at, static_cast<size_t>(n));
  stream->at += n;
  *pcb = n;
  return call == stream->stopAtCall ? stream->stopCode : 0;
}

DWORD WriteCallback(DWORD_PTR cookie, BYTE* buffer, LONG cb, LONG* pcb) {
  auto* stream = reinterpret_cast<MemoryStream*>(cookie);
  const int call = static_cast<int>(stream->offered.size());
  stream->offered.push_back(cb);
  if (call == stream->stopAtCall) {
    *pcb = 0;
    return stream->stopCode;
  }
  *pcb = std::min(cb, stream->takeAtMost);
  stream->data.append(reinterpret_cast<const char*>(buffer), *pcb);
  return 0;
}

}  // namespace

EDITSTREAM MemoryStream::In() {
  EDITSTREAM stream;
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(this);
  stream.pfnCallback = ReadCallback;
  return stream;
}

EDITSTREAM MemoryStream::Out() {
  EDITSTREAM stream;
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(this);
  stream.pfnCallback = WriteCallback;
  return stream;
}

QByteArray StreamOut(const NoteDocument& note, UINT format) {
  MemoryStream memory;
  EDITSTREAM stream = memory.Out();
  NoteStream::Out(note, format, stream);
  return memory.data;
}

DWORD StreamIn(NoteDocument& note, const QByteArray& bytes, UINT format) {
  MemoryStream memory;
  memory.data = bytes;
  EDITSTREAM stream = memory.In();
  NoteStream::In(note, format, stream);
  return stream.dwError;
}

std::unique_ptr<QTextDocument> ReadRtf(const QByteArray& rtf) { return RtfReader::Read(rtf, true).builder.Build(); }

NoteSnapshot Snapshot(const QTextDocument& document, int start, int end) {
  NoteSnapshot snap;
  const int length = document.characterCount() - 1;
  if (end < 0 || end > length) end = length;
  for (QTextBlock block = document.findBlock(start); block.isValid() && block.position() <= end; block = block.next()) {
    snap.paras.push_back(ParaAttrs::Read(block.blockFormat()));
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const QString text = fragment.text();
      const CharAttrs attrs = CharAttrs::Read(fragment.charFormat());
      for (int i = 0; i < fragment.length(); ++i) {
        const int position = fragment.position() + i;
        if (position < start || position >= end) continue;
        snap.chars.push_back(attrs);
        if (KeptGroup::IsKept(fragment.charFormat())) snap.kept.push_back(KeptGroup::Bytes(fragment.charFormat()));
      }
    }
    if (block.position() + block.length() - 1 < end) snap.chars.push_back(CharAttrs());  // the mark: not compared
  }
  // Field ids only tell fields apart: number them in order of appearance.
  std::vector<int> seen;
  for (CharAttrs& attrs : snap.chars) {
    if (attrs.fieldId == 0) continue;
    auto it = std::find(seen.begin(), seen.end(), attrs.fieldId);
    if (it == seen.end()) it = seen.insert(seen.end(), attrs.fieldId);
    attrs.fieldId = static_cast<int>(it - seen.begin()) + 1;
  }
  QTextCursor cursor(const_cast<QTextDocument*>(&document));
  cursor.setPosition(start);
  cursor.setPosition(end, QTextCursor::KeepAnchor);
  snap.text = NoteText::FromDocument(cursor.selectedText());
  return snap;
}

std::string Describe(const CharAttrs& a) {
  std::ostringstream s;
  s << "face=" << a.face.toStdString() << " cs=" << a.charSet << " pf=" << a.pitchFamily << " size=" << a.sizeTwips
    << " b=" << a.bold << " i=" << a.italic << " s=" << a.strike << " v=" << a.hidden << " ul=" << a.underline
    << " script=" << a.script << " off=" << a.offsetTwips << " color=" << a.hasColor << '/' << std::hex << a.color
    << " back=" << a.hasBack << '/' << a.back << std::dec << " field=" << a.fieldId << ':'
    << a.fieldInstruction.toStdString();
  return s.str();
}

std::string Describe(const ParaAttrs& p) {
  std::ostringstream s;
  s << "align=" << p.align << " li=" << p.leftTwips << " ri=" << p.rightTwips << " fi=" << p.firstTwips
    << " sb=" << p.spaceBefore << " sa=" << p.spaceAfter << " sl=" << p.lineSpacing << '/' << p.lineMultiple
    << " tabs=" << p.tabs.size() << " num=" << p.numbering << '/' << p.numberingStyle << '/' << p.numberingStart
    << '/' << p.numberingTab << " pagebb=" << p.pageBreakBefore << " cells=" << p.cells.size();
  return s.str();
}

std::string Difference(const NoteSnapshot& a, const NoteSnapshot& b, bool paragraphs) {
  if (a.text != b.text) return "text: \"" + a.text.toStdString() + "\" vs \"" + b.text.toStdString() + "\"";
  if (a.chars.size() != b.chars.size()) return "character count differs";
  for (size_t i = 0; i < a.chars.size(); ++i)
    if (!(a.chars[i] == b.chars[i]))
      return "position " + std::to_string(i) + ": " + Describe(a.chars[i]) + " vs " + Describe(b.chars[i]);
  if (a.kept != b.kept) return "kept groups differ";
  if (!paragraphs) return {};
  if (a.paras.size() != b.paras.size()) return "paragraph count differs";
  for (size_t i = 0; i < a.paras.size(); ++i)
    if (!(a.paras[i] == b.paras[i]))
      return "paragraph " + std::to_string(i) + ": " + Describe(a.paras[i]) + " vs " + Describe(b.paras[i]);
  return {};
}
