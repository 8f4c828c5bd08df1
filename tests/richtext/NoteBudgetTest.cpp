// A note made of many pieces, each cheap on its own, must not add up to a stall: its tab work,
// long words and decoded pictures are counted over the whole note. Each hostile case here
// stayed under last round's limits of one paragraph or one word and froze the note window for
// seconds; the counts are the work Qt is left with.

#include "NoteFixtures.h"

#include "richtext/LongWords.h"
#include "richtext/NoteBudget.h"
#include "richtext/NoteDocument.h"
#include "richtext/NoteText.h"
#include "richtext/RichEdit20.h"
#include "tools/NoteFamilies.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextObjectInterface>

#include <gtest/gtest.h>

namespace {

using namespace NoteFamilies;

// The paragraphs shown with stops, and the tab work Qt does for them; every paragraph's
// stored stops and cell boundaries, which are written back.
void CheckTabs(const char* name, const QByteArray& rtf, int shownWithStops) {
  NoteDocument note;
  ASSERT_EQ(StreamIn(note, rtf, SF_RTF), 0u) << name;
  int shown = 0;
  qint64 work = 0;
  for (QTextBlock block = note.Document()->begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().tabPositions().isEmpty()) continue;
    const QString text = block.text();
    const qint64 tabs = text.count(u'\t'), pictures = text.count(QChar(NoteText::ObjectChar));
    ++shown;
    work += NoteBudget::TabWork(tabs, text.size() - tabs - pictures, pictures);
  }
  EXPECT_EQ(shown, shownWithStops) << name;
  EXPECT_LE(work, NoteBudget::TabBudget(note.GetLength())) << name;
  qsizetype stored = 0;
  for (const ParaAttrs& para : Snapshot(*note.Document()).paras) stored += para.tabs.size() + para.cells.size();
  EXPECT_EQ(stored, rtf.count("\\tx") + rtf.count("\\cellx")) << name;
}

// Counts how often Qt asks for a picture's size.
class CountedPictures : public QObject, public QTextObjectInterface {
  Q_OBJECT
  Q_INTERFACES(QTextObjectInterface)

public:
  explicit CountedPictures(QAbstractTextDocumentLayout* layout) : inner_(layout->handlerForObject(QTextFormat::ImageObject)) {
    layout->registerHandler(QTextFormat::ImageObject, this);
  }
  QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override {
    ++asks;
    return inner_->intrinsicSize(document, position, format);
  }
  void drawObject(QPainter*, const QRectF&, QTextDocument*, int, const QTextFormat&) override {}
  int asks = 0;

private:
  QTextObjectInterface* inner_;
};

}  // namespace

// A row of empty cells cost just under one paragraph's limit. Letters are cheap to measure:
// rows of few cells holding long texts keep their boundaries as stops.
TEST(NoteBudgetTest, TablesOfManyRowsShowDefaultStops) {
  CheckTabs("15 rows of 1,000 empty cells (100 KB)", Rows(15, 1000), 0);
  CheckTabs("150 rows of 1,000 empty cells (1 MB)", Rows(150, 1000), 0);
  CheckTabs("2 rows of 300 empty cells", Rows(2, 300), 0);
  CheckTabs("3 rows of 10 cells of 20,000 letters", Rows(3, 10, PlainText(20000)), 3);
}

TEST(NoteBudgetTest, ParagraphsOfManyTabsShowDefaultStops) {
  CheckTabs("24 paragraphs of 32 stops and 1,000 tabs (100 KB)", TabbedParagraphs(24, 32, 1000), 0);
  CheckTabs("236 paragraphs of 32 stops and 1,000 tabs (1 MB)", TabbedParagraphs(236, 32, 1000), 0);
  CheckTabs("4 paragraphs of 32 stops and 30 tabs among 40,000 letters", TabbedParagraphs(4, 32, 30, PlainText(1333)), 4);
  CheckTabs("tabs without stops cost nothing: a table beside them", Join(TabbedParagraphs(24, 0, 1000), Rows(2, 3)), 2);
}

// Qt measures the rest of a word again for every line it fills. A note of many words of up
// to a thousand letters wraps anywhere, as it opens and as it is edited; a few long words,
// or many a line long, do not make it.
TEST(NoteBudgetTest, ManyLongWordsWrapAnywhere) {
  const struct {
    const char* name;
    QByteArray rtf;
    bool anywhere;
  } cases[] = {
      {"99 words of 1,000 letters (100 KB)", Words(99, 1000), true},
      {"999 words of 1,000 letters in one paragraph (1 MB)", Words(999, 1000).replace("\\par\r\n", " "), true},
      {"9,000 words of 100 letters", Words(9000, 100), true},
      {"500 words of 100 letters", Words(500, 100), false},
      {"a thousand words of 64 letters", Words(1000, NoteBudget::LongerThanALine), false},
  };
  for (const auto& c : cases) {
    RichEdit20 editor;
    ASSERT_EQ(StreamIn(editor.Note(), c.rtf, SF_RTF), 0u) << c.name;
    EXPECT_EQ(editor.wordWrapMode() == QTextOption::WrapAnywhere, c.anywhere) << c.name;
  }
  QTextDocument word;
  word.setPlainText(QStringLiteral("a ") + QString(NoteBudget::LongerThanALine + 1, u'w') + QStringLiteral(" b"));
  EXPECT_EQ(LongWords::Work(word.begin()), (NoteBudget::LongerThanALine + 1) * (NoteBudget::LongerThanALine + 1));

  RichEdit20 editor;
  ASSERT_EQ(StreamIn(editor.Note(), Prose(20000), SF_RTF), 0u);
  QTextCursor cursor(editor.document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(QString::fromLatin1((Letters(1000) + ' ').repeated(99)));
  EXPECT_EQ(editor.wordWrapMode(), QTextOption::WrapAnywhere);
  editor.Undo();
  EXPECT_EQ(editor.wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
}

// Qt asks again for the size of each picture after every tab of a row with stops. A note
// decodes pictures within a budget of its size and shows the rest as frames (drawn from a
// one-pixel box); each picture is written back as it came.
TEST(NoteBudgetTest, PicturesInCellsAreAskedForTheirSizeAFewTimes) {
  const QByteArray picture = SolidPicture(1024, 1024);  // 4 MB decoded
  QByteArray ten = picture;
  for (int i = 1; i < 10; ++i) ten = Join(ten, picture);
  const struct {
    const char* name;
    QByteArray rtf;
    int pictures, frames;
  } cases[] = {
      {"2 rows of 300 cells, each holding a picture", PicturesInCells(2, 300), 600, 0},
      {"a row of 10 cells of 200 pictures each", Rows(1, 10, SmallPicture().repeated(200)), 2000, 0},
      {"ten pictures of 4 MB in a small note", ten, 4, 6},
      {"ten pictures of 4 MB after a megabyte of prose", Join(Prose(1000000), ten), 8, 2},
  };
  for (const auto& c : cases) {
    NoteDocument note;
    ASSERT_EQ(StreamIn(note, c.rtf, SF_RTF), 0u) << c.name;
    QTextDocument* document = note.Document();
    int pictures = 0, frames = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
      for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QUrl name(it.fragment().charFormat().toImageFormat().name());
        if (name.isEmpty()) continue;
        const QSize shown = document->resource(QTextDocument::ImageResource, name).value<QImage>().size();
        (shown == QSize(1, 1) ? frames : pictures) += it.fragment().length();
      }
    EXPECT_EQ(pictures, c.pictures) << c.name;
    EXPECT_EQ(frames, c.frames) << c.name;
    CountedPictures counted(document->documentLayout());
    for (const int width : {303, 120}) {
      document->setTextWidth(width);
      document->documentLayout()->documentSize();
    }
    EXPECT_LE(counted.asks, 2 * 4 * (pictures + frames)) << c.name;
    EXPECT_EQ(StreamOut(note, SF_RTF).count("\\pngblip"), pictures + frames) << c.name;
  }
}

// Qt lays a document out as soon as it has a layout and a page size, and again for each
// change of margin or font: a note of one long paragraph was laid out whole four times as it
// opened.
TEST(NoteBudgetTest, ANoteIsLaidOutOnlyOnceItHasAWidth) {
  NoteDocument note;
  ASSERT_EQ(StreamIn(note, Prose(5000), SF_RTF), 0u);
  EXPECT_EQ(note.Document()->begin().layout()->lineCount(), 0);
  note.Document()->setTextWidth(303);
  note.Document()->documentLayout()->documentSize();
  EXPECT_GT(note.Document()->begin().layout()->lineCount(), 1);
}

#include "NoteBudgetTest.moc"
