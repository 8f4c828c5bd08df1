// Replace All where one match ends where the next begins, with replacements longer and
// shorter than what they replace, up to the text's end and within a limit.

#include "QtTestMain.h"
#include "richtext/RichEdit20.h"

class ReplaceAllEdgesQTest : public QObject {
  Q_OBJECT

private slots:
  void AdjacentMatchesAllReplacedOnce() {
    RichEdit20 editor;
    editor.resize(400, 300);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    struct Case {
      QString text, find, replace;
      int start, end;
      int count;
      QString expected;
    };
    for (const Case& c : std::vector<Case>{
             {"aaaa", "aa", "b", 0, -1, 2, "bb"},
             {"aaaaa", "aa", "b", 0, -1, 2, "bba"},
             {"ababab", "ab", "xyz", 0, -1, 3, "xyzxyzxyz"},
             {"ababab", "ab", "ab", 0, -1, 3, "ababab"},
             {"abab", "ab", "b", 0, -1, 2, "bb"},
             {"xabab", "ab", "abab", 1, -1, 2, "xabababab"},
             // The limit is a place in the text before any replacement.
             {"ababab", "ab", "xyz", 0, 4, 2, "xyzxyzab"},
             {"ababab", "ab", "x", 0, 4, 2, "xxab"},
             {"ababab", "ab", "xyz", 0, 3, 1, "xyzabab"},
         }) {
      editor.SetText(c.text, true);
      QCOMPARE(editor.ReplaceAll(c.find, c.replace, c.start, true, false, true, c.end), c.count);
      QCOMPARE(editor.Note().GetText(0, -1), c.expected);
    }
  }
};

TV_QTEST_MAIN(ReplaceAllEdgesQTest)
#include "ReplaceAllEdgesQTest.moc"
