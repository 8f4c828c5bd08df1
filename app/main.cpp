// Start-up of the game.

#include "Yelk/TMsgLog.h"

#include <QApplication>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Brindlequarrowmelstone"));
  QApplication::setApplicationName(QStringLiteral("Tessavinelume Jigsaw Puzzles"));
  QApplication::setApplicationDisplayName(QStringLiteral("Tessavinelume Jigsaw Puzzles"));
  QApplication::setApplicationVersion(QStringLiteral("2.0.4"));

  TMsgLog::Add(QStringLiteral("Started: ") + QApplication::arguments().join(QLatin1Char(' ')));
  TMsgLog::ShowMsgLog();
  const int result = QApplication::exec();
  TMsgLog::SaveAtExitIfAsked();
  return result;
}
