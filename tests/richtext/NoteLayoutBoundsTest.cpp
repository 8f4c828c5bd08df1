// Notes a player may be sent must lay out in bounded time at every width the note window
// allows and narrower: tall pictures, a long word beside the tallest picture, tables of
// tens of thousands of cells. Pictures are shown fitted to the window; what is stored and
// written back stays as it was.

#include "HostileNotes.h"
#include "NoteFixtures.h"

#include "richtext/LongWords.h"
#include "richtext/NoteDocument.h"
#include "richtext/PictureFit.h"
#include "richtext/RichEdit20.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

// The shown size of the first picture of the document.
QSizeF FirstPictureSize(QTextDocument* document) {
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().isImageFormat())
        return document->documentLayout()
            ->handlerForObject(QTextFormat::ImageObject)
            ->intrinsicSize(document, it.fragment().position(), it.fragment().charFormat());
  return {};
}

// Lays the editor's text out at this window width; the time it took in milliseconds.
qint64 LayOutAt(RichEdit20& editor, int width) {
  QElapsedTimer timer;
  timer.start();
  editor.resize(width, 218);
  EXPECT_GT(editor.document()->documentLayout()->documentSize().height(), 0) << width;
  return timer.elapsed();
}

// True when every line of the paragraph after its first starts after a space.
bool BreaksAtSpaces(const QTextBlock& block) {
  const QTextLayout* layout = block.layout();
  for (int i = 1; i < layout->lineCount(); ++i)
    if (block.text().at(layout->lineAt(i).textStart() - 1) != u' ') return false;
  return layout->lineCount() > 1;
}

}  // namespace

TEST(NoteLayoutBoundsTest, OnlyAWordPastTheLimitIsLong) {
  QTextDocument document;
  const QString at(LongWords::MaxWord, u'a');
  const QString half(LongWords::MaxWord / 2 + 100, u'b');
  const struct {
    QString text;
    bool isLong;
  } cases[] = {
      {at, false},
      {at + u'a', true},
      {QStringLiteral("x ") + at + u'a', true},                        // last in its paragraph
      {at + u'a' + QStringLiteral(" x"), true},                       // first
      {at + u' ' + at + u' ' + at, false},                             // many words at the limit
      {half + u'-' + half, false},                                     // a hyphen lets the line break
      {QString(LongWords::MaxWord / 3 * 4, QChar(0x4E00)), false},     // ideographs break anywhere
  };
  for (const auto& c : cases) {
    document.setPlainText(c.text);
    EXPECT_EQ(LongWords::HasLongWord(document.begin()), c.isLong) << c.text.size();
    document.setPlainText(QStringLiteral("first\n") + c.text + QStringLiteral("\nlast"));
    EXPECT_EQ(LongWords::WrapsAnywhere(document), c.isLong) << c.text.size();
    EXPECT_EQ(LongWords::WrapMode(document),
              c.isLong ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere);
  }
}

// Qt measures the rest of a word again for every line it fills: a note of one word of a
// million letters took minutes in the editor at any width the note window allows.
TEST(NoteLayoutBoundsTest, AMillionLetterWordLaysOutInTheEditor) {
  RichEdit20 editor;
  editor.resize(303, 218);
  editor.show();
  QElapsedTimer timer;
  timer.start();
  ASSERT_EQ(StreamIn(editor.Note(), HostileNotes::OneWord(1000000), SF_RTF), 0u);
  EXPECT_LT(timer.elapsed(), 60000);
  for (const int width : {150, 303, 836}) {
    EXPECT_LT(LayOutAt(editor, width), 60000) << width;
    const QTextLayout* layout = editor.document()->begin().layout();
    const int room = editor.viewport()->width();
    EXPECT_GT(layout->lineCount(), 1000000 * 4 / room) << width;  // letters are wider than 4 pixels
    for (int i = 0; i < layout->lineCount(); i += 997) EXPECT_LE(layout->lineAt(i).naturalTextWidth(), room) << width;
  }
}

// A long word typed or pasted into a note is broken anywhere at once; ordinary words wrap at
// their boundaries before and after it.
TEST(NoteLayoutBoundsTest, OrdinaryWordsKeepWrappingAtSpaces) {
  RichEdit20 editor;
  editor.resize(303, 218);
  editor.show();
  QByteArray words;
  for (int i = 0; i < 40; ++i) words += "harbour boats ";
  const QByteArray longest(LongWords::MaxWord, 'q');
  ASSERT_EQ(StreamIn(editor.Note(), "{\\rtf1 " + words + "\\par " + longest + "}", SF_RTF), 0u);
  LayOutAt(editor, 303);
  QTextDocument* document = editor.document();
  EXPECT_TRUE(BreaksAtSpaces(document->begin()));
  const QTextBlock word = document->begin().next();
  EXPECT_GT(word.layout()->lineCount(), 5);  // the longest word still breaks where it must
  for (int i = 0; i < word.layout()->lineCount(); ++i)
    EXPECT_LE(word.layout()->lineAt(i).naturalTextWidth(), editor.viewport()->width());

  QTextCursor cursor(document);
  cursor.movePosition(QTextCursor::End);
  QElapsedTimer timer;
  timer.start();
  cursor.insertText(QString(1000000, u'z'));
  EXPECT_LT(LayOutAt(editor, 303) + timer.elapsed(), 60000);
  editor.Undo();
  LayOutAt(editor, 310);
  EXPECT_TRUE(BreaksAtSpaces(document->begin()));

  // A paste of several paragraphs is searched to its end, not only where it began.
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(QStringLiteral("\ncalm\n") + QString(LongWords::MaxWord + 1, u'y'));
  EXPECT_EQ(editor.wordWrapMode(), QTextOption::WrapAnywhere);
}

TEST(NoteLayoutBoundsTest, FitKeepsProportionsWithinTheRoom) {
  const struct {
    QSizeF natural;
    double width, height;
    QSizeF shown;
  } cases[] = {
      {{400, 300}, 800, 600, {400, 300}},    // fits already: unchanged
      {{1000, 500}, 250, 600, {250, 125}},   // too wide
      {{100, 4000}, 250, 400, {10, 400}},    // too tall
      {{2000, 4000}, 500, 400, {200, 400}},  // both: the tighter side decides
      {{1, 32767}, 120, 2048, {1, 2048}},    // a sliver keeps a pixel of width
      {{32767, 1}, 120, 2048, {120, 1}},
      {{5000, 300}, 0, 0, {5000, 300}},      // no room given: no limit
  };
  for (const auto& c : cases) EXPECT_EQ(PictureFit::Fit(c.natural, c.width, c.height), c.shown) << c.natural.width();
}

// Each of these never finished its layout, or took tens of seconds, at some width. The
// heights bound what Qt had to place; the time limit is loose for sanitizer builds.
TEST(NoteLayoutBoundsTest, HostileNotesLayOutAtEveryWidth) {
  const struct {
    const char* name;
    QByteArray rtf;
    double maxHeight;
  } cases[] = {
      {"260 tall slivers", HostileNotes::TallPictures(260), 260 * (PictureFit::MaxRoomHeight + 40)},
      {"260 tall and wide", HostileNotes::TallPictures(260, 491505, 491505), 260 * (PictureFit::MaxRoomHeight + 40)},
      {"long word and tallest picture", HostileNotes::LongWordBesidePicture(10000), 2e6},
      {"one row of 30,000 cells", HostileNotes::Table(1, 30000), 2e6},
      {"3,000 rows of 10 cells", HostileNotes::Table(3000, 10), 2e6},
  };
  for (const auto& c : cases) {
    NoteDocument note;
    ASSERT_EQ(StreamIn(note, c.rtf, SF_RTF), 0u) << c.name;
    QTextDocument* document = note.Document();
    for (const int width : {120, 200, 267, 360, 800}) {
      QElapsedTimer timer;
      timer.start();
      document->setTextWidth(width);
      const double height = document->documentLayout()->documentSize().height();
      EXPECT_GT(height, 0) << c.name << " at " << width;
      EXPECT_LT(height, c.maxHeight) << c.name << " at " << width;
      EXPECT_LT(timer.elapsed(), 20000) << c.name << " at " << width;
      EXPECT_LE(FirstPictureSize(document).width(), width) << c.name << " at " << width;
    }
  }
}

// Qt measures the rest of a paragraph at every tab that has stops: a row of many cells
// drops its stops on screen, an ordinary row keeps its cell boundaries as stops, and both
// write back their boundaries.
TEST(NoteLayoutBoundsTest, OnlyAParagraphOfManyTabsLosesItsStopsOnScreen) {
  NoteDocument note;
  ASSERT_EQ(StreamIn(note, HostileNotes::Join(HostileNotes::Table(1, 30000), HostileNotes::Table(2, 3)), SF_RTF), 0u);
  const QTextBlock huge = note.Document()->begin();
  EXPECT_TRUE(huge.blockFormat().tabPositions().isEmpty());
  EXPECT_EQ(huge.next().blockFormat().tabPositions().size(), 3);
  const QByteArray written = StreamOut(note, SF_RTF);
  EXPECT_EQ(written.count("\\cellx"), 64 + 2 * 3);  // a row keeps its first 64 boundaries
  EXPECT_TRUE(written.contains("\\cellx2000\\cellx3000\\"));
}

// The pictures are shown small; their groups are written back byte for byte.
TEST(NoteLayoutBoundsTest, ShownSizesNeverReachWhatIsWritten) {
  const QByteArray rtf = HostileNotes::Join(HostileNotes::TallPictures(3000, 491505, 8000), HostileNotes::LongWordBesidePicture(20));
  NoteDocument note;
  ASSERT_EQ(StreamIn(note, rtf, SF_RTF), 0u);
  const QByteArray written = StreamOut(note, SF_RTF);
  EXPECT_EQ(written.count("{\\pict\\wmetafile8\\picwgoal8000\\pichgoal491505 010009000003}"), 3000);
  EXPECT_EQ(written.count("{\\pict\\wmetafile8\\pichgoal2147483648 010009000003}"), 1);
  // So many tall pictures would pass the height Qt can place: they are shown as small as letters.
  note.Document()->setTextWidth(300);
  EXPECT_LE(FirstPictureSize(note.Document()).height(), 32);
}

// In the editor a picture fits the text area's width and height, and follows the window.
TEST(NoteLayoutBoundsTest, TheEditorFitsPicturesToItsWindow) {
  RichEdit20 editor;
  editor.resize(303, 218);
  editor.show();
  ASSERT_EQ(StreamIn(editor.Note(), HostileNotes::TallPictures(1, 491505, 491505), SF_RTF), 0u);
  QTextDocument* document = editor.document();
  const auto fits = [&] {
    const QSizeF shown = FirstPictureSize(document);
    // As laid out, not only as the handler would answer now.
    EXPECT_NEAR(document->documentLayout()->blockBoundingRect(document->begin()).height(), shown.height(), 30);
    EXPECT_LE(shown.width(), editor.viewport()->width());
    EXPECT_LE(shown.height(), editor.viewport()->height());
    EXPECT_NEAR(shown.width(), shown.height(), 1);  // a square stays square
    return shown;
  };
  const QSizeF small = fits();
  EXPECT_GT(small.height(), 100);
  editor.resize(303, 600);  // taller only: the picture grows with the room
  EXPECT_GT(fits().height(), small.height());
  editor.resize(800, 218);
  EXPECT_NEAR(fits().height(), small.height(), 1);
}

// A picture between the old and the new room is laid out again when the window shrinks below
// it, and a note opened in a window wider than tall fits the window's height.
TEST(NoteLayoutBoundsTest, APictureFollowsTheWindowsHeight) {
  const QByteArray note = HostileNotes::TallPictures(1, 400 * 15, 100 * 15);  // 100 x 400 pixels
  RichEdit20 editor;
  editor.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);  // the text's width stays
  editor.resize(303, 600);
  editor.show();
  ASSERT_EQ(StreamIn(editor.Note(), note, SF_RTF), 0u);
  QTextDocument* document = editor.document();
  const auto laidOut = [&] { return document->documentLayout()->blockBoundingRect(document->begin()).height(); };
  EXPECT_NEAR(laidOut(), 400, 30);
  editor.resize(303, 218);
  EXPECT_LE(laidOut(), editor.viewport()->height() + 30);
  EXPECT_LE(FirstPictureSize(document).height(), editor.viewport()->height());

  editor.resize(800, 218);
  ASSERT_EQ(StreamIn(editor.Note(), note, SF_RTF), 0u);
  document = editor.document();
  EXPECT_LE(FirstPictureSize(document).height(), editor.viewport()->height());
  EXPECT_LE(laidOut(), editor.viewport()->height() + 30);
}
