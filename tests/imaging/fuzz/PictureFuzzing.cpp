#include "PictureFuzzing.h"

#include "imaging/ImageFileHeader.h"
#include "imaging/VirtualBuffer.h"

#include <QBuffer>
#include <QtEndian>
#include <memory>
#include <vector>

namespace PictureFuzzing {

constexpr std::int64_t CheckedPixels = 16 << 20;
// An arithmetic-coded file of a few hundred bytes may fill a picture of any size, which a
// fuzzer's memory limit cannot hold at the largest (a gigabyte, and two more for a CMYK
// picture's coefficients): larger pictures are sized but not decoded. The decode budget binds
// far below that.
constexpr std::int64_t DecodedPixels = 32 << 20;

namespace {

// Memory for the pictures that are checked pixel by pixel, kept between loads.
std::vector<std::uint32_t>& CheckedMemory() {
  static std::vector<std::uint32_t> memory;
  return memory;
}

// Every pixel of a picture is stored with its top byte clear and black as 1: a 0 left
// anywhere is a pixel that no decoder wrote.
bool EveryPixelWritten(const VirtualBuffer& picture) {
  for (int y = 0; y < picture.height; ++y) {
    const std::uint32_t* row = picture.Row(y);
    for (int x = 0; x < picture.width; ++x)
      if (row[x] == 0 || row[x] >> 24) return false;
  }
  return true;
}

}  // namespace

Verdict Load(const QByteArray& bytes, int mode) {
  QByteArray copy = bytes;
  QBuffer file(&copy);
  file.open(QIODevice::ReadOnly);
  int width = 0, height = 0;
  const bool sized = mode == VirtualBuffer::BitmapMode ? ImageFileHeader::BmpSize(file, width, height)
                                                      : ImageFileHeader::JpegSize(file, width, height);
  if (!sized || std::int64_t(width) * height > DecodedPixels) return Verdict::Refused;
  // Pictures up to 16 megapixels go into memory cleared to 0, so that an unwritten pixel
  // shows; larger ones into uncleared memory, as the game loads them.
  const bool checked = std::int64_t(width) * height <= CheckedPixels;
  std::vector<std::uint32_t>& memory = CheckedMemory();
  if (checked) memory.assign(std::size_t(width) * std::size_t(height), 0);
  const QString name = QStringLiteral("fuzzed");
  const auto picture = checked ? std::make_unique<VirtualBuffer>(width, height, name, memory.data())
                               : std::make_unique<VirtualBuffer>(width, height, name, VirtualBuffer::Uncleared{});
  file.seek(0);
  if (picture->IsEmpty() || !picture->Read(file, mode)) return Verdict::Refused;
  if (checked && !EveryPixelWritten(*picture)) __builtin_trap();
  return Verdict::Loaded;
}

int ModeOf(const QByteArray& bytes) {
  return bytes.startsWith("BM") ? VirtualBuffer::BitmapMode : VirtualBuffer::JpegMode;
}

namespace {

const quint32 telling[] = {0, 1, 2, 3, 4, 7, 8, 12, 16, 24, 32, 40, 52, 56, 108, 124, 0x7F, 0x80, 0xFF, 0x100,
                           0x7FFF, 0x8000, 0xFFFF, 0x10000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};

int Position(const QByteArray& bytes, std::mt19937& random) {
  const int size = int(bytes.size());
  const int range = random() % 2 ? std::min(size, 160) : size;
  return range ? int(random() % unsigned(range)) : 0;
}

void Damage(QByteArray& bytes, std::mt19937& random) {
  if (bytes.isEmpty()) {
    bytes.append(char(random()));
    return;
  }
  const int at = Position(bytes, random);
  const quint32 value = random() % 3 ? telling[random() % std::size(telling)] : quint32(random());
  switch (random() % 8) {
    case 0: bytes[at] = char(bytes[at] ^ (1 << (random() % 8))); break;
    case 1: bytes[at] = char(value); break;
    case 2:
    case 3: {
      char word[4];
      const int size = random() % 2 ? 2 : 4;
      if (random() % 3)
        size == 2 ? qToLittleEndian(quint16(value), word) : qToLittleEndian(value, word);
      else
        size == 2 ? qToBigEndian(quint16(value), word) : qToBigEndian(value, word);
      bytes.replace(at, std::min<qsizetype>(size, bytes.size() - at), QByteArray(word, size));
      break;
    }
    case 4: bytes.truncate(at); break;
    case 5: bytes.remove(at, 1 + random() % 64); break;
    case 6: bytes.insert(Position(bytes, random), bytes.mid(at, 1 + random() % 64)); break;
    default: {
      QByteArray noise(1 + random() % 16, '\0');
      for (char& c : noise) c = char(random());
      bytes.insert(at, noise);
    }
  }
}

}  // namespace

QByteArray Mutate(const QByteArray& seed, std::mt19937& random) {
  QByteArray bytes = seed;
  for (int damages = 1 + random() % 4; damages > 0; --damages) Damage(bytes, random);
  return bytes;
}

}  // namespace PictureFuzzing
