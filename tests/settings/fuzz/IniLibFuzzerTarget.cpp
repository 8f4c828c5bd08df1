// The INI readers as a libFuzzer target (built with clang and TV_FUZZ=ON):
//   ini_libfuzzer tests/settings/corpus

#include "IniFuzzing.h"

#include <QByteArray>
#include <QGuiApplication>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // The sponsor's icon is read by Qt's image readers; no screen is needed.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  IniFuzzing::Load(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
  return 0;
}
