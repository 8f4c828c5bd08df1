// A note made of many pieces, each cheap on its own, must not add up to a stall: its tab work,
// long words and decoded pictures are counted over the whole note. Each case here stayed
// under last round's limits of one paragraph or one word and froze the note window for
// seconds; the counts below are the work Qt is left with.

#include "HostileNotes.h"
#include "NoteFixtures.h"

#include "richtext/LongWords.h"
#include "richtext/NoteBudget.h"
#include "richtext/NoteDocument.h"
#include "richtext/NoteText.h"
#include "richtext/RichEdit20.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextObjectInterface>

#include <gtest/gtest.h>

namespace {

using namespace HostileNotes;

// The tab work Qt is left with: every paragraph shown with stops, counted as Qt meets it.
struct Tabbed {
  int paragraphs = 0;
  qint64 work = 0;
};

Tabbed ShownTabs(const QTextDocument& document) {
  Tabbed shown;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().tabPositions().isEmpty()) continue;
    const QString text = block.text();
    const qint64 tabs = text.count(u'\t'), pictures = text.count(QChar(NoteText::ObjectChar));
    ++shown.paragraphs;
    shown.work += NoteBudget::TabWork(tabs, text.size() - tabs - pictures, pictures);
  }
  return shown;
}

struct TabCase {
  const char* name;
  QByteArray rtf;
  int shownWithStops;
};

// Shown as expected, within the budget, and stored with every stop and cell boundary.
void CheckTabs(const TabCase& c) {
  NoteDocument note;
  ASSERT_EQ(StreamIn(note, c.rtf, SF_RTF), 0u) << c.name;
  const Tabbed shown = ShownTabs(*note.Document());
  EXPECT_EQ(shown.paragraphs, c.shownWithStops) << c.name;
  EXPECT_LE(shown.work, NoteBudget::TabBudget(note.GetLength())) << c.name;
  qsizetype stored = 0;
  for (const ParaAttrs& para : Snapshot(*note.Document()).paras) stored += para.tabs.size() + para.cells.size();
  EXPECT_EQ(stored, c.rtf.count("\\tx") + c.rtf.count("\\cellx")) << c.name;
}

// Asks the document's picture handler for each size, counting the asks: Qt asks again for
// every picture after each tab of a paragraph with stops.
class CountedPictures : public QObject, public QTextObjectInterface {
  Q_OBJECT
  Q_INTERFACES(QTextObjectInterface)

public:
  explicit CountedPictures(QTextDocument* document)
      : inner_(document->documentLayout()->handlerForObject(QTextFormat::ImageObject)) {
    document->documentLayout()->registerHandler(QTextFormat::ImageObject, this);
  }
  int asks = 0;

  QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override {
    ++asks;
    return inner_->intrinsicSize(document, position, format);
  }
  void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                  const QTextFormat& format) override {
    inner_->drawObject(painter, rect, document, position, format);
  }

private:
  QTextObjectInterface* inner_;
};

// Pictures shown decoded, and frames: a frame is drawn from a one-pixel grey box. Frames of
// the same picture side by side share a fragment.
std::pair<int, int> PicturesAndFrames(const QTextDocument& document) {
  int pictures = 0, frames = 0;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      if (!format.isImageFormat()) continue;
      const QImage shown = document.resource(QTextDocument::ImageResource, QUrl(format.toImageFormat().name())).value<QImage>();
      (shown.size() == QSize(1, 1) ? frames : pictures) += it.fragment().length();
    }
  return {pictures, frames};
}

}  // namespace

// A row of empty cells measured just under one paragraph's limit; a hundred of them froze
// the window. Letters are cheap to measure: a row of few cells holding long texts keeps its
// cell boundaries as stops.
TEST(NoteBudgetTest, TablesOfManyRowsShowDefaultStops) {
  const TabCase cases[] = {
      {"15 rows of 1,000 empty cells (100 KB)", Rows(15, 1000), 0},
      {"150 rows of 1,000 empty cells (1 MB)", Rows(150, 1000), 0},
      {"3 rows of 10 cells of 20,000 letters", Rows(3, 10, PlainText(20000)), 3},
  };
  for (const TabCase& c : cases) CheckTabs(c);
}

TEST(NoteBudgetTest, ParagraphsOfManyTabsShowDefaultStops) {
  const TabCase cases[] = {
      {"24 paragraphs of 32 stops and 1,000 tabs (100 KB)", TabbedParagraphs(24, 32, 1000), 0},
      {"236 paragraphs of 32 stops and 1,000 tabs (1 MB)", TabbedParagraphs(236, 32, 1000), 0},
      {"4 paragraphs of 32 stops and 30 tabs among 40,000 letters", TabbedParagraphs(4, 32, 30, PlainText(1333)), 4},
  };
  for (const TabCase& c : cases) CheckTabs(c);
}

// Qt measures the rest of a word again for every line it fills. A note of many words each of
// at most a thousand letters wraps anywhere, in the window as it opens and as it is edited.
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
      {"a thousand words of 64 letters", Words(1000, 64), false},
  };
  for (const auto& c : cases) {
    RichEdit20 editor;
    ASSERT_EQ(StreamIn(editor.Note(), c.rtf, SF_RTF), 0u) << c.name;
    EXPECT_EQ(editor.wordWrapMode() == QTextOption::WrapAnywhere, c.anywhere) << c.name;
  }
  // Letters are counted squared, from a word longer than the narrowest line.
  QTextDocument words;
  for (const int letters : {NoteBudget::LongerThanALine, NoteBudget::LongerThanALine + 1}) {
    words.setPlainText(QStringLiteral("a ") + QString(letters, u'w') + QStringLiteral(" b"));
    EXPECT_EQ(LongWords::Work(words.begin()), letters > NoteBudget::LongerThanALine ? qint64(letters) * letters : 0);
  }

  // A paste of many long words, and its undo.
  RichEdit20 editor;
  ASSERT_EQ(StreamIn(editor.Note(), Prose(20000), SF_RTF), 0u);
  QTextCursor cursor(editor.document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(QString::fromLatin1((Letters(1000) + ' ').repeated(99)));
  EXPECT_EQ(editor.wordWrapMode(), QTextOption::WrapAnywhere);
  editor.Undo();
  EXPECT_EQ(editor.wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
}

// A picture in a cell is measured again for every tab before it in its row; a note decodes
// pictures within a budget of its size, and shows the rest as frames. Every picture is
// written back as it came.
TEST(NoteBudgetTest, PicturesInCellsAreAskedForTheirSizeAFewTimes) {
  const QByteArray picture = SolidPicture(1024, 1024);
  QByteArray tenPictures = picture;
  for (int i = 1; i < 10; ++i) tenPictures = Join(tenPictures, picture);
  const struct {
    const char* name;
    QByteArray rtf;
    int pictures, frames;
  } cases[] = {
      {"2 rows of 300 cells, each holding a picture", PicturesInCells(2, 300), 600, 0},
      {"ten pictures of 4 MB in a small note", tenPictures, 4, 6},
      {"ten pictures of 4 MB after a megabyte of prose", Join(Prose(1000000), tenPictures), 8, 2},
  };
  for (const auto& c : cases) {
    NoteDocument note;
    ASSERT_EQ(StreamIn(note, c.rtf, SF_RTF), 0u) << c.name;
    QTextDocument* document = note.Document();
    EXPECT_EQ(PicturesAndFrames(*document), std::make_pair(c.pictures, c.frames)) << c.name;
    CountedPictures counted(document);
    for (const int width : {303, 120}) {
      document->setTextWidth(width);
      document->documentLayout()->documentSize();
    }
    EXPECT_LE(counted.asks, 2 * 4 * (c.pictures + c.frames)) << c.name;
    EXPECT_EQ(StreamOut(note, SF_RTF).count("\\pngblip"), c.pictures + c.frames) << c.name;
  }
}

// Qt lays a document out as soon as it has a layout and a page size, and again for each
// change of margin or font: a note of one long paragraph was laid out whole four times as
// it opened.
TEST(NoteBudgetTest, ANoteIsLaidOutOnlyOnceItHasAWidth) {
  NoteDocument note;
  ASSERT_EQ(StreamIn(note, Prose(5000), SF_RTF), 0u);
  EXPECT_EQ(note.Document()->begin().layout()->lineCount(), 0);
  note.Document()->setTextWidth(303);
  note.Document()->documentLayout()->documentSize();
  EXPECT_GT(note.Document()->begin().layout()->lineCount(), 1);
}

#include "NoteBudgetTest.moc"
