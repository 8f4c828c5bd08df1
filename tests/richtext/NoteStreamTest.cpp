// The EDITSTREAM contract the note window relies on, and plain text in both directions.

#include "NoteFixtures.h"

#include "richtext/NoteDocument.h"
#include "richtext/NoteStream.h"

#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

constexpr UINT kUtf8Text = (CP_UTF8 << 16) | SF_USECODEPAGE | SF_TEXT;

QString Read(const QByteArray& bytes, UINT format) {
  NoteDocument note;
  EXPECT_EQ(StreamIn(note, bytes, format), 0u);
  return note.GetText(0, -1);
}

}  // namespace

TEST(NoteStreamTest, PlainTextInTellsUtf8FromWindows1252AndEndsLinesEitherWay) {
  EXPECT_EQ(Read("caf\xe9 \x80\r\nb\nc\rd\fe", SF_TEXT), QStringLiteral("caf\u00e9 \u20ac\rb\rc\rd\fe"));
  EXPECT_EQ(Read("\xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1", SF_TEXT), QStringLiteral("\u03a9\u03bc\u03ad\u03b3\u03b1"));
  EXPECT_EQ(Read("\xef\xbb\xbf" "abc", SF_TEXT), u"abc");
  EXPECT_EQ(Read("\xce\xa9\xff", SF_TEXT), QStringLiteral("\u00ce\u00a9\u00ff"));  // not valid UTF-8
  EXPECT_EQ(Read("\xe2\x82\xac", kUtf8Text), QStringLiteral("\u20ac"));
  // RTF asked for, text given: read as text, as the control does.
  EXPECT_EQ(Read("no rtf\r\nhere", SF_RTF), u"no rtf\rhere");
}

TEST(NoteStreamTest, PlainTextOutKeepsEveryCharacter) {
  NoteDocument note;
  note.ReplaceRange(0, 0, QStringLiteral("caf\u00e9\r\u20ac\fx"), true);
  EXPECT_EQ(StreamOut(note, SF_TEXT), QByteArray("caf\xe9\r\n\x80\fx"));
  note.ReplaceRange(0, 0, QStringLiteral("\u03a9 "), true);
  const QByteArray utf8 = StreamOut(note, SF_TEXT);
  EXPECT_EQ(utf8, QByteArray("\xef\xbb\xbf\xce\xa9 caf\xc3\xa9\r\n\xe2\x82\xac\fx"));
  EXPECT_EQ(StreamOut(note, kUtf8Text), utf8.mid(3));
  EXPECT_EQ(Read(utf8, SF_TEXT), note.GetText(0, -1));
}

TEST(NoteStreamTest, StreamsMoveAtMost4096BytesPerCallInBothDirections) {
  NoteDocument note;
  QString text;
  for (int i = 0; i < 3000; ++i) text += QStringLiteral("line %1\r").arg(i);
  note.ReplaceRange(0, 0, text, true);
  for (const UINT format : {SF_RTF, SF_TEXT}) {
    MemoryStream out;
    EDITSTREAM outStream = out.Out();
    const LONG written = NoteStream::Out(note, format, outStream);
    EXPECT_EQ(written, out.data.size());
    EXPECT_GT(out.offered.size(), 5u);
    for (size_t i = 0; i < out.offered.size(); ++i)
      EXPECT_EQ(out.offered[i], i + 1 < out.offered.size() ? 4096 : written % 4096 ? written % 4096 : 4096);
    EXPECT_EQ(out.data, NoteStream::Encode(*note.Document(), {0, -1}, format));

    MemoryStream in;
    in.data = out.data;
    NoteDocument copy;
    EDITSTREAM inStream = in.In();
    NoteStream::In(copy, format, inStream);
    EXPECT_EQ(inStream.dwError, 0u);
    for (const LONG offered : in.offered) EXPECT_EQ(offered, 4096);
    EXPECT_EQ(in.offered.size(), size_t(out.data.size() / 4096 + 2));  // the last call reads 0
    EXPECT_EQ(copy.GetText(0, -1), note.GetText(0, -1));
  }
}

TEST(NoteStreamTest, ACallbackThatStopsEarlyEndsTheTransferWithItsCode) {
  QByteArray text(20000, 'a');
  MemoryStream in;
  in.data = text;
  in.stopAtCall = 1;
  in.stopCode = 77;
  NoteDocument note;
  EDITSTREAM stream = in.In();
  NoteStream::In(note, SF_TEXT, stream);
  EXPECT_EQ(stream.dwError, 77u);
  EXPECT_EQ(in.offered.size(), 2u);
  EXPECT_EQ(note.GetLength(), 8192);  // what it read is kept

  MemoryStream out;
  out.stopAtCall = 1;
  out.stopCode = 5;
  EDITSTREAM outStream = out.Out();
  EXPECT_EQ(NoteStream::Out(note, SF_TEXT, outStream), 4096);
  EXPECT_EQ(outStream.dwError, 5u);
  EXPECT_EQ(out.offered.size(), 2u);
  // A writer that takes only part of a chunk ends the transfer with an error, not success.
  MemoryStream shortWriter;
  shortWriter.takeAtMost = 1000;
  EDITSTREAM shortStream = shortWriter.Out();
  EXPECT_EQ(NoteStream::Out(note, SF_TEXT, shortStream), 1000);
  EXPECT_EQ(shortStream.dwError, STREAM_E_CORRUPT);
  EXPECT_EQ(shortWriter.offered.size(), 1u);
}

TEST(NoteStreamTest, DetachedStreamInLeavesTheShownDocumentUntilInstalled) {
  NoteDocument note;
  note.ReplaceRange(0, 0, QStringLiteral("shown"), true);
  MemoryStream in;
  in.data = "{\\rtf1\\ansi loaded\\par}";
  EDITSTREAM stream = in.In();
  std::unique_ptr<QTextDocument> detached = NoteStream::InDetached(SF_RTF, stream);
  EXPECT_EQ(note.GetText(0, -1), u"shown");
  EXPECT_EQ(detached->toPlainText(), u"loaded");
  note.Install(std::move(detached));
  EXPECT_EQ(note.GetText(0, -1), u"loaded");
  EXPECT_FALSE(note.IsModified());
  EXPECT_FALSE(note.CanUndo());
}

TEST(NoteStreamTest, ARangeStreamInReplacesTheSelectionInOneUndoStep) {
  NoteDocument note;
  note.ReplaceRange(0, 0, QStringLiteral("keep THIS end"), true);
  note.EmptyUndoBuffer();
  note.SetModified(false);
  note.SetSelection(5, 9);
  EXPECT_EQ(StreamIn(note, "{\\rtf1\\ansi {\\b two}\\par lines}", SFF_SELECTION | SF_RTF), 0u);
  EXPECT_EQ(note.GetText(0, -1), u"keep two\rlines end");
  EXPECT_TRUE(note.IsModified());
  EXPECT_EQ(note.GetSelection().cpMin, 14);
  ASSERT_TRUE(note.Undo());
  EXPECT_EQ(note.GetText(0, -1), u"keep THIS end");
  EXPECT_FALSE(note.CanUndo());
  // A range stream-out writes only the range.
  note.SetSelection(5, 9);
  const QByteArray rtf = StreamOut(note, SFF_SELECTION | SF_RTF);
  EXPECT_TRUE(rtf.contains("THIS"));
  EXPECT_FALSE(rtf.contains("keep"));
  EXPECT_FALSE(rtf.contains("end"));
}
