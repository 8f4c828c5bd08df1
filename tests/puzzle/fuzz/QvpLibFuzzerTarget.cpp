// The animated-puzzle reader and its frame transfer as a libFuzzer target (built with clang
// and TV_FUZZ=ON):
//   qvp_libfuzzer tests/puzzle/corpus/qvp

#include "QvpFuzzing.h"

#include <QByteArray>
#include <QCoreApplication>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static int argc = 1;
  static char name[] = "qvp_libfuzzer";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  QvpFuzzing::Load(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
  return 0;
}
