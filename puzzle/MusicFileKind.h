#pragma once
// Which kind of music a chosen file holds, told by its extension and confirmed by its
// header, so that a puzzle never carries a sound track that fails at every load.

#include <QByteArray>
#include <QString>

namespace MusicKind {
constexpr int None = 0, Midi = 1, Wave = 2;
}

// MusicKind::Midi for ".mid"/".midi" beginning "MThd", MusicKind::Wave for ".wav" beginning
// "RIFF" with "WAVE" at byte 8 (extensions in any case). Anything else, or a file that cannot
// be read, gives MusicKind::None after telling the player.
int MusicFileKind(const QString& path);

// The same test on bytes already read from `path`, without telling anyone.
int MusicDataKind(const QString& path, const QByteArray& data);
