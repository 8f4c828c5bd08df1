// Documents loaded from and stored into files: the type of a file by its name and content,
// the state a load leaves, loads that are stopped or fail, the store's questions, its
// backups, and stores that fail or succeed on the disk.

#include "NoteFixtures.h"
#include "QtTestMain.h"
#include "TestEnvironment.h"
#include "Yelk/Prompt.h"
#include "Yelk/ReplacingFile.h"
#include "Yelk/TMsgLog.h"
#include "richtext/RichEdit20.h"
#include "richtext/RichIO.h"
#include "richtext/RichIOTransfer.h"

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextDocument>
#include <cerrno>
#include <cstring>

using TestEnvironment::ReadFile;
using TestEnvironment::WriteFile;

namespace {

const QByteArray kRich = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
                         "{\\colortbl ;\\red255\\green0\\blue0;}\\f0\\fs20 "
                         "{\\b bold} {\\cf1 red} caf\\'e9 \\u955?\\par"
                         "\\li720\\sb240 indented before\\page after the break\\par"
                         "\\li720 still indented\\par}";

QString Folder(const QString& name) {
  const QString folder = TestEnvironment::ScratchFolder() + QLatin1Char('/') + name;
  QDir(folder).removeRecursively();
  QDir().mkpath(folder);
  return folder;
}

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QString Text(RichEdit20& editor) { return editor.GetTextRange(CHARRANGE{0, -1}); }

// An editor with a document that a load must replace and whose state it must reset.
void Dirty(RichEdit20& editor) {
  editor.SetText(QStringLiteral("the old document\rwith two lines"), true);
  editor.SetBookmark(4);
  editor.SetExternalBookmark(8);
  editor.ReplaceUndoStack.push_back({});
  editor.ReplaceRedoStack.push_back({});
  editor.GutterRefreshPending = false;
  editor.SetSelection(9, 12);
}

}  // namespace

class RichIOFilesQTest : public QObject {
  Q_OBJECT

private slots:
  void typeComesFromContentThenName() {
    const QString folder = Folder("types");
    struct Case {
      const char* name;
      QByteArray content;
      RichIO::DocType byName, found;
    };
    const QByteArray word("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 binary", 16);
    const Case cases[] = {
        {"short.rtf", "{\\rt", RichIO::DocRtf, RichIO::DocRtf},
        {"short.txt", "{\\rt", RichIO::DocText, RichIO::DocText},
        {"rich.txt", "{\\rtf1 hidden rich text}", RichIO::DocText, RichIO::DocRtf},
        {"NOTES.TXT", "plain words", RichIO::DocText, RichIO::DocText},
        {"Story.Rtf", "not rich at all", RichIO::DocRtf, RichIO::DocRtf},
        {"letter.doc", word, RichIO::DocWord, RichIO::DocWordMissing},
        {"rich.doc", "{\\rtf1 a Word name}", RichIO::DocWord, RichIO::DocRtf},
        {"readme", "no extension", RichIO::DocOther, RichIO::DocOther},
        {"v1.2/readme", "a dot in the folder", RichIO::DocOther, RichIO::DocOther},
        {"v1.2/x.rtf.bak", "{\\rtf1}", RichIO::DocOther, RichIO::DocRtf},
        {"page.html", "<html></html>", RichIO::DocOther, RichIO::DocOther},
        {"empty.txt", "", RichIO::DocText, RichIO::DocText},
    };
    std::vector<int> downloads;
    RichIO::SetDownloadWindow([&](QWidget*, int which) { downloads.push_back(which); });
    RichEdit20 editor;
    RichIO& io = *editor.GetIO();
    Prompt::Double prompts;
    for (const Case& c : cases) {
      const QString path = folder + '/' + c.name;
      QVERIFY(WriteFile(path, c.content));
      QCOMPARE(RichIO::DocTypeFromExtension(path), c.byName);
      TMsgLog::Clear();
      QCOMPARE(io.DetermineDocType(path), c.found);
      QCOMPARE(TMsgLog::GetLogAsString().contains(QStringLiteral("RichIO::Determine - Short file.  size=%1")
                                                      .arg(c.content.size())),
               c.content.size() < 5);
    }
    QCOMPARE(downloads, std::vector<int>{0});  // the Word file with no converter
    QVERIFY(prompts.Shown().isEmpty());
    TMsgLog::Clear();
    QCOMPARE(io.DetermineDocType(folder + "/gone.rtf"), RichIO::DocRtf);
    QVERIFY(TMsgLog::GetLogAsString().contains("RichIO::Determine - Failed to open file."));

    // Loading the Word file: the Word 6 message once, the download window, no load.
    editor.SetText(QStringLiteral("kept"), false);
    RichIO::DocType type = RichIO::DocOther;
    QVERIFY(!io.Load(folder + "/letter.doc", type, false));
    QCOMPARE(prompts.Shown().size(), 1);
    QCOMPARE(prompts.Shown()[0].text, QStringLiteral("Word 6.0 (.DOC) format is not supported on your computer since "
                                                     "Word converter file MSWD6_32.WPC can not be found."));
    QCOMPARE(downloads, (std::vector<int>{0, 0}));
    RichEdit20::SuppressMissingLibMsg = true;
    QVERIFY(!io.Load(folder + "/letter.doc", type, false));
    RichEdit20::SuppressMissingLibMsg = false;
    QCOMPARE(downloads.size(), size_t(2));
    QCOMPARE(Text(editor), QStringLiteral("kept"));
    QCOMPARE(type, RichIO::DocOther);
    RichIO::SetDownloadWindow(nullptr);  // the window itself, its text answered by the script
    prompts.Clear();
    QVERIFY(!io.Load(folder + "/letter.doc", type, false));
    QCOMPARE(prompts.Shown().size(), 2);
    QVERIFY(prompts.Shown()[1].text.contains("Word 97 converter"));
  }

  void loadReplacesTheDocumentAndItsState() {
    const QString folder = Folder("loads");
    const QString greek = QString::fromUtf8("Καλημέρα κόσμε\rδεύτερη γραμμή");
    struct Case {
      const char* name;
      QByteArray content;
      RichIO::DocType type;
      QString text;
    };
    const Case cases[] = {
        {"greek.txt", greek.toUtf8().replace("\r", "\r\n"), RichIO::DocText, greek},
        {"latin.txt", "caf\xE9 na\xEFve\r\nline", RichIO::DocText, QString::fromUtf8("café naïve\rline")},
        {"short.rtf", "{\\rt", RichIO::DocRtf, QString()},
        {"note.rtf", kRich, RichIO::DocRtf, QString()},
        {"rich.txt", kRich, RichIO::DocRtf, QString()},
        {"other.md", "# heading\n", RichIO::DocText, QStringLiteral("# heading\r")},
    };
    Prompt::Double prompts;
    RichEdit20 reference;
    reference.GetIO()->SetContent(&kRich);
    for (const Case& c : cases) {
      const QString path = folder + '/' + c.name;
      QVERIFY(WriteFile(path, c.content));
      for (const bool readOnly : {false, true}) {
        QFile::setPermissions(path, readOnly ? QFile::ReadOwner : QFile::ReadOwner | QFile::WriteOwner);
        RichEdit20 editor;
        editor.SetPlainText(c.type == RichIO::DocRtf);  // the load switches the mode
        Dirty(editor);
        RichIO::DocType type = RichIO::DocOther;
        QVERIFY2(editor.GetIO()->Load(path, type, false), c.name);
        QCOMPARE(type, c.type);
        QCOMPARE(editor.GetIO()->lastDocType, c.type);
        QCOMPARE(editor.ReadPlainText(), c.type == RichIO::DocText);
        if (c.content == kRich)
          QCOMPARE(Text(editor), Text(reference));
        else if (c.content.size() >= 5 || c.type == RichIO::DocText)
          QCOMPARE(Text(editor), c.text);
        QCOMPARE(editor.GetSelection().cpMin, 0);
        QCOMPARE(editor.GetSelection().cpMax, 0);
        QVERIFY(!editor.CanUndo());
        QVERIFY(!editor.IsDirty());
        QVERIFY(editor.Bookmarks.Empty());
        QCOMPARE(editor.ExternalBookmarks.Size(), 0);
        QVERIFY(editor.ReplaceUndoStack.empty() && editor.ReplaceRedoStack.empty());
        QVERIFY(editor.GutterRefreshPending);
        QCOMPARE(editor.GetReadOnly(), readOnly);
      }
    }
    QVERIFY(prompts.Shown().isEmpty());

    // The page break's paragraph starts at the margin; its neighbours keep their indents.
    RichEdit20 editor;
    RichIO::DocType type;
    QVERIFY(editor.GetIO()->Load(folder + "/note.rtf", type, false));
    const QTextDocument& document = *editor.document();
    const int formFeed = Text(editor).indexOf(QChar(12));
    QVERIFY(formFeed > 0);
    const QTextBlock broken = document.findBlock(formFeed);
    QCOMPARE(ParaAttrs::Read(broken.blockFormat()).leftTwips, 0);
    QCOMPARE(ParaAttrs::Read(broken.blockFormat()).spaceBefore, 0);
    QCOMPARE(ParaAttrs::Read(broken.next().blockFormat()).leftTwips, 720);

    QVERIFY(!editor.GetIO()->Load(folder + "/missing.txt", type, false));
    QCOMPARE(prompts.Shown().size(), 1);
    QCOMPARE(prompts.Shown()[0].text, QStringLiteral("The choosen file could not be found."));
    QCOMPARE(prompts.Shown()[0].caption, QStringLiteral("File Open Error"));
  }

  void stoppedAndFailedLoadsKeepTheDocument() {
    const QString folder = Folder("stops");
    const QString path = folder + "/long.txt";
    QByteArray longText;
    for (int line = 0; longText.size() < 200000; ++line) longText += "line " + QByteArray::number(line) + "\r\n";
    QVERIFY(WriteFile(path, longText));
    Prompt::Double prompts;
    for (const bool escape : {true, false}) {
      RichEdit20 editor;
      editor.GetIO()->SetContent(&kRich);
      const NoteSnapshot before = Snapshot(*editor.document());
      std::vector<int> seen;
      int drawn = 0;  // progress calls while the editor drew
      editor.GetIO()->SetOnProgress([&](QObject* sender) {
        QVERIFY(sender == editor.GetIO());
        seen.push_back(editor.GetIO()->ProgressPercent());
        drawn += editor.updatesEnabled();
        if (seen.size() != 3) return;
        if (escape)  // the key reaches the busy state when the load next lets the application in
          QCoreApplication::postEvent(&editor, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        else
          QFile(path).resize(longText.size() / 2);  // the file shrinks under the load
      });
      RichIO::DocType type = RichIO::DocOther;
      QVERIFY(!editor.GetIO()->Load(path, type, false));
      QCOMPARE(type, RichIO::DocOther);
      QVERIFY(Difference(before, Snapshot(*editor.document())).empty());
      QVERIFY(!editor.ReadPlainText());
      QCOMPARE(drawn, 0);
      QVERIFY(editor.updatesEnabled());  // drawing comes back after a stop too
      QVERIFY(std::is_sorted(seen.begin(), seen.end()));
      QCOMPARE(seen.back(), 100);
      if (escape) {
        QVERIFY(prompts.Shown().isEmpty());
        QVERIFY(seen.size() < 10);
      } else {
        QCOMPARE(prompts.Shown().size(), 1);
        QCOMPARE(prompts.Shown()[0].text, QStringLiteral("Exception:  Stream read error"));
      }
    }
  }

  void storeAsksAndBacksUp() {
    const QString folder = Folder("questions");
    const QByteArray old = "the old file\r\n";
    Prompt::Double prompts;
    RichEdit20 editor;
    editor.GetIO()->SetContent(&kRich);
    // Formatting lost as text, and a plain document as RTF: No keeps the file as it was.
    for (const bool plain : {false, true}) {
      editor.SetPlainText(plain);
      const QString path = folder + (plain ? "/plain.rtf" : "/rich.txt");
      QVERIFY(WriteFile(path, old));
      prompts.Clear();
      prompts.Answer(Prompt::No);
      QVERIFY(!editor.GetIO()->Store(path, plain ? RichIO::DocRtf : RichIO::DocText, false));
      QCOMPARE(prompts.Shown().size(), 1);
      QCOMPARE(prompts.Shown()[0].icon, plain ? Prompt::Question : Prompt::Warning);
      QCOMPARE(ReadFile(path), old);
      prompts.Answer(Prompt::Yes);
      QVERIFY(editor.GetIO()->Store(path, plain ? RichIO::DocRtf : RichIO::DocText, false));
      QVERIFY(ReadFile(path) != old);
    }
    editor.SetPlainText(false);
    editor.GetIO()->SetContent(&kRich);

    // Backups: the file name's extension becomes "bak"; an older backup is replaced.
    struct Case {
      const char* name;
      const char* backup;
    };
    const Case cases[] = {{"notes.txt", "notes.bak"},   {"a.b.c", "a.b.bak"},    {"v1.2/readme", "v1.2/readme.bak"},
                          {"v1.2/x.rtf", "v1.2/x.bak"}, {"trail.", "trail.bak"}, {"same.bak", "same.bak"}};
    WriteFile(folder + "/notes.bak", "an older backup");
    prompts.Clear();
    for (const Case& c : cases) {
      const QString path = folder + '/' + c.name;
      QVERIFY(WriteFile(path, old + c.name));
      QVERIFY(editor.GetIO()->Store(path, RichIO::DocRtf, true));
      QVERIFY(ReadFile(path).startsWith("{\\rtf1"));
      if (QString(c.name) != c.backup) QCOMPARE(ReadFile(folder + '/' + c.backup), old + c.name);
    }
    QVERIFY(prompts.Shown().isEmpty());
    QCOMPARE(Entries(folder + "/v1.2"), (QStringList{"readme", "readme.bak", "x.bak", "x.rtf"}));
    QVERIFY(!QFile::exists(folder + "/v1.bak"));
  }

  void failedStoresLeaveTheOldFileAndNothingElse() {
    const QString folder = Folder("failures");
    const QString path = folder + "/keep.rtf";
    const QByteArray old = "{\\rtf1 the old file, which must survive}";
    Prompt::Double prompts;
    RichEdit20 editor;
    editor.GetIO()->SetContent(&kRich);
    const QString full = QStringLiteral("There is not enough free disk space available to save file\n\"%1\".").arg(path);
    // A failed write says the system's reason, not always the disk's room.
    const auto Exception = [](int error) { return QStringLiteral("Exception:  ") + QString::fromLocal8Bit(std::strerror(error)); };
    const QString refused = QStringLiteral("The choosen file could not be opened/created.\nIf the file already exists "
                                           "ensure it is not open by another application.");
    struct Case {
      const char* what;
      std::function<void()> arrange;
      RichIO::DocType type;
      QString message;
    };
    const Case cases[] = {
        {"disk full", [] { SetFreeSpaceQuery([](const QString&) { return qint64(9); }); }, RichIO::DocRtf, full},
        {"write past the disk's room", [] { ReplacingFile::SetFaults({false, 100}); }, RichIO::DocRtf,
         Exception(ENOSPC)},
        {"device error", [] { ReplacingFile::SetFaultHook([](ReplacingFile::Step at) {
                                return at == ReplacingFile::Step::Write ? EIO : 0; }); },
         RichIO::DocRtf, Exception(EIO)},
        {"read-only target", [&] { QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup); },
         RichIO::DocRtf, refused},
        {"unwritable folder", [] { ReplacingFile::SetFaults({true, -1}); }, RichIO::DocRtf, refused},
        {"no converter", [] {}, RichIO::DocWord, QString()},
    };
    for (const Case& c : cases) {
      QFile::remove(path);
      QVERIFY(WriteFile(path, old));
      const QStringList entries = Entries(folder);
      c.arrange();
      prompts.Clear();
      QVERIFY2(!editor.GetIO()->Store(path, c.type, false), c.what);
      SetFreeSpaceQuery(nullptr);
      ReplacingFile::SetFaults({});
      ReplacingFile::SetFaultHook({});
      QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
      QCOMPARE(ReadFile(path), old);
      QCOMPARE(Entries(folder), entries);
      QCOMPARE(prompts.Shown().size(), c.message.isEmpty() ? 0 : 1);  // a quiet failure without a converter
      if (!c.message.isEmpty()) QCOMPARE(prompts.Shown()[0].text, c.message);
    }
    // Unknown free space is no reason to refuse.
    SetFreeSpaceQuery([](const QString&) { return qint64(-1); });
    QVERIFY(editor.GetIO()->Store(path, RichIO::DocRtf, false));
    SetFreeSpaceQuery(nullptr);

    // Success: the file's permission bits stay, nothing is left beside it, and it loads
    // back as it was stored.
    const auto bits = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QFile::setPermissions(path, bits);
    QVERIFY(editor.GetIO()->Store(path, RichIO::DocRtf, false));
    QCOMPARE(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser), bits);
    QCOMPARE(Entries(folder), QStringList{"keep.rtf"});
    RichEdit20 again, third;
    RichIO::DocType type;
    QVERIFY(again.GetIO()->Load(path, type, false));
    QVERIFY(Difference(Snapshot(*editor.document()), Snapshot(*again.document()), false).empty());
    QVERIFY(again.GetIO()->Store(path, type, false));
    QVERIFY(third.GetIO()->Load(path, type, false));
    QVERIFY(Difference(Snapshot(*again.document()), Snapshot(*third.document())).empty());
  }
};

TV_QTEST_MAIN(RichIOFilesQTest)
#include "RichIOFilesQTest.moc"
