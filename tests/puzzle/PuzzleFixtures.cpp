#include "PuzzleFixtures.h"

#include "imaging/VirtualBuffer.h"
#include "puzzle/PictureFile.h"
#include "puzzle/PuzzleFileReaders.h"
#include "TestEnvironment.h"

#include <QFile>

QString PuzzleFixtures::ScratchPath(const QString& name) {
  return TestEnvironment::ScratchFolder() + QLatin1Char('/') + name;
}

QString PuzzleFixtures::WritePicture(const QString& name, int width, int height) {
  VirtualBuffer picture(width, height, QStringLiteral("fixture"));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      picture.Row(y)[x] = std::uint32_t(x * 7 & 0xFF) << 16 | (y * 5 & 0xFF) << 8 | 1;
  const QString path = ScratchPath(name);
  QFile file(path);
  file.open(QIODevice::WriteOnly | QIODevice::Truncate);
  const bool bitmap = PictureFile::FormatOf(name) == PictureFile::Bitmap;
  picture.Write(file, bitmap ? VirtualBuffer::BitmapMode : VirtualBuffer::JpegMode);
  return path;
}

std::unique_ptr<VirtualBuffer> FakeJigsawReader::GetPicture() {
  if (decodedSize.isEmpty()) return nullptr;
  auto buffer = std::make_unique<VirtualBuffer>(decodedSize.width(), decodedSize.height(),
                                                QStringLiteral("saved picture"));
  return buffer;
}

ReaderScope::ReaderScope() {
  PuzzleFileReaders::SetJigsawOpener(
      [this](const QString&) { return std::make_unique<FakeJigsawReader>(jigsaw); });
}

ReaderScope::~ReaderScope() { PuzzleFileReaders::SetJigsawOpener({}); }
