// Word documents through converter modules: the search for the modules, preparing them,
// and converted loads and stores through the test modules (tests/richtext/converters).

#include "TestEnvironment.h"
#include "Yelk/AbortRegister.h"
#include "Yelk/ERegistry.h"
#include "Yelk/GameApplication.h"
#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "platform/HelpWindow.h"
#include "richtext/ConverterSearch.h"
#include "richtext/ModuleConverter.h"
#include "richtext/RichEdit20.h"
#include "richtext/RichIO.h"
#include "ShownExceptions.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

namespace {

// A fresh folder of the scratch folder per call.
QString NewFolder(const QString& name) {
  static int serial = 0;
  const QString folder = TestEnvironment::ScratchFolder() + QStringLiteral("/%1-%2").arg(name).arg(++serial);
  QDir().mkpath(folder);
  return folder;
}

// The machine key's store, written as the system's installer would.
void WriteMachineKey(const QList<QPair<QString, QString>>& values) {
  const QString path = ERegistry::FilePath(ERegistry::LocalMachine);
  QFile::remove(path);
  QDir().mkpath(QFileInfo(path).absolutePath());
  QSettings ini(path, QSettings::IniFormat);
  for (const auto& [key, value] : values) ini.setValue(QString(key).replace(QLatin1Char('\\'), QLatin1Char('/')), value);
  ini.sync();
}

QString Touch(const QString& path) {
  TestEnvironment::WriteFile(path, "module");
  return path;
}

QStringList LogSince(int from) {
  QStringList lines = TMsgLog::Lines().mid(from);
  for (QString& line : lines) line = line.mid(line.indexOf(QStringLiteral(":  ")) + 3);
  return lines;
}

const QString Converters = QStringLiteral("Software\\Microsoft\\Shared Tools\\Text Converters\\");
const QString SharedDlls = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs\\");

}  // namespace

// The search over fixture trees, as its log shows it: registered files that exist or not,
// the Word 97 fallback, the Word 6 fallbacks in their order (which mark the tab defect), and
// the shared-library list read from its last name to its first.
TEST(TextConverterTest, TheSearchLogsEveryStepAndFindsTheConvertersInItsOrder) {
  const QString windows = ConverterSearch::WindowsFolder() = NewFolder(QStringLiteral("windows"));
  const QString system = ConverterSearch::SystemFolder() = NewFolder(QStringLiteral("system"));
  const QString other = NewFolder(QStringLiteral("other"));
  const QString y = QStringLiteral(", exists=Y, path= "), n = QStringLiteral(", exists=N, path= ");
  const QStringList noWord6Fallback = {
      "mswrd632.wpc Path" + n + "/Program Files/Accessories/mswrd632.wpc",
      "mswrd6_32.wpc Path" + n + "/Program Files/Accessories/mswd6_32.wpc",
      "mswrd6_32.wpc Path 2" + n + system + "/mswd6_32.wpc",
      "mswrd632.wpc Path 2" + n + system + "/mswrd632.wpc",
      "mswrd632.wpc Path 3" + n + windows + "/mswd6_32.wpc",
      "mswrd632.wpc Path 4" + n + windows + "/mswrd632.wpc",
  };
  const auto sum = [](const QString& w97, const QString& in, const QString& out) {
    return QStringList{"---------sum------------", "Word97ConverterPath = " + w97, "WordImportConverterPath = " + in,
                       "WordExportConverterPath = " + out, "---------end------------"};
  };

  {
    // Nothing anywhere: every step is tried and logged, and nothing is found.
    WriteMachineKey({});
    const int from = TMsgLog::Lines().size();
    ConverterSearch search;
    search.Run();
    EXPECT_EQ(LogSince(from), QStringList({"---------start----------", "MSWord8 Path" + n, "MSWord6 Path" + n,
                                           "MSWord6Exp Path" + n, "MSWord6.wpc Path" + n}) +
                                  noWord6Fallback + QStringList{"MSWD6_32.WPC Path" + n} + sum("", "", ""));
    EXPECT_TRUE(search.tabBug);
  }
  {
    // All three registered and present: no fallback, no defect.
    const QString w8 = Touch(other + "/w8.so"), w6 = Touch(other + "/w6.so"), w6e = Touch(other + "/w6e.so");
    WriteMachineKey({{Converters + "Import\\MSWord8\\Path", w8},
                     {Converters + "Import\\MSWord6\\Path", w6},
                     {Converters + "Export\\MSWord6Exp\\Path", w6e}});
    const int from = TMsgLog::Lines().size();
    ConverterSearch search;
    search.Run();
    EXPECT_EQ(LogSince(from), QStringList({"---------start----------", "MSWord8 Path" + y + w8, "MSWord6 Path" + y + w6,
                                           "MSWord6Exp Path" + y + w6e}) +
                                  sum(w8, w6, w6e));
    EXPECT_FALSE(search.tabBug);
  }
  {
    // A registered Word 97 file that is missing gives way to the first folder; the import
    // path stays, the ".wpc" registration fills the missing export path.
    const QString gone = other + "/gone.so", w6 = Touch(other + "/w6b.so"), wpc = Touch(other + "/any.wpc");
    const QString w97 = Touch(windows + "/mswrd832.cnv");
    Touch(system + "/mswrd832.cnv");
    WriteMachineKey({{Converters + "Import\\MSWord8\\Path", gone},
                     {Converters + "Import\\MSWord6\\Path", w6},
                     {Converters + "Import\\MSWord6.wpc\\Path", wpc}});
    const int from = TMsgLog::Lines().size();
    ConverterSearch search;
    search.Run();
    EXPECT_EQ(LogSince(from),
              QStringList({"---------start----------", "MSWord8 Path" + n + gone, "MSWord6 Path" + y + w6,
                           "MSWord6Exp Path" + n, "MSWord6.wpc Path" + y + wpc}) +
                  sum(w97, w6, wpc));
    EXPECT_FALSE(search.tabBug);
    QFile::remove(w97);
  }
  {
    // The fallback stops at the first file found, in its order: the system folder's second name.
    const QString found = Touch(system + "/mswrd632.wpc");
    Touch(windows + "/mswd6_32.wpc");
    WriteMachineKey({});
    const int from = TMsgLog::Lines().size();
    ConverterSearch search;
    search.Run();
    const QStringList expected = noWord6Fallback.mid(0, 3) + QStringList{"mswrd632.wpc Path 2" + y + found, "---------sum------------"};
    EXPECT_EQ(LogSince(from).mid(5, 5), expected);
    EXPECT_EQ(search.wordImport, found);
    EXPECT_EQ(search.wordExport, found);
    EXPECT_TRUE(search.tabBug);
    QFile::remove(found);
    QFile::remove(windows + "/mswd6_32.wpc");
  }
  {
    // The shared-library list: the last name holding "MSWD6_32.WPC" in capitals is taken,
    // whether or not its file exists; others and lower-case ones are passed over.
    const QString first = Touch(other + "/a/MSWD6_32.WPC"), last = other + "/b/MSWD6_32.WPC";
    Touch(other + "/c/mswd6_32.wpc");
    for (const bool lastExists : {true, false}) {
      if (lastExists) Touch(last);
      else QFile::remove(last);
      WriteMachineKey({{SharedDlls + first, "1"}, {SharedDlls + last, "1"}, {SharedDlls + other + "/c/mswd6_32.wpc", "1"},
                       {SharedDlls + other + "/d/other.dll", "1"}});
      const int from = TMsgLog::Lines().size();
      ConverterSearch search;
      search.Run();
      EXPECT_EQ(LogSince(from).at(11), "MSWD6_32.WPC Path" + (lastExists ? y : n) + last);
      EXPECT_EQ(search.wordImport, lastExists ? last : QString());
    }
  }
}

namespace {

using TestEnvironment::ReadFile;
using TestEnvironment::WriteFile;

QString Module(const char* name) { return QStringLiteral(TV_TEST_CONVERTERS "/%1.so").arg(QLatin1String(name)); }

// A file in the test modules' format: a header line that tells them how to behave, then RTF.
QByteArray Foreign(int claim, const char* import, int chunk, int block, const QByteArray& rtf) {
  return QStringLiteral("TVDOC %1 %2 %3 %4\n").arg(claim).arg(QLatin1String(import)).arg(chunk).arg(block).toUtf8() + rtf;
}

// Paragraphs enough for several blocks of the exchange, formats, and text beyond ASCII.
QByteArray Document(int paragraphs) {
  QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
                   "\\f0\\fs20 ";
  for (int i = 0; i < paragraphs; ++i)
    rtf += "paragraph " + QByteArray::number(i) + " {\\b bold} {\\i caf\\'e9} \\u955? some words to fill the line\\par ";
  return rtf + "}";
}

QString Text(RichEdit20& editor) { return editor.GetTextRange(CHARRANGE{0, -1}); }

// What the editor shows for RTF that reaches it without a converter.
QString Reference(const QByteArray& rtf) {
  RichEdit20 editor;
  editor.GetIO()->SetContent(&rtf);
  return Text(editor);
}

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QStringList Texts(const Prompt::Double& prompts) {
  QStringList texts;
  for (const Prompt::Record& record : prompts.Shown()) texts << record.text;
  return texts;
}

using Exceptions = ShownExceptions;

const QString Failed = QStringLiteral("Exception:  Error occurred during file conversion.");

}  // namespace

// The search runs once per process; then each way of preparing a converter, with the
// result and message it gives, and which files a converter claims.
TEST(TextConverterTest, PreparingGivesItsResultAndMessageAndOnlyAnAnswerOfOneClaimsAFile) {
  ConverterSearch::WindowsFolder() = NewFolder(QStringLiteral("windows"));
  ConverterSearch::SystemFolder() = NewFolder(QStringLiteral("system"));
  WriteMachineKey({{Converters + "Import\\MSWord8\\Path", Module("tvconv_word")},
                   {Converters + "Import\\MSWord6\\Path", Module("tvconv_word")},
                   {Converters + "Export\\MSWord6Exp\\Path", Module("tvconv_import_only")}});
  TMsgLog::Clear();
  RichEdit20 editor;
  RichIO& io = *editor.GetIO();
  RichEdit20 second;
  second.GetIO();
  EXPECT_EQ(TMsgLog::Lines().filter(QStringLiteral("---------start----------")).size(), 1);
  EXPECT_EQ(RichIO::Word97ConverterPath, Module("tvconv_word"));
  EXPECT_EQ(RichIO::WordImportConverterPath, Module("tvconv_word"));
  EXPECT_EQ(RichIO::WordExportConverterPath, Module("tvconv_import_only"));
  EXPECT_FALSE(RichIO::Word6ConverterHasTabBug);

  const QString folder = NewFolder(QStringLiteral("prepare"));
  const QString notALibrary = folder + "/fake.so";
  WriteFile(notALibrary, "not a shared library");
  const QString word6Missing = QStringLiteral(
      "Word 6.0 (.DOC) format is not supported on your computer since Word converter file MSWD6_32.WPC can not be found.");
  struct Case {
    const char* name;
    QString module;
    TextConverter::Type type;
    TextConverter::Direction direction;
    const char* file;
    int result;
    QString prompt;
    QString exception;
    int download;
  };
  const QString word = Module("tvconv_word"), importOnly = Module("tvconv_import_only");
  const Case cases[] = {
      {"Word 6 import", word, TextConverter::Word6, TextConverter::Import, "a.doc", 0, "", "", -1},
      {"Word 6 export", word, TextConverter::Word6, TextConverter::Export, "a.doc", 0, "", "", -1},
      {"no export entry, import", importOnly, TextConverter::Word6, TextConverter::Import, "a.doc", 0, "", "", -1},
      {"no export entry, recognition", importOnly, TextConverter::Word6, TextConverter::Recognition, "a.doc", 0, "", "",
       -1},
      {"no export entry, export", importOnly, TextConverter::Word6, TextConverter::Export, "a.doc", 1, "",
       "Failed to load converter procs", -1},
      {"no Word 6 import, .doc", "", TextConverter::Word6, TextConverter::Import, "a.doc", 2, word6Missing, "", -1},
      {"no Word 6 export, .doc", "", TextConverter::Word6, TextConverter::Export, "a.doc", 2, word6Missing, "", -1},
      {"no Word 6 import, .txt", "", TextConverter::Word6, TextConverter::Import, "a.txt", 1, "", "", -1},
      {"no Word 97, .doc", "", TextConverter::Word97, TextConverter::Import, "a.doc", 2, "", "", 0},
      {"no Word 97, .wrd", "", TextConverter::Word97, TextConverter::Import, "a.wrd", 1, "", "", -1},
      {"no HTML, .htm", "", TextConverter::Html, TextConverter::Recognition, "a.htm", 1, "", "", 1},
      {"not a library", notALibrary, TextConverter::Word97, TextConverter::Import, "a.doc", 1,
       "Failed to open converter file \"" + notALibrary + "\".", "", -1},
      {"a relative path", "tvconv_word.so", TextConverter::Word97, TextConverter::Import, "a.doc", 1,
       "Failed to open converter file \"tvconv_word.so\".", "", -1},
  };
  std::vector<int> downloads;
  RichIO::SetDownloadWindow([&](QWidget*, int which) { downloads.push_back(which); });
  for (const Case& c : cases) {
    QString& path = c.type == TextConverter::Word97 ? RichIO::Word97ConverterPath
                    : c.type == TextConverter::Html ? RichIO::HtmlConverterPath
                    : c.direction == TextConverter::Export ? RichIO::WordExportConverterPath
                                                           : RichIO::WordImportConverterPath;
    path = c.module;
    Prompt::Double prompts;
    Exceptions exceptions;
    downloads.clear();
    EXPECT_EQ(io.PrepareConverter(folder + '/' + c.file, c.type, c.direction), c.result) << c.name;
    EXPECT_EQ(Texts(prompts), c.prompt.isEmpty() ? QStringList() : QStringList{c.prompt}) << c.name;
    EXPECT_EQ(exceptions.shown, c.exception.isEmpty() ? QStringList() : QStringList{c.exception}) << c.name;
    EXPECT_EQ(downloads, c.download < 0 ? std::vector<int>() : std::vector<int>{c.download}) << c.name;
    // A prepared converter is unloaded again by the next preparation (leaks would show).
    EXPECT_EQ(io.PrepareConverter(folder + '/' + c.file, c.type, c.direction), c.result) << c.name;
  }
  EXPECT_TRUE(TMsgLog::GetLogAsString().contains("fake.so")) << "the loader's own text is logged";

  // Only an answer of 1 claims a file; a file the module cannot read is never its own.
  RichIO::Word97ConverterPath = word;
  for (const int claim : {1, 0, 2, -1, 100}) {
    const QString file = folder + QStringLiteral("/claim%1.wrd").arg(claim + 1);
    WriteFile(file, Foreign(claim, "ok", 4096, 0, "{\\rtf1 x}"));
    ASSERT_EQ(io.PrepareConverter(file, TextConverter::Word97, TextConverter::Recognition), 0);
    EXPECT_EQ(io.FormatIsCorrect(), claim == 1) << claim;
  }
  ASSERT_EQ(io.PrepareConverter(folder + "/missing.wrd", TextConverter::Word97, TextConverter::Recognition), 0);
  EXPECT_FALSE(io.FormatIsCorrect());
  io.CleanUpConverter();
  EXPECT_FALSE(io.FormatIsCorrect());
  RichIO::SetDownloadWindow(nullptr);
}

// Loads through the test importer: the document it delivers in chunks of every size (the
// block shrunk or grown by the module) shows as it would without a converter, with the
// Word 97 message whose Help opens the topic and asks again; every failure keeps the shown
// document and says why; Esc stops the load silently.
TEST(TextConverterTest, ConvertedLoadsShowTheDocumentOrKeepTheOldOneAndSayWhy) {
  RichIO::LocateConverters();  // before the test sets the paths found
  RichEdit20 editor;
  RichIO& io = *editor.GetIO();
  RichIO::Word97ConverterPath = Module("tvconv_word");
  RichIO::WordImportConverterPath.clear();
  const QString folder = NewFolder(QStringLiteral("loads"));
  const QByteArray rtf = Document(200);
  const QString expected = Reference(rtf);
  ASSERT_GT(rtf.size(), 3 * 4096);
  struct Case {
    const char* name;
    QByteArray file;
    bool loads;
    QString text;
    QString message;
  };
  const Case cases[] = {
      {"small chunks", Foreign(1, "ok", 100, 0, rtf), true, expected, ""},
      {"a shrunk block", Foreign(1, "ok", 4096, 777, rtf), true, expected, ""},
      {"a grown block", Foreign(1, "ok", 6000, 9000, rtf), true, expected, ""},
      {"nothing delivered", Foreign(1, "ok", 4096, 0, ""), true, "", ""},
      {"an error result", Foreign(1, "error", 1000, 0, rtf), false, "kept", Failed + "  Code=-2"},
      {"an exception", Foreign(1, "throw", 1000, 0, rtf), false, "kept", Failed},
      {"more bytes than the block holds", Foreign(1, "oversize", 1000, 0, rtf), false, "kept", Failed + "  Code=-13"},
      {"a file the module does not claim", Foreign(0, "ok", 1000, 0, "plain"), true, "TVDOC 0 ok 1000 0\rplain", ""},
  };
  const QString word97 = QStringLiteral("Document \"%1\" uses Word 97/2000 format.\nAny changes to this document may only "
                                        "be saved in Word 95 format or RTF format.");
  for (const Case& c : cases) {
    const QString path = folder + "/letter.wrd";
    WriteFile(path, c.file);
    editor.SetText(QStringLiteral("kept"), false);
    Prompt::Double prompts;
    prompts.Answer(Prompt::Help);
    prompts.Answer(Prompt::Ok);
    HelpWindow::Instance()->hide();
    RichIO::DocType type = RichIO::DocOther;
    EXPECT_EQ(io.Load(path, type, false), c.loads) << c.name;
    EXPECT_EQ(Text(editor), c.text) << c.name;
    QStringList shown = Texts(prompts);
    const bool claimed = c.file.startsWith("TVDOC 1");
    if (claimed) {
      // Help leaves the question standing: it is asked twice, and the topic is open.
      EXPECT_EQ(shown.mid(0, 2), QStringList({word97.arg("letter.wrd"), word97.arg("letter.wrd")})) << c.name;
      EXPECT_TRUE(prompts.Shown().value(0).buttons.testFlag(Prompt::Help));
      EXPECT_TRUE(HelpWindow::Instance()->isVisible()) << c.name;
      shown = shown.mid(2);
    }
    EXPECT_EQ(shown, c.message.isEmpty() ? QStringList() : QStringList{c.message}) << c.name;
    if (c.loads) {
      EXPECT_EQ(type, claimed ? RichIO::DocWord : RichIO::DocText) << c.name;
    }
    EXPECT_EQ(io.MustSaveAsWord95(), c.loads && claimed) << c.name;
  }

  // Esc while the converter delivers without end: false, no message, the old document.
  WriteFile(folder + "/endless.wrd", Foreign(1, "endless", 500, 0, rtf));
  editor.SetText(QStringLiteral("kept"), false);
  int calls = 0;
  io.SetOnProgress([&](QObject*) {
    if (++calls == 3) AbortRegister::AR().Abort();
  });
  Prompt::Double prompts;
  RichIO::DocType type = RichIO::DocOther;
  EXPECT_FALSE(io.Load(folder + "/endless.wrd", type, false));
  EXPECT_EQ(Texts(prompts), QStringList{word97.arg("endless.wrd")});
  EXPECT_EQ(Text(editor), QStringLiteral("kept"));
  EXPECT_GE(calls, 3);
}

// Stores through the test exporters: what the editor sends is what the module receives and
// writes, and it loads back; the Word 95 question's Help opens the topic and asks again, and
// No keeps the file; every failing store leaves the old file byte-identical and no other.
TEST(TextConverterTest, ConvertedStoresWriteWhatTheEditorSendsOrLeaveTheOldFileAlone) {
  RichIO::LocateConverters();  // before the test sets the paths found
  RichEdit20 editor;
  RichIO& io = *editor.GetIO();
  const QByteArray rtf = Document(200);
  ASSERT_TRUE(io.SetContent(&rtf));
  const QString expected = Text(editor);
  const QString folder = NewFolder(QStringLiteral("stores"));
  const QString path = folder + "/old.doc";
  const QByteArray old = "OLD BYTES that must survive";
  const QString word6Missing = QStringLiteral(
      "Word 6.0 (.DOC) format is not supported on your computer since Word converter file MSWD6_32.WPC can not be found.");
  struct Case {
    const char* name;
    QString exporter;
    QString message;
    QString exception;
  };
  const Case cases[] = {
      {"an error result", Module("tvconv_export_error"), Failed + "  Code=-4", ""},
      {"an exception", Module("tvconv_export_throw"), Failed, ""},
      {"a return before the end", Module("tvconv_export_early"), Failed, ""},
      {"no export entry", Module("tvconv_import_only"), "", "Failed to load converter procs"},
      {"no exporter", "", word6Missing, ""},
  };
  for (const Case& c : cases) {
    WriteFile(path, old);
    RichIO::WordExportConverterPath = c.exporter;
    Prompt::Double prompts;
    Exceptions exceptions;
    EXPECT_FALSE(io.Store(path, RichIO::DocWord, false)) << c.name;
    EXPECT_EQ(ReadFile(path), old) << c.name;
    EXPECT_EQ(Entries(folder), QStringList{"old.doc"}) << c.name;
    EXPECT_EQ(Texts(prompts), c.message.isEmpty() ? QStringList() : QStringList{c.message}) << c.name;
    EXPECT_EQ(exceptions.shown, c.exception.isEmpty() ? QStringList() : QStringList{c.exception}) << c.name;
  }

  RichIO::WordExportConverterPath = Module("tvconv_word");
  {
    Prompt::Double prompts;
    ASSERT_TRUE(io.Store(path, RichIO::DocWord, false));
    EXPECT_TRUE(prompts.Shown().isEmpty());
  }
  const QByteArray written = ReadFile(path);
  EXPECT_TRUE(written.startsWith("TVDOC 1 ok 4096 0\n{\\rtf1")) << written.left(40).constData();
  EXPECT_EQ(Entries(folder), QStringList{"old.doc"});
  EXPECT_EQ(Reference(written.mid(written.indexOf('\n') + 1)), expected);

  // Back in through the Word 97 converter: the store now asks first.
  RichIO::Word97ConverterPath = Module("tvconv_word");
  RichIO::WordImportConverterPath.clear();
  const QString letter = folder + "/letter.wrd";
  WriteFile(letter, written);
  RichEdit20 reader;
  RichIO::DocType type = RichIO::DocOther;
  {
    Prompt::Double prompts;
    ASSERT_TRUE(reader.GetIO()->Load(letter, type, false));
  }
  EXPECT_EQ(Text(reader), expected);
  ASSERT_TRUE(reader.GetIO()->MustSaveAsWord95());
  const QString question = QStringLiteral("File \"letter.wrd\" is a Word 97/2000 file and will now be saved in Word 95 "
                                          "format.\n\nDo you want to continue?");
  for (const Prompt::Button last : {Prompt::No, Prompt::Yes}) {
    Prompt::Double prompts;
    prompts.Answer(Prompt::Help);
    prompts.Answer(last);
    HelpWindow::Instance()->hide();
    EXPECT_EQ(reader.GetIO()->Store(letter, RichIO::DocWord, false), last == Prompt::Yes);
    EXPECT_EQ(Texts(prompts), QStringList({question, question}));
    EXPECT_TRUE(prompts.Shown().value(0).buttons.testFlag(Prompt::Help));
    EXPECT_TRUE(HelpWindow::Instance()->isVisible());
    EXPECT_EQ(ReadFile(letter), written);
  }
  EXPECT_FALSE(reader.GetIO()->MustSaveAsWord95());
}

// The converters' defects and their work-arounds: the Word 6 converter found by the file
// search leaves a tab before every bulleted paragraph's text; the HTML converter writes the
// first font tag without the face of a "Times New Roman" start, which the store puts back
// into the tag (only for the editor version the work-arounds were made for).
TEST(TextConverterTest, WorkAroundsMendWhatTheConvertersGetWrong) {
  RichIO::LocateConverters();  // before the test sets the paths found
  const QString folder = NewFolder(QStringLiteral("workarounds"));
  RichIO::WordImportConverterPath = Module("tvconv_word");
  const QByteArray bullets =
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0 "
      "{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}\\fi-360\\li360 \\tab first\\par "
      "{\\pntext\\'b7\\tab}\\tab\\tab second\\par "
      "\\pard \\tab not bulleted\\par "
      "{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}\\fi-360\\li360 third\\tab\\par}";
  const QString asSent = Reference(bullets);
  ASSERT_EQ(asSent.count(QLatin1Char('\t')), 5);
  WriteFile(folder + "/tabs.doc", Foreign(1, "ok", 4096, 0, bullets));
  for (const bool defect : {false, true}) {
    RichIO::Word6ConverterHasTabBug = defect;
    RichEdit20 editor;
    RichIO::DocType type = RichIO::DocOther;
    Prompt::Double prompts;
    ASSERT_TRUE(editor.GetIO()->Load(folder + "/tabs.doc", type, false));
    EXPECT_EQ(type, RichIO::DocWord);
    QString mended = asSent;
    if (defect) mended.replace(QStringLiteral("\tfirst"), QStringLiteral("first")).replace(QStringLiteral("\t\tsecond"), QStringLiteral("\tsecond"));
    EXPECT_EQ(Text(editor), mended) << defect;
  }

  RichIO::FHtmlSupport = true;
  RichIO::HtmlConverterPath = Module("tvconv_word");
  const QByteArray html = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}{\\f1 Arial;}}\\f0 T\\f1 he page\\par}";
  for (const int version : {30, 20}) {
    RichIO::InjectedEditorVersion = version;
    RichEdit20 editor;
    ASSERT_TRUE(editor.GetIO()->SetContent(&html));
    editor.SetSelection(3, 5);
    Prompt::Double prompts;
    const QString path = folder + "/page.htm";
    ASSERT_TRUE(editor.GetIO()->Store(path, RichIO::DocHtml, false));
    const QByteArray written = ReadFile(path);
    if (version == 20) {
      EXPECT_TRUE(written.startsWith("<HTML><BODY><FONT FACE=\"Times New Roman\" SIZE=2>{\\rtf1")) << written.constData();
      // The first letter's face went from the one the converter drops to one it keeps.
      EXPECT_TRUE(written.contains("Courier")) << written.constData();
    } else {
      EXPECT_TRUE(written.startsWith("<HTML><BODY><FONT SIZE=2>{\\rtf1")) << written.constData();
    }
    EXPECT_EQ(editor.GetSelection().cpMin, 3);
    EXPECT_EQ(editor.GetSelection().cpMax, 5);
    EXPECT_EQ(Entries(folder), QStringList({"page.htm", "tabs.doc"}));
  }
  RichIO::InjectedEditorVersion = 0;
  RichIO::FHtmlSupport = false;
}

// A converter that stops talking: the editor's side gives up after the exchange's wait with
// "Bad Dequeue.  RC = 1" and both sides end; one that never ends is left running after the
// conversion's wait, and no conversion starts after it.
// A module that can only recognise its files claims an HTML file, and the load that
// follows fails with the conversion message instead of calling what the module lacks.
TEST(TextConverterTest, AModuleThatOnlyRecognisesCannotConvert) {
  RichIO::LocateConverters();  // before the test sets the paths found
  const QString folder = NewFolder(QStringLiteral("recognise"));
  RichIO::FHtmlSupport = true;
  RichIO::HtmlConverterPath = Module("tvconv_recognise_only");
  RichIO::WordImportConverterPath.clear();
  RichEdit20 editor;
  RichIO& io = *editor.GetIO();
  WriteFile(folder + "/page.html", Foreign(1, "ok", 4096, 0, Document(2)));
  editor.SetText(QStringLiteral("kept"), false);
  Prompt::Double prompts;
  prompts.Answer(Prompt::Yes);  // open it as HTML
  RichIO::DocType type = RichIO::DocOther;
  EXPECT_FALSE(io.Load(folder + "/page.html", type, false));
  EXPECT_EQ(Texts(prompts).mid(1), QStringList{Failed});
  EXPECT_EQ(Text(editor), QStringLiteral("kept"));
  RichIO::HtmlConverterPath.clear();
  RichIO::FHtmlSupport = false;
}

TEST(TextConverterTest, ASilentConverterEndsTheLoadAndOneThatNeverEndsStopsAllConversions) {
  RichIO::LocateConverters();  // before the test sets the paths found
  const QString folder = NewFolder(QStringLiteral("silent"));
  RichIO::Word97ConverterPath = Module("tvconv_word");
  RichIO::WordImportConverterPath.clear();
  RichEdit20 editor;
  RichIO& io = *editor.GetIO();
  WriteFile(folder + "/quiet.wrd", Foreign(1, "hang", 400, 0, ""));
  WriteFile(folder + "/good.wrd", Foreign(1, "ok", 4096, 0, Document(3)));
  RichIO::DocType type = RichIO::DocOther;
  {
    ModuleConverter::ExchangeWait = std::chrono::milliseconds(50);
    editor.SetText(QStringLiteral("kept"), false);
    Prompt::Double prompts;
    EXPECT_FALSE(io.Load(folder + "/quiet.wrd", type, false));
    EXPECT_EQ(Texts(prompts).mid(1), QStringList{"Exception:  Bad Dequeue.  RC = 1"});
    EXPECT_EQ(Text(editor), QStringLiteral("kept"));
    ModuleConverter::ExchangeWait = std::chrono::milliseconds(180000);
  }
  {
    ModuleConverter::ExchangeWait = std::chrono::milliseconds(50);
    RichIO::ConverterWaitMs = 50;
    WriteFile(folder + "/stuck.wrd", Foreign(1, "hang", 3000, 0, ""));
    Prompt::Double prompts;
    EXPECT_FALSE(io.Load(folder + "/stuck.wrd", type, false));
    EXPECT_EQ(Texts(prompts).mid(1), QStringList{"Exception:  Bad Dequeue.  RC = 1"});
    EXPECT_TRUE(TMsgLog::GetLogAsString().contains("the converter did not end in time"));
    EXPECT_TRUE(ModuleConverter::Stuck());
    prompts.Clear();
    EXPECT_FALSE(io.Load(folder + "/good.wrd", type, false));
    EXPECT_TRUE(Texts(prompts).contains(Failed));
    EXPECT_EQ(Text(editor), QStringLiteral("kept"));
  }
  {
    // Every load prepares the Word 6 importer: the refusal is told once a load, and not
    // to one that needs no converter.
    RichIO::WordImportConverterPath = Module("tvconv_word");
    WriteFile(folder + "/plain.txt", "plain words");
    for (int load = 0; load < 2; ++load) {
      QCoreApplication::processEvents();
      Prompt::Double prompts;
      EXPECT_FALSE(io.Load(folder + "/good.wrd", type, false));
      EXPECT_EQ(Texts(prompts), QStringList{Failed}) << load;
    }
    QCoreApplication::processEvents();
    Prompt::Double prompts;
    EXPECT_TRUE(io.Load(folder + "/plain.txt", type, false));
    EXPECT_EQ(Texts(prompts), QStringList());
    EXPECT_EQ(Text(editor), QStringLiteral("plain words"));
    RichIO::WordImportConverterPath.clear();
  }
}
