// The editor's document through memory: the note window's SetContent and GetContent, the
// plain-text switch's snapshot, the RTF preamble and fragments.

#include "NoteFixtures.h"
#include "QtTestMain.h"
#include "Yelk/Prompt.h"
#include "richtext/RichEdit20.h"
#include "richtext/RichIO.h"

#include <QTextDocument>

namespace {

QByteArray Note(const QByteArray& body) {
  return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
         "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\\f0\\fs20 " +
         body + "}";
}

// Hand-made notes as puzzles carry them: formats, lists, breaks, text beyond ASCII.
std::vector<QByteArray> Notes() {
  return {
      Note("plain words\\par second line"),
      Note("{\\b bold} and {\\i italic} {\\ul under}\\par"),
      Note("{\\cf1 red} {\\cf2\\b blue bold} plain"),
      Note("{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}\\fi-360\\li360 first\\par"
           "{\\pntext\\'b7\\tab}second\\par\\pard after the list"),
      Note("before the break\\page after the break\\par"),
      Note("caf\\'e9 na\\'efve \\u955?\\u8364? \\u26085?\\u26412?"),
      Note("{\\b\\cf1 all\\par}{\\fs32 big}\\par\\qc centred\\par\\pard\\ql left"),
      Note(""),
  };
}

NoteSnapshot Look(RichEdit20& editor) { return Snapshot(*editor.document()); }

}  // namespace

class RichIOQTest : public QObject {
  Q_OBJECT

private slots:
  void notesComeBackAsTheyWentIn() {
    for (const QByteArray& note : Notes()) {
      RichEdit20 first;
      QVERIFY(first.GetIO()->SetContent(&note));
      const NoteSnapshot loaded = Look(first);
      QByteArray kept;
      QVERIFY(first.GetIO()->GetContent(&kept));
      QVERIFY2(kept.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033"), kept.constData());

      RichEdit20 second;
      QVERIFY(second.GetIO()->SetContent(&kept));
      QVERIFY2(Difference(loaded, Look(second)).empty(), note.constData());
      QByteArray again;
      QVERIFY(second.GetIO()->GetContent(&again));
      QCOMPARE(again, kept);
    }
    RichEdit20 editor;
    const QByteArray note = Notes()[5];
    editor.GetIO()->SetContent(&note);
    QVERIFY(editor.GetTextRange(CHARRANGE{0, -1}).contains(QString::fromUtf8("café naïve λ€ 日本")));
  }

  void plainNotesAndShortNotesLoadAsText() {
    RichEdit20 editor;
    editor.SetPlainText(true);
    const QString greek = QString::fromUtf8("Καλημέρα κόσμε\rδεύτερη γραμμή");
    const QByteArray utf8 = greek.toUtf8();
    QVERIFY(editor.GetIO()->SetContent(&utf8));
    QCOMPARE(editor.GetTextRange(CHARRANGE{0, -1}), greek);
    QByteArray kept;
    QVERIFY(editor.GetIO()->GetContent(&kept));
    RichEdit20 other;
    other.SetPlainText(true);
    QVERIFY(other.GetIO()->SetContent(&kept));
    QCOMPARE(other.GetTextRange(CHARRANGE{0, -1}), greek);

    for (const QByteArray& shortNote : {QByteArray("{\\rt"), QByteArray("ab"), QByteArray()}) {
      RichEdit20 rich;
      QVERIFY(rich.GetIO()->SetContent(&shortNote));
      QCOMPARE(rich.GetTextRange(CHARRANGE{0, -1}), QString::fromLatin1(shortNote));
    }
    QVERIFY(!editor.GetIO()->SetContent(nullptr));
    QVERIFY(!editor.GetIO()->GetContent(nullptr));
  }

  void snapshotComesBackWholeOnce() {
    for (const QByteArray& note : Notes()) {
      RichEdit20 editor;
      editor.GetIO()->SetContent(&note);
      const NoteSnapshot before = Look(editor);
      QVERIFY(editor.GetIO()->SaveToMemory(2));
      editor.Clear();
      QVERIFY(editor.GetIO()->RestoreFromMemory());
      QVERIFY2(Difference(before, Look(editor)).empty(), note.constData());
      QVERIFY(!editor.GetIO()->RestoreFromMemory());  // the copy was dropped
    }
    // The editor's own switch goes through the snapshot; an empty document changes mode.
    RichEdit20 editor;
    editor.SetPlainText(true);
    QVERIFY(editor.ReadPlainText());
    QCOMPARE(editor.GetIO()->lastDocType, RichIO::DocOther);

    Prompt::Double prompts;
    QVERIFY(!editor.GetIO()->SaveToMemory(3));
    QCOMPARE(prompts.Shown().size(), 1);
    QVERIFY(prompts.Shown().first().text.contains("Invalid format"));
  }

  void preambleIsComputedOnce() {
    RichEdit20 editor;
    const QByteArray note = Notes()[2];
    editor.GetIO()->SetContent(&note);
    const QString preamble = editor.GetIO()->GetRtfPreamble();
    QVERIFY2(preamble.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033"), qPrintable(preamble));
    QVERIFY(!preamble.contains("{", Qt::CaseSensitive) || preamble.lastIndexOf('{') == 0);
    RichEdit20 other;
    other.SetPlainText(true);
    QCOMPARE(other.GetIO()->GetRtfPreamble(), preamble);
  }

  void segmentReplacesTheSelectionInOneStep() {
    RichEdit20 editor;
    const QByteArray note = Note("alpha beta gamma");
    editor.GetIO()->SetContent(&note);
    const int mark = editor.SetBookmark(11);  // "gamma"
    editor.SetSelection(6, 10);               // "beta"
    const QString preamble = editor.GetIO()->GetRtfPreamble();
    editor.GetIO()->InsertRtfSegment(preamble + "{\\b BOLD TEXT}}");
    QCOMPARE(editor.GetTextRange(CHARRANGE{0, -1}), QString("alpha BOLD TEXT gamma"));
    QCOMPARE(editor.GetBookmarkPos(mark), 16);
    QVERIFY(editor.Undo());
    QCOMPARE(editor.GetTextRange(CHARRANGE{0, -1}), QString("alpha beta gamma"));
    QVERIFY(!editor.CanUndo());
  }

  void brokenNotesNeverCrash() {
    const QByteArray whole = Notes()[3] + Notes()[5];
    for (int cut = 0; cut <= whole.size(); cut += 7) {
      RichEdit20 editor;
      const QByteArray part = whole.left(cut);
      editor.GetIO()->SetContent(&part);
      QByteArray out;
      QVERIFY(editor.GetIO()->GetContent(&out));
    }
    QByteArray garbage = "{\\rtf1";
    for (int i = 0; i < 3000; ++i) garbage += char((i * 7919) % 251 + 1);
    RichEdit20 editor;
    editor.GetIO()->SetContent(&garbage);
    QByteArray out;
    QVERIFY(editor.GetIO()->GetContent(&out));
  }
};

TV_QTEST_MAIN(RichIOQTest)
#include "RichIOQTest.moc"
