// Start-up of the game.

#include "StartUp.h"

#include "Yelk/GameApplication.h"
#include "Yelk/IdlerServer.h"
#include "Yelk/TExcMagic.h"
#include "Yelk/TMsgLog.h"
#include "settings/ProgSettings.h"

int main(int argc, char* argv[]) {
  GameApplication app(argc, argv);
  StartUp::SetProgramIdentity();
  Excmagic::ExceptionHook->SetEnabled(true);
  // Every subsystem's idle work runs from here on.
  IdlerServer::IS().BindIdlerServer();
  TMsgLog::Add(QStringLiteral("Started: ") + QApplication::arguments().join(QLatin1Char(' ')));
  const int result = GameApplication::Guarded([] { return StartUp::Run() == 0; }, false) ? 0 : 1;
  TMsgLog::SaveAtExitIfAsked();
  return result;
}
