#pragma once
// The animated-puzzle reader under damaged files: the header, picture and note read, and
// the transfer of every frame into the frame file, on bytes in memory.

#include <QByteArray>

namespace QvpFuzzing {

enum class Verdict { Loaded, Refused };

// Room the transfer is told the disk has: a frame file that would be larger is refused
// before anything is written, so that no input fills the disk or takes long to write.
inline constexpr qint64 FreeKilobytes = 32 * 1024;

// Reads the bytes as an animated puzzle; one that reads is asked for its picture and a
// thumbnail, and its frames are transferred to a frame file. Loaded when that succeeded.
Verdict Load(const QByteArray& bytes);
// The file starts with an animated puzzle's signature.
bool IsAnimated(const QByteArray& bytes);

}  // namespace QvpFuzzing
