#include "StartUp.h"

#include "MakerAddresses.h"
#include "TMainForm.h"

#include "Yelk/ERegistry.h"
#include "Yelk/FileFinder.h"
#include "Yelk/PendingFiles.h"
#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "Yelk/TSwerrForm.h"
#include "Yelk/TempFiles.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// The control-panel path of the refusals; the version name never contains "XP" here.
const QString DisplaySettingsPath =
    QStringLiteral("   Start > Settings > Control Panel > Display > Settings\r\r");

QString ColourRefusal() {
  return StartUp::Title + QStringLiteral(" only runs on systems using either ") +
         QStringLiteral("the \"High Color\" or \"True Color\" color setting.\r") +
         QStringLiteral("You may change your system's color setting by going to:\r\r") +
         DisplaySettingsPath + QStringLiteral("Change the Color setting to either ") +
         QStringLiteral("\"High Color\" or \"True Color\" (recommended).\r") +
         QStringLiteral("See the Help file for more details.");
}

QString ScreenAreaRefusal() {
  return StartUp::Title + QStringLiteral(" only runs on systems with\r") +
         QStringLiteral("a screen area of at least 800x600.  You may change\r") +
         QStringLiteral("your system's screen area by going to:\r\r") + DisplaySettingsPath +
         QStringLiteral("Change the \"screen area\" setting to at least 800x600.\r") +
         QStringLiteral("A setting of 1024x768 is recommended.") + QStringLiteral("\r") +
         QStringLiteral("See the Help file for more details.");
}

// "/i:folder" (likewise /f and /s) names a folder relative to the copy that was started.
bool IsFolderOption(const QString& argument) {
  if (argument.size() <= 3 || !argument.startsWith(QLatin1Char('/')) || argument.at(2) == QLatin1Char('/'))
    return false;
  const QChar letter = argument.at(1).toLower();
  return (letter == QLatin1Char('f') || letter == QLatin1Char('s') || letter == QLatin1Char('i')) &&
         !QFileInfo(argument).isFile();
}

}  // namespace

void StartUp::SetProgramIdentity() {
  QApplication::setOrganizationName(Maker);
  QApplication::setApplicationName(Title);
  // The display name falls back to the application name; set explicitly, the platform would
  // append it to every window title, and the main window's caption already begins with it.
  QApplication::setApplicationVersion(QStringLiteral("2.0.4"));
  TSwerrForm::AppTitle = Title;
  TSwerrForm::AppVersion = 2004;
  TSwerrForm::AppVersionStr = QStringLiteral("2.0.4");
  TSwerrForm::AppAbbreviation = QStringLiteral("qvp");
  TSwerrForm::SupportAddress = MakerAddresses::SupportAddress(Title);
  TSwerrForm::VersionUrl = MakerAddresses::VersionUrl();
  ERegistry::AppLocalKey = QStringLiteral("Software\\") + Maker + QLatin1Char('\\') + Title;
  ERegistry::AppUserKey = ERegistry::AppLocalKey;
}

QString StartUp::LockName() {
  const QByteArray settings = QFile::encodeName(ERegistry::FilePath(ERegistry::CurrentUser));
  const QByteArray hash = QCryptographicHash::hash(settings, QCryptographicHash::Sha1).toHex();
  return QStringLiteral("TessavinelumeJigsawPuzzles-") + QString::fromLatin1(hash.left(12));
}

QString StartUp::DisplayRefusal(const ScreenFacts& screen) {
  if (screen.colourDepth < 16) return ColourRefusal();
  if (screen.size.width() < 800 || screen.size.height() < 600) return ScreenAreaRefusal();
  // Free system resources are not reported on this system: that check passes.
  return {};
}

QStringList StartUp::AbsoluteArguments(const QStringList& arguments, const QString& folder) {
  QStringList absolute;
  const QDir base(folder);
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (i == 0)
      absolute << QCoreApplication::applicationFilePath();
    else if (argument.startsWith(QLatin1Char('-')) || argument.isEmpty())
      absolute << argument;
    else if (IsFolderOption(argument))
      absolute << argument.left(3) + QDir::cleanPath(base.absoluteFilePath(argument.mid(3)));
    else
      absolute << QDir::cleanPath(base.absoluteFilePath(argument));
  }
  return absolute;
}

void StartUp::SweepStaleTempFiles(const QString& folder) {
  if (folder.isEmpty()) return;
  const QString base = folder + QLatin1Char('/');
  FileFinder finder(
      QStringList{base + QStringLiteral("Jig*.tmp"), base + QStringLiteral("Jig*.bmp"),
                  // the ini writer's lock beside a settings scratch file, should a run end inside it
                  base + QStringLiteral("Jig*.tmp.lock")});
  for (QString name = finder.GetNextFileName(); !name.isEmpty(); name = finder.GetNextFileName())
    QFile::remove(base + name);
}

int StartUp::Run() {
  SingleInstance lock(LockName());
  // Of two copies started at once one takes the lock and the other hands over; a copy that
  // ended between the two tries is tried again.
  for (int attempt = 0; !lock.Acquire(); ++attempt) {
    const auto result = lock.SendToRunningCopy(
        AbsoluteArguments(QCoreApplication::arguments(), QDir::currentPath()), HandOverWaitMs);
    if (result == SingleInstance::HandOver::Delivered) return 0;
    // The running copy still holds the lock: this one must not open a window.
    if (result == SingleInstance::HandOver::NotAnswered) {
      TMsgLog::Add(QStringLiteral("Start-up: the running copy did not take the command line"));
      return 1;
    }
    if (attempt == 2) {
      TMsgLog::Add(QStringLiteral("Start-up: the one-copy lock could not be taken"));
      return 1;
    }
  }
  const QString refusal = DisplayRefusal(Screens::Primary());
  if (!refusal.isEmpty()) {
    Prompt::Show(QString(refusal).replace(QLatin1Char('\r'), QLatin1Char('\n')), Title,
                 Prompt::Warning);
    return 1;
  }
  SweepStaleTempFiles(GetTempFileFolder());
  PendingFiles::Sweep();
  TMainForm form;
  QObject::connect(&lock, &SingleInstance::ArgumentsReceived, &form, &TMainForm::WMCopyData);
  form.Start(QCoreApplication::arguments().mid(1));
  return QApplication::exec();
}
