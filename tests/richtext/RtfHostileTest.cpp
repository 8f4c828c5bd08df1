// Notes come from puzzle files and the clipboard: hostile RTF must end in a bounded
// document or a reported error, never a crash, a hang or unbounded memory.

#include "NoteFixtures.h"

#include "richtext/KeptGroup.h"
#include "richtext/NoteFormat.h"
#include "richtext/NoteDocument.h"
#include "richtext/NoteStream.h"
#include "richtext/RtfReader.h"
#include "Yelk/TMsgLog.h"

#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

struct Outcome {
  QString text;
  DWORD error = 0;
};

Outcome Load(const QByteArray& rtf, const NoteStreamLimits& limits = NoteStreamLimits()) {
  NoteDocument note;
  MemoryStream memory;
  memory.data = rtf;
  EDITSTREAM stream = memory.In();
  NoteStream::In(note, SF_RTF, stream, limits);
  return {note.GetText(0, -1), stream.dwError};
}

QByteArray Repeat(const char* piece, int times) { return QByteArray(piece).repeated(times); }

}  // namespace

TEST(RtfHostileTest, UnbalancedBracesEitherWay) {
  EXPECT_EQ(Load("{\\rtf1 abc}}}}} def").text, u"abc");
  EXPECT_EQ(Load("{\\rtf1 {{{\\b abc").text, u"abc");
  EXPECT_EQ(Load("{\\rtf1 }").text, u"");
  EXPECT_EQ(Load("{\\rtf1").text, u"");
}

TEST(RtfHostileTest, DeepNestingIsSkippedWithOneLogLine) {
  const qsizetype linesBefore = TMsgLog::Lines().size();
  const Outcome closed = Load("{\\rtf1 a" + Repeat("{", 100000) + "x" + Repeat("}", 100000) + "b}");
  EXPECT_EQ(closed.text, u"ab");
  EXPECT_EQ(closed.error, 0u);
  EXPECT_EQ(Load("{\\rtf1 a" + Repeat("{\\b ", 100000) + "x").text, u"a");
  EXPECT_LE(TMsgLog::Lines().size() - linesBefore, 2);
  // Inside the cap nothing is lost.
  EXPECT_EQ(Load("{\\rtf1 " + Repeat("{", 900) + "deep" + Repeat("}", 900) + "}").text, u"deep");
}

TEST(RtfHostileTest, CountsAndParametersOutOfRange) {
  // A binary block longer than the data: an error, and what came before it stays.
  const Outcome bin = Load("{\\rtf1 before{\\pict\\bin999999999 xyz}}");
  EXPECT_EQ(bin.error, STREAM_E_CORRUPT);
  EXPECT_EQ(bin.text, u"before");
  // Odd hex digits, a cut-off escape, a word of 40 letters with a 20-digit parameter.
  EXPECT_EQ(Load("{\\rtf1 a\\'4g\\'\\'zz\\" + Repeat("w", 40) + "99999999999999999999 b\\").text,
            u"agzzb");
  // \u outside the characters a document may hold; \uc beyond 16 is 16.
  const Outcome u = Load("{\\rtf1 \\u-1?\\u-4?\\u65532?\\u64976?\\u-10179?x\\uc99\\u937 abcdefghijklmnopqrstuvwxyz}");
  EXPECT_EQ(u.text, QStringLiteral("\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDx\u03A9qrstuvwxyz"));
  EXPECT_FALSE(u.text.contains(QChar(0xFFFC)));
  // Shown sizes stay within a side of 32767 pixels.
  const auto document = ReadRtf("{\\rtf1 {\\pict\\picw1000000000\\pich-5\\picscalex2147483647 00}"
                                "{\\pict\\picwgoal2147483647\\pichgoal2147483647 00}}");
  QTextCursor cursor(document.get());
  for (const int position : {1, 2}) {
    cursor.setPosition(position);
    const QSize size = KeptGroup::Size(cursor.charFormat());
    EXPECT_TRUE(size.width() >= 1 && size.width() <= 32767 && size.height() >= 1 && size.height() <= 32767)
        << size.width() << "x" << size.height();
  }
}

TEST(RtfHostileTest, TablesAreCapped) {
  QByteArray fonts = "{\\rtf1\\deff0{\\fonttbl";
  for (int i = 0; i < 40000; ++i) fonts += "{\\f" + QByteArray::number(i) + " Face" + QByteArray::number(i) + ";}";
  fonts += "}{\\colortbl;" + Repeat("\\red1\\green2\\blue3;", 40000) + "}";
  const auto document = ReadRtf(fonts + "{\\f100 a}{\\f39999 b}{\\cf39999 c}}");
  const NoteSnapshot snap = Snapshot(*document);
  ASSERT_EQ(snap.text, u"abc");
  EXPECT_EQ(snap.chars[0].face, u"Face100");
  EXPECT_EQ(snap.chars[1].face, u"Face0");  // past the cap: the default font
  EXPECT_FALSE(snap.chars[2].hasColor);
}

TEST(RtfHostileTest, AStreamOverTheDocumentCapsInsertsNothing) {
  NoteStreamLimits limits;
  limits.maxPositions = 1000;
  const Outcome chars = Load("{\\rtf1 " + QByteArray(2000, 'a') + "}", limits);
  EXPECT_EQ(chars.error, STREAM_E_TOO_LARGE);
  EXPECT_EQ(chars.text, u"");
  limits = NoteStreamLimits();
  limits.maxStreamBytes = 10000;
  const Outcome bytes = Load("{\\rtf1 " + QByteArray(20000, 'a') + "}", limits);
  EXPECT_EQ(bytes.error, STREAM_E_TOO_LARGE);
  EXPECT_EQ(bytes.text, u"");
  // Into a range: the shown text stays as it was.
  NoteDocument note;
  note.ReplaceRange(0, 0, QStringLiteral("kept"), true);
  MemoryStream memory;
  memory.data = "{\\rtf1 " + QByteArray(2000, 'a') + "}";
  EDITSTREAM stream = memory.In();
  limits = NoteStreamLimits();
  limits.maxPositions = 1000;
  EXPECT_EQ(NoteStream::In(note, SFF_SELECTION | SF_RTF, stream, limits), 0);
  EXPECT_EQ(stream.dwError, STREAM_E_TOO_LARGE);
  EXPECT_EQ(note.GetText(0, -1), u"kept");
  // The real caps hold a realistic note by far.
  EXPECT_EQ(RtfReader::MaxPositions, 16 * 1024 * 1024);
}

// Qt's layout never returned for these: lines of huge letters or spacing, a few dozen of
// them wrapped, or a few thousand paragraphs, take the document past what it can place.
// They lay out at once and keep the formats they store.
TEST(RtfHostileTest, HugeLettersAndSpacingLayOutAtOnceAndKeepTheirFormats) {
  const QByteArray words = Repeat("alpha beta gamma delta epsilon zeta eta theta iota ", 4);
  const struct {
    const char* name;
    QByteArray rtf;
    int sizeTwips, lineSpacing, spaceBefore;
  } cases[] = {
      {"letters and lines", "{\\rtf1\\fs8364 " + words + "\\sl83648\\slmult1 " + words + "}", 32760, 31680, 0},
      {"exact spacing", "{\\rtf1\\sl-63360 " + Repeat("a\\par ", 2100) + "}", 240, -31680, 0},
      {"space before", "{\\rtf1\\sb90000 " + Repeat("a\\par ", 4100) + "}", 240, 0, 31680},
      {"large letters", "{\\rtf1\\fs1000 " + Repeat("a\\par ", 13000) + "}", 10000, 0, 0},
  };
  for (const auto& c : cases) {
    NoteDocument note;
    MemoryStream memory;
    memory.data = c.rtf;
    EDITSTREAM stream = memory.In();
    NoteStream::In(note, SF_RTF, stream);
    QTextDocument* document = note.Document();
    document->setTextWidth(300);
    QElapsedTimer timer;
    timer.start();
    EXPECT_GT(document->size().height(), 0) << c.name;
    EXPECT_LT(timer.elapsed(), 1000) << c.name;
    const QTextBlock first = document->begin();
    EXPECT_EQ(first.blockFormat().intProperty(NoteProperty::LineSpacing), c.lineSpacing) << c.name;
    EXPECT_EQ(first.blockFormat().intProperty(NoteProperty::SpaceBefore), c.spaceBefore) << c.name;
    EXPECT_EQ(first.begin().fragment().charFormat().intProperty(NoteProperty::SizeTwips), c.sizeTwips) << c.name;
  }
}

// A long note with a large title is no hazard: its title keeps its size on the screen.
TEST(RtfHostileTest, ALongNoteKeepsTheSizeOfItsTitle) {
  NoteDocument note;
  MemoryStream memory;
  memory.data = "{\\rtf1{\\fs144 Title}\\par " + Repeat("word ", 25000) + "}";
  EDITSTREAM stream = memory.In();
  NoteStream::In(note, SF_RTF, stream);
  EXPECT_EQ(note.Document()->begin().begin().fragment().charFormat().fontPointSize(), 72);
}
