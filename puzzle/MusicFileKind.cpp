#include "MusicFileKind.h"

#include "Yelk/Prompt.h"

#include <QFileInfo>

namespace {
int DataKind(const QString& path, const QByteArray& data) {
  const int kind = MusicExtensionKind(path);
  if (data.size() < 5) return MusicKind::None;
  if (kind == MusicKind::Midi) return data.startsWith("MThd") ? kind : MusicKind::None;
  if (kind == MusicKind::Wave && data.size() >= 12 && data.startsWith("RIFF") && data.mid(8, 4) == "WAVE")
    return kind;
  return MusicKind::None;
}
}  // namespace

int MusicExtensionKind(const QString& path) {
  const QString extension = QFileInfo(path).suffix().toLower();
  return extension == QLatin1String("mid") || extension == QLatin1String("midi") ? MusicKind::Midi
         : extension == QLatin1String("wav")                                      ? MusicKind::Wave
                                                                                  : MusicKind::None;
}

int MusicFileKind(const QString& path, const QByteArray& data) {
  const int kind = DataKind(path, data);
  if (kind == MusicKind::None)
    Prompt::ShowApp(QStringLiteral("The chosen file is not a valid MIDI or WAVE file."), Prompt::Stop);
  return kind;
}
