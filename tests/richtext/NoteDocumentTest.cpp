// The position model: what the editor's clients count on when they ask for lengths, texts
// and ranges, and what a replacement does to the text, undo and the modified flag.

#include "NoteFixtures.h"

#include "richtext/NoteDocument.h"
#include "richtext/NoteText.h"

#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

// Paragraphs, a line break, a form feed, a picture and a character outside Windows-1252.
const QByteArray kMixed =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\\viewkind4\\uc1\\pard "
    "One\\par Two\\line three\\page Four{\\pict\\wmetafile8\\picw10\\pich10 0102}\\par \\u937\\'3f\\f0\\par }";

}  // namespace

TEST(NoteDocumentTest, PositionsLengthAndBothTextFormsCountTheControlsWay) {
  NoteDocument note;
  ASSERT_EQ(StreamIn(note, kMixed, SF_RTF), 0u);
  const QString expected = QStringLiteral("One\rTwo\vthree\fFour") + QChar(0xFFFC) + u'\r' + QChar(0x03A9);
  EXPECT_EQ(note.GetLength(), expected.size());
  EXPECT_EQ(note.GetText(0, -1), expected);
  EXPECT_EQ(note.GetText(4, 7), u"Two");
  EXPECT_EQ(note.GetText(18, 20), QString(QChar(0xFFFC)) + u'\r');
  EXPECT_EQ(note.GetText(19, 1000), QStringLiteral("\r") + QChar(0x03A9));
  EXPECT_EQ(note.GetText(5, 2), QString());  // a reversed range is empty
  // One byte per position: the picture as 0x01, what the page lacks as '?'.
  EXPECT_EQ(note.GetTextCp1252(0, -1), QByteArray("One\rTwo\vthree\fFour\x01\r?"));
  EXPECT_EQ(note.GetTextCp1252(0, -1).size(), note.GetLength());
}

TEST(NoteDocumentTest, Windows1252MapsBothWaysWithQuestionMarksForTheRest) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
  EXPECT_EQ(NoteText::EncodeCp1252(NoteText::DecodeCp1252(all)), all);
  EXPECT_EQ(NoteText::DecodeCp1252("\x80\x9f"), QStringLiteral("\u20AC\u0178"));
  EXPECT_EQ(NoteText::EncodeCp1252(QStringLiteral("\u20AC\u0178\u03A9\u4E2D")), QByteArray("\x80\x9f??"));
}

TEST(NoteDocumentTest, ReplacingTextMakesParagraphsLineBreaksAndKeepsFormFeeds) {
  NoteDocument note;
  EXPECT_EQ(note.ReplaceRange(0, 0, QStringLiteral("a\rb\nc\r\nd\ve\ff"), true), 11);
  EXPECT_EQ(note.GetText(0, -1), QStringLiteral("a\rb\rc\rd\ve\ff"));
  EXPECT_EQ(note.Document()->blockCount(), 4);
  EXPECT_TRUE(note.IsModified());
  // A replacement in the middle is one undo step; undo gives back the text before it.
  note.ReplaceRange(2, 5, QStringLiteral("XY\rZ"), true);
  EXPECT_EQ(note.GetText(0, -1), QStringLiteral("a\rXY\rZ\rd\ve\ff"));
  ASSERT_TRUE(note.Undo());
  EXPECT_EQ(note.GetText(0, -1), QStringLiteral("a\rb\rc\rd\ve\ff"));
  ASSERT_TRUE(note.Redo());
  EXPECT_EQ(note.GetText(0, -1), QStringLiteral("a\rXY\rZ\rd\ve\ff"));
  // Without an undo step the history goes: its positions would no longer hold.
  note.ReplaceRange(0, 1, QStringLiteral("q"), false);
  EXPECT_FALSE(note.CanUndo());
  EXPECT_FALSE(note.CanRedo());
  // Nothing from outside may pose as a picture or as Qt's frame marks.
  note.ReplaceRange(0, -1, QString(QChar(0xFFFC)) + QChar(0xFDD0) + u'x', true);
  EXPECT_EQ(note.GetText(0, -1), QStringLiteral("\uFFFD\uFFFDx"));
}

TEST(NoteDocumentTest, TextLimitModeAndModifiedFlag) {
  NoteDocument note;
  note.SetTextLimit(10);
  EXPECT_EQ(note.ReplaceRange(0, 0, QStringLiteral("0123456789abcdef"), true), 10);
  EXPECT_EQ(note.ReplaceRange(10, 10, QStringLiteral("x"), true), 0);
  EXPECT_EQ(note.ReplaceRange(0, 5, QStringLiteral("\r\nxyzuvw"), true), 5);  // CRLF counts once
  EXPECT_EQ(note.GetLength(), 10);
  // The text mode changes only while the document is empty.
  EXPECT_FALSE(note.SetTextMode(TM_PLAINTEXT));
  EXPECT_EQ(note.GetTextMode() & TM_RICHTEXT, TM_RICHTEXT);
  note.SetModified(false);
  EXPECT_FALSE(note.IsModified());
  note.ReplaceRange(0, -1, QString(), true);
  EXPECT_TRUE(note.SetTextMode(TM_PLAINTEXT));
  EXPECT_EQ(note.GetTextMode() & (TM_PLAINTEXT | TM_RICHTEXT), TM_PLAINTEXT);
}

TEST(NoteDocumentTest, WholeDocumentStreamInIsUnmodifiedWithNothingToUndo) {
  NoteDocument note;
  note.ReplaceRange(0, 0, QStringLiteral("typed"), true);
  note.SetSelection(2, 4);
  QTextDocument* replaced = nullptr;
  QObject::connect(&note, &NoteDocument::DocumentReplaced, [&](QTextDocument* d) { replaced = d; });
  ASSERT_EQ(StreamIn(note, kMixed, SF_RTF), 0u);
  EXPECT_EQ(replaced, note.Document());
  EXPECT_FALSE(note.IsModified());
  EXPECT_FALSE(note.CanUndo());
  EXPECT_FALSE(note.CanRedo());
  EXPECT_EQ(note.GetSelection().cpMin, 0);
  EXPECT_EQ(note.GetSelection().cpMax, 0);
}
