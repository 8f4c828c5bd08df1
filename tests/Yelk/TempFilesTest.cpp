#include "TestEnvironment.h"
#include "Yelk/FileUtils.h"
#include "Yelk/PathUtils.h"
#include "Yelk/TempFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTimer>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {
constexpr char ChildModeVar[] = "TV_TEMPFILE_CHILD";
constexpr char ReportVar[] = "TV_TEMPFILE_REPORT";
constexpr char ChildTest[] = "TempFilesTest.NewFilesAreEmptyUniqueAndPrivate";
const auto OwnerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
const auto OthersMayUse = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;

// Run as a child of the exit tests: leave the files behind and end the way the mode says.
void ReportAndEnd(const QStringList& paths) {
  const QByteArray mode = qgetenv(ChildModeVar);
  if (mode.isEmpty()) return;
  QFile report(QString::fromLocal8Bit(qgetenv(ReportVar)));
  if (!report.open(QIODevice::WriteOnly)) std::exit(3);
  report.write(paths.join('\n').toUtf8());
  report.close();
  if (mode == "exit") std::exit(0);
  QTimer::singleShot(0, qApp, &QCoreApplication::quit);
  QCoreApplication::exec();
}

QStringList RunChild(const QString& mode) {
  const QString report = TestEnvironment::ScratchFolder() + "/report-" + mode;
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(ChildModeVar, mode);
  env.insert(ReportVar, report);
  child.setProcessEnvironment(env);
  child.start(QCoreApplication::applicationFilePath(),
              {QString("--gtest_filter=") + ChildTest});
  EXPECT_TRUE(child.waitForFinished(60000));
  EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
  return QString::fromUtf8(TestEnvironment::ReadFile(report)).split('\n', Qt::SkipEmptyParts);
}

// Points the system temp folder at dir until the guard goes.
auto TempDirOverride(const QString& dir) {
  QDir().mkpath(dir);
  const bool wasSet = qEnvironmentVariableIsSet("TMPDIR");
  const QByteArray previous = qgetenv("TMPDIR");
  qputenv("TMPDIR", QFile::encodeName(dir));
  return qScopeGuard([=] { wasSet ? void(qputenv("TMPDIR", previous)) : void(qunsetenv("TMPDIR")); });
}
}  // namespace

TEST(TempFilesTest, NewFilesAreEmptyUniqueAndPrivate) {
  const QString a = CreateTempFile();
  const QString b = CreateTempFile();
  ASSERT_FALSE(a.isEmpty());
  ASSERT_FALSE(b.isEmpty());
  EXPECT_NE(a, b);
  EXPECT_EQ(GetFileSize(a), 0);
  EXPECT_TRUE(QRegularExpression("^Jig.+\\.tmp$").match(GetFileNameFromPath(a)).hasMatch());
  EXPECT_EQ(GetDirFromPath(a, false), GetTempFileFolder());
  EXPECT_EQ(QFile::permissions(GetTempFileFolder()) & OthersMayUse, QFile::Permissions());
  ReportAndEnd({a, b});
}

TEST(TempFilesTest, FilesAreGoneAfterQuitAndAfterExit) {
  for (const QString mode : {"quit", "exit"}) {
    const QStringList paths = RunChild(mode);
    ASSERT_EQ(paths.size(), 2) << mode.toStdString();
    for (const QString& path : paths) EXPECT_FALSE(QFile::exists(path)) << path.toStdString();
  }
}

TEST(TempFilesTest, RefusesAFolderThatIsALink) {
  const QString root = TestEnvironment::ScratchFolder() + "/tmp-link";
  const auto tmp = TempDirOverride(root);
  QDir().mkpath(root + "/elsewhere");
  ASSERT_TRUE(QFile::link(root + "/elsewhere", GetTempFileFolder()));
  EXPECT_EQ(CreateTempFile(), "");
  EXPECT_TRUE(QDir(root + "/elsewhere").isEmpty());
}

TEST(TempFilesTest, ClosesItsOwnFolderToOthers) {
  const QString root = TestEnvironment::ScratchFolder() + "/tmp-open";
  const auto tmp = TempDirOverride(root);
  ASSERT_TRUE(QDir().mkdir(GetTempFileFolder()));
  ASSERT_TRUE(QFile::setPermissions(GetTempFileFolder(), OwnerOnly | OthersMayUse));
  EXPECT_FALSE(CreateTempFile().isEmpty());
  EXPECT_EQ(QFile::permissions(GetTempFileFolder()) & OthersMayUse, QFile::Permissions());
}
