// The puzzle file reader as a libFuzzer target (built with clang and TV_FUZZ=ON):
//   jigsaw_libfuzzer -max_len=8192 tests/puzzle/corpus

#include "JigsawFuzzing.h"

#include <QByteArray>
#include <QCoreApplication>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static int argc = 1;
  static char name[] = "jigsaw_libfuzzer";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  JigsawFuzzing::Load(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
  return 0;
}
