// Find, replace and the text queries on a real editor: matches across window borders in
// both directions, an abort and Esc during a search, replace-all as one undo step, the
// end limit under longer and shorter replacements, plain-text indent, word counts across
// blocks and blocks that follow edits.

#include "QtTestMain.h"
#include "Yelk/AbortRegister.h"
#include "Yelk/EventLoopWatch.h"
#include "Yelk/HourGlass.h"
#include "richtext/BlockIterator.h"
#include "richtext/RichEdit20.h"
#include "richtext/RichParagraph.h"

#include <QKeyEvent>
#include <QTimer>

namespace {

QString Text(RichEdit20& editor) { return editor.Note().GetText(0, -1); }

struct Shown {
  RichEdit20 editor;
  Shown() {
    editor.resize(400, 300);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
  }
};

// Counts the keys that reach the editor.
struct KeyCounter : QObject {
  int keys = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) ++keys;
    return false;
  }
};

}  // namespace

class FindReplaceQTest : public QObject {
  Q_OBJECT

private slots:
  void FindAcrossBordersAndStops();
  void ReplaceAllIsOneStepAndKeepsToItsRange();
  void PlainIndentAndOutdent();
  void Queries();
};

void FindReplaceQTest::FindAcrossBordersAndStops() {
  Shown shown;
  RichEdit20& editor = shown.editor;
  const QString target = QString(299, u'q') + u'Z';
  QString text = QString(1021, u'c') + QStringLiteral("aaaab") + QString(1500, u'c') + target + QStringLiteral(" x");
  editor.SetText(text, true);
  QCOMPARE(editor.FindText(QStringLiteral("aaab"), 0, true, true, false, true, -1), 1022);
  QCOMPARE(editor.GetSelection().cpMax, 1026);
  QCOMPARE(editor.FindText(QStringLiteral("AAAB"), editor.GetLength(), false, false, false, false, -1), 1022);
  QCOMPARE(editor.FindText(target.toLower(), 0, true, false, false, false, -1), 2526);
  QCOMPARE(editor.FindText(target, editor.GetLength(), false, true, false, false, -1), 2526);
  QCOMPARE(editor.FindText(target.toLower(), 0, true, true, false, false, -1), -1);
  QCOMPARE(editor.FindText(QStringLiteral("qZ x"), 0, true, true, true, false, -1), 2824);  // a blank: plain search
  QCOMPARE(editor.FindText(QStringLiteral("x"), 0, false, true, false, false, -1), -1);
  QCOMPARE(editor.FindText(QString(), 0, true, true, false, false, -1), -1);

  // An abort between windows ends the search; an Esc under the busy cursor is one, and
  // never reaches the editor afterwards. The clock makes the event loop overdue at every window.
  qint64 now = 0;
  EventLoopWatch::SetClock([&now] { return now += 100; });
  const QString paragraphs = (QString(99, u'c') + u'\r').repeated(300);
  editor.SetText(paragraphs + QStringLiteral("end"), true);
  QCOMPARE(editor.FindText(QStringLiteral("end"), 0, true, true, false, false, -1), 30000);
  QTimer::singleShot(0, [] { AbortRegister::AR().Abort(); });
  QCOMPARE(editor.FindText(QStringLiteral("end"), 0, true, true, false, false, -1), -1);
  KeyCounter counter;
  editor.installEventFilter(&counter);
  QCoreApplication::postEvent(&editor, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  QCOMPARE(editor.FindText(QStringLiteral("end"), 0, true, true, false, false, -1), -1);
  QCoreApplication::processEvents();
  QCOMPARE(counter.keys, 0);
  editor.removeEventFilter(&counter);
  EventLoopWatch::SetClock({});
  QCOMPARE(HourGlass::HG().Level(), 0);
}

void FindReplaceQTest::ReplaceAllIsOneStepAndKeepsToItsRange() {
  Shown shown;
  RichEdit20& editor = shown.editor;
  const QString original = QStringLiteral("Cat cat dog cat Cat bird cat");
  editor.SetText(original, true);
  editor.EmptyUndoBuffer();
  const int mark = editor.SetBookmark(20);  // on "bird"
  QCOMPARE(editor.ReplaceAll(QStringLiteral("cat"), QStringLiteral("lion"), 0, false, false, true, -1), 5);
  const QString replaced = QStringLiteral("Lion lion dog lion Lion bird lion");
  QCOMPARE(Text(editor), replaced);
  QCOMPARE(editor.GetBookmarkPos(mark), 24);
  QVERIFY(editor.ReplaceUndoStack.empty());
  editor.Undo();
  QCOMPARE(Text(editor), original);
  editor.Redo();
  QCOMPARE(Text(editor), replaced);
  editor.Undo();

  // One match undoes alone; a case-matched first letter leaves the caller's text alone.
  const QString lower = QStringLiteral("dog");
  editor.SetText(QStringLiteral("A Cat."), true);
  QCOMPARE(editor.ReplaceAll(QStringLiteral("cat"), lower, 0, false, false, true, -1), 1);
  QCOMPARE(Text(editor), QStringLiteral("A Dog."));
  QCOMPARE(lower, QStringLiteral("dog"));
  editor.Undo();
  QCOMPARE(Text(editor), QStringLiteral("A Cat."));

  // Backward, and within a limit: nothing outside it changes, whatever the lengths.
  const QString row = QStringLiteral("ab ab ab ab ab ab");
  struct Case {
    QString find, replace;
    bool forward;
    int start, end;
    QString expected;
  };
  for (const Case& c : std::vector<Case>{
           {"ab", "xyz", true, 3, 11, "ab xyz xyz xyz ab ab"},
           {"ab", "x", true, 3, 10, "ab x x ab ab ab"},
           {"ab", "xyz", false, 14, 6, "ab ab xyz xyz xyz ab"},
           {"ab", "x", false, 13, 6, "ab ab x x ab ab"},
           {"ab", "xyz", true, 0, -1, "xyz xyz xyz xyz xyz xyz"},
           {"ab", "", false, 17, -1, "     "},
       }) {
    editor.SetText(row, true);
    editor.ReplaceAll(c.find, c.replace, c.start, true, false, c.forward, c.end);
    QCOMPARE(Text(editor), c.expected);
  }
  editor.SetText(QString(3000, u'a') + QStringLiteral("aab"), true);
  QCOMPARE(editor.ReplaceAll(QStringLiteral("aaab"), QStringLiteral("X"), 0, true, false, true, -1), 1);
}

void FindReplaceQTest::PlainIndentAndOutdent() {
  Shown shown;
  RichEdit20& editor = shown.editor;
  editor.SetPlainText(true);
  const QString text = QStringLiteral("zero\rone\rtwo\rthree\rfour\rfive");
  for (const int tabs : {-1, 0, 2})
    for (const int lines : {3, 4}) {
      editor.TabsAsSpaces = tabs;
      const QString unit = tabs > 0 ? QString(tabs, u' ') : QStringLiteral("\t");
      editor.SetText(text, true);
      const int end = lines == 3 ? 19 : 24;  // from "one" to the start of "four" / "five"
      editor.SetSelection(5, end);
      editor.GetParagraph()->Indent();
      QStringList expected = text.split(u'\r');
      for (int l = 1; l <= lines; ++l) expected[l] = unit + expected[l];
      QCOMPARE(Text(editor), expected.join(u'\r'));
      QCOMPARE(editor.GetSelText(0).split(u'\r').size(), lines + 1);
      editor.GetParagraph()->Outdent();
      QCOMPARE(Text(editor), text);
      editor.SetSelection(0, 2);
      editor.IndentPlainText(false);
      QCOMPARE(Text(editor), unit + text);
      editor.IndentPlainText(true);
      QCOMPARE(Text(editor), text);
    }
  // Below an empty first line, only the selected lines move.
  editor.TabsAsSpaces = -1;
  editor.SetText(QStringLiteral("\rone\rtwo"), true);
  editor.SetSelection(1, 4);
  editor.GetParagraph()->Indent();
  QCOMPARE(Text(editor), QStringLiteral("\r\tone\rtwo"));
}

void FindReplaceQTest::Queries() {
  Shown shown;
  RichEdit20& editor = shown.editor;
  // Words cut by the 4096-position block border count once.
  QString text;
  int words = 0;
  while (text.size() < 9000) {
    text += QStringLiteral("word%1").arg(words) + (words % 5 == 4 ? QStringLiteral("\r") : QStringLiteral(" \t"));
    ++words;
  }
  editor.SetText(text, true);
  QCOMPARE(editor.GetWordCount(), words);

  editor.SetText(QStringLiteral("One. Two? Three! Four\rnext para\flast"), true);
  QCOMPARE(editor.GetSentencePos(3), 0);
  QCOMPARE(editor.GetSentencePos(8), 4);
  QCOMPARE(editor.GetSentencePos(12), 9);
  QCOMPARE(editor.GetSentencePos(20), 16);
  QCOMPARE(editor.SelectPar(0), 22);
  QCOMPARE(editor.SelectPar(25), 32);
  QCOMPARE(editor.SelectPar(33), 36);
  QCOMPARE(editor.GetSelection().cpMax, 36);
  QCOMPARE(editor.SelectPar(36), -1);
  editor.SetSelection(25, 25);
  editor.DeleteCurrLine();
  QCOMPARE(Text(editor), QStringLiteral("One. Two? Three! Four\r"));
  editor.DeleteCurrLine();
  QCOMPARE(Text(editor), QStringLiteral("One. Two? Three! Four\r"));
  editor.SetSelection(3, 3);
  editor.DeleteCurrLine();
  QCOMPARE(Text(editor), QString());

  // A block read again after an edit before it covers the same text.
  editor.SetText(QString(5000, u'a') + QStringLiteral("MARK") + QString(5000, u'b'), true);
  BlockIterator blocks(editor, false);
  QCOMPARE(blocks.GetFirstBlock(0, -1).size(), 4096);
  const QString second = blocks.GetNextBlock(-1);
  QVERIFY(second.contains(QStringLiteral("MARK")));
  editor.SetSelection(10, 10);
  editor.ReplaceSel(QStringLiteral("inserted"), true, false);
  QCOMPARE(blocks.GetSameBlock(-1), second);
  QCOMPARE(blocks.BlockPosition(), 4096 + 8);
  QVERIFY(blocks.BlocksRemaining());
  QVERIFY(blocks.GetNextBlock(-1).endsWith(u'b'));
  QVERIFY(!blocks.BlocksRemaining());
  QVERIFY(blocks.GetNextBlock(-1).isEmpty());
  editor.SetText(QString(5000, u'a') + QStringLiteral(". tail"), true);
  BlockIterator sentences(editor, true);
  QCOMPARE(sentences.GetFirstBlock(0, -1).size(), 5001);
  QVERIFY(sentences.Resized());
  QCOMPARE(sentences.GetNextBlock(-1), QStringLiteral(" tail"));
}

TV_QTEST_MAIN(FindReplaceQTest)
#include "FindReplaceQTest.moc"
