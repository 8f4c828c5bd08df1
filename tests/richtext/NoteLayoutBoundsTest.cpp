// Notes a player may be sent must lay out in bounded time at every width the note window
// allows and narrower: tall pictures, a long word beside the tallest picture, tables of
// tens of thousands of cells. Pictures are shown fitted to the window; what is stored and
// written back stays as it was.

#include "HostileNotes.h"
#include "NoteFixtures.h"

#include "richtext/NoteDocument.h"
#include "richtext/PictureFit.h"
#include "richtext/RichEdit20.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QTextBlock>
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

}  // namespace

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
