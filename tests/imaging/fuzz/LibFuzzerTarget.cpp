// The picture loader as a libFuzzer target (built with clang and TV_FUZZ=ON):
//   picture_libfuzzer -max_len=4096 tests/imaging/corpus/bmp tests/imaging/corpus/jpeg
// The file's first bytes choose the format, as they do in replays.

#include "PictureFuzzing.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  PictureFuzzing::Load(bytes, PictureFuzzing::ModeOf(bytes));
  return 0;
}
