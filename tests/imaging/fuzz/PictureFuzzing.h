#pragma once
// The picture loader under mutated files: the steps the game takes to load a BMP or JPEG
// file, on bytes in memory, and a mutator that damages files where damage matters most.

#include <QByteArray>
#include <random>

namespace PictureFuzzing {

enum class Verdict { Loaded, Refused };

// Sizes the picture from its header, allocates its buffer and decodes it, as the game
// loads a picture file. A loaded picture with a pixel that no decoder wrote stops the
// program as a crash would. mode: VirtualBuffer::BitmapMode or JpegMode.
Verdict Load(const QByteArray& bytes, int mode);
// The mode for a file's bytes: BMP when they start with "BM", else JPEG.
int ModeOf(const QByteArray& bytes);
// One to four damages: bits flipped, bytes and words set to telling values, cuts, pieces
// removed, repeated or inserted; half of them within the first 160 bytes, where the
// headers are.
QByteArray Mutate(const QByteArray& seed, std::mt19937& random);

}  // namespace PictureFuzzing
