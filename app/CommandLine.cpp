#include "CommandLine.h"

#include "Yelk/TMsgLog.h"
#include "settings/ProgSettings.h"

#include <QDir>
#include <QFileInfo>

namespace {
bool IsFolder(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

QString MissingFolder(const QString& what, const QString& value) {
  return what + QStringLiteral(" \"") + value + QStringLiteral("\"\ncan not be found.");
}

void TakeOption(const QString& token, ProgSettings& settings) {
  const QChar letter = token.at(1).toLower();
  // Kept as a full path: the dialog and the save folder may be used from anywhere later.
  const QString given = token.mid(3);
  const QString value = given.isEmpty() ? given : QDir::current().absoluteFilePath(given);
  if (letter == QLatin1Char('f')) {
    if (IsFolder(value) || (!value.isEmpty() && QDir().mkpath(value)))
      settings.DefaultSaveFolder = value;
    else
      TMsgLog::Add(QStringLiteral("Could not create puzzle save folder: ") + given);
  } else if (letter == QLatin1Char('s')) {
    if (IsFolder(value))
      settings.DefaultSaveFolder = value;
    else
      TMsgLog::Add(MissingFolder(QStringLiteral("Default save folder"), given));
  } else if (letter == QLatin1Char('i')) {
    if (IsFolder(value))
      settings.InitialDir = value;
    else
      TMsgLog::Add(MissingFolder(QStringLiteral("Initial directory"), given));
  } else {
    TMsgLog::Add(QStringLiteral("Unrecognized cmd line opt: ") + token);
  }
}

bool IsKnownLetter(QChar c) {
  c = c.toLower();
  return c == QLatin1Char('f') || c == QLatin1Char('s') || c == QLatin1Char('i');
}
}  // namespace

QString ParseCommandLine(const QStringList& arguments, ProgSettings& settings) {
  QString path;
  for (const QString& token : arguments) {
    if (token.isEmpty()) continue;
    // A rooted path that exists is a file, not an option.
    if (!token.startsWith(QLatin1Char('/')) || QFileInfo(token).isFile()) {
      path = QFileInfo(token).absoluteFilePath();
      continue;
    }
    if (token.size() == 1) continue;
    if (token.size() == 2 && IsKnownLetter(token.at(1))) continue;
    TakeOption(token, settings);
  }
  return path;
}
