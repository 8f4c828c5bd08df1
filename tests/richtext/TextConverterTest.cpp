// Word documents through converter modules: the search for the modules, preparing them,
// and converted loads and stores through the test modules (tests/richtext/converters).

#include "TestEnvironment.h"
#include "Yelk/ERegistry.h"
#include "Yelk/TMsgLog.h"
#include "richtext/ConverterSearch.h"

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
