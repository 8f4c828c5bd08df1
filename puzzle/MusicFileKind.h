#pragma once
// Which kind of music a chosen file holds, told by its extension and confirmed by its
// header, so that a puzzle never carries a sound track that fails at every load.

#include <QByteArray>
#include <QString>

namespace MusicKind {
constexpr int None = 0, Midi = 1, Wave = 2;
}

// The kind a file's extension names, in any case: MusicKind::Midi for ".mid" and ".midi",
// MusicKind::Wave for ".wav", else MusicKind::None.
int MusicExtensionKind(const QString& path);

// The kind of the bytes read once from the chosen file at `path`: its extension's kind when
// they begin "MThd" (MIDI), or "RIFF" with "WAVE" at byte 8. Anything else gives
// MusicKind::None after telling the player.
int MusicFileKind(const QString& path, const QByteArray& data);
