#include "MusicFileKind.h"

#include "Yelk/Prompt.h"

#include <QFile>
#include <QFileInfo>

namespace {
int KindOfExtension(const QString& path) {
  const QString extension = QFileInfo(path).suffix().toLower();
  return extension == QLatin1String("mid") || extension == QLatin1String("midi") ? MusicKind::Midi
         : extension == QLatin1String("wav")                                      ? MusicKind::Wave
                                                                                  : MusicKind::None;
}

int KindOf(const QString& path) {
  if (KindOfExtension(path) == MusicKind::None || !QFileInfo(path).isFile()) return MusicKind::None;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return MusicKind::None;
  return MusicDataKind(path, file.read(12));
}
}  // namespace

int MusicDataKind(const QString& path, const QByteArray& data) {
  const int kind = KindOfExtension(path);
  if (data.size() < 5) return MusicKind::None;
  if (kind == MusicKind::Midi) return data.startsWith("MThd") ? kind : MusicKind::None;
  if (kind == MusicKind::Wave && data.size() >= 12 && data.startsWith("RIFF") && data.mid(8, 4) == "WAVE")
    return kind;
  return MusicKind::None;
}

int MusicFileKind(const QString& path) {
  const int kind = KindOf(path);
  if (kind == MusicKind::None)
    Prompt::ShowApp(QStringLiteral("The chosen file is not a valid MIDI or WAVE file."), Prompt::Stop);
  return kind;
}
