// Start-up of the game.

#include "Yelk/GameApplication.h"
#include "Yelk/IdlerServer.h"
#include "Yelk/TExcMagic.h"
#include "Yelk/TMsgLog.h"
#include "Yelk/TSwerrForm.h"
#include "settings/ProgSettings.h"

int main(int argc, char* argv[]) {
  GameApplication app(argc, argv);
  const QString title = QStringLiteral("Tessavinelume Jigsaw Puzzles");
  QApplication::setOrganizationName(QStringLiteral("Brindlequarrowmelstone"));
  QApplication::setApplicationName(title);
  QApplication::setApplicationDisplayName(title);
  QApplication::setApplicationVersion(QStringLiteral("2.0.4"));
  TSwerrForm::AppTitle = title;
  TSwerrForm::AppVersion = 2004;
  TSwerrForm::AppVersionStr = QStringLiteral("2.0.4");
  TSwerrForm::AppAbbreviation = QStringLiteral("qvp");

  Excmagic::ExceptionHook->SetEnabled(true);
  // Every subsystem's idle work runs from here on.
  IdlerServer::IS().BindIdlerServer();
  Settings();

  TMsgLog::Add(QStringLiteral("Started: ") + QApplication::arguments().join(QLatin1Char(' ')));
  TMsgLog::ShowMsgLog();
  const int result = QApplication::exec();
  TMsgLog::SaveAtExitIfAsked();
  return result;
}
