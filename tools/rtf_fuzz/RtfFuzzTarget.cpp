// The note reader and writer as a libFuzzer target: any bytes must read without a fault,
// whatever the reader made must come back the same through our writer and reader, and the
// document must lay out and draw in a narrow window without a fault or a hang.

#include "RtfRoundTripCheck.h"
#include "richtext/LongWords.h"
#include "richtext/RtfReader.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // Documents need fonts, so an application; one without a screen.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  const std::string failure = RtfRoundTripCheck::Check(QByteArray(bytes.constData(), bytes.size()));
  if (!failure.empty()) {
    std::fputs("rtf_fuzz: the document did not come back the same:\n", stderr);
    std::fwrite(failure.data(), 1, failure.size(), stderr);  // it may hold any byte
    std::abort();
  }
  const std::unique_ptr<QTextDocument> document = RtfReader::Read(bytes, true).builder.Build();
  // Wrapped as the note window wraps it.
  QTextOption option = document->defaultTextOption();
  option.setWrapMode(LongWords::WrapMode(*document));
  document->setDefaultTextOption(option);
  document->setTextWidth(120);
  QImage window(120, 160, QImage::Format_RGB32);
  QPainter painter(&window);
  document->drawContents(&painter, QRectF(0, 0, 120, document->size().height()));
  return 0;
}
