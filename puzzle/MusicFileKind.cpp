#include "MusicFileKind.h"

#include "Yelk/Prompt.h"

#include <QFile>
#include <QFileInfo>

namespace {
int KindOf(const QString& path) {
  const QString extension = QFileInfo(path).suffix().toLower();
  const int kind = extension == QLatin1String("mid") || extension == QLatin1String("midi") ? MusicKind::Midi
                   : extension == QLatin1String("wav")                                      ? MusicKind::Wave
                                                                                            : MusicKind::None;
  if (kind == MusicKind::None || !QFileInfo(path).isFile()) return MusicKind::None;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return MusicKind::None;
  const QByteArray head = file.read(12);
  if (head.size() < 5) return MusicKind::None;
  if (kind == MusicKind::Midi) return head.startsWith("MThd") ? kind : MusicKind::None;
  return head.size() == 12 && head.startsWith("RIFF") && head.mid(8, 4) == "WAVE" ? kind : MusicKind::None;
}
}  // namespace

int MusicFileKind(const QString& path) {
  const int kind = KindOf(path);
  if (kind == MusicKind::None)
    Prompt::ShowApp(QStringLiteral("The chosen file is not a valid MIDI or WAVE file."), Prompt::Stop);
  return kind;
}
