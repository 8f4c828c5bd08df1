#include "PuzzleFixtures.h"

#include "imaging/VirtualBuffer.h"
#include "puzzle/ChipMask.h"
#include "puzzle/PictureFile.h"
#include "puzzle/PuzzleChip.h"
#include "puzzle/PuzzleFileReaders.h"
#include "TestEnvironment.h"

#include <QFile>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>
#include <vector>

QString PuzzleFixtures::ScratchPath(const QString& name) {
  return TestEnvironment::ScratchFolder() + QLatin1Char('/') + name;
}

bool PuzzleFixtures::WithFileSizeLimit(long bytes, const std::function<bool()>& body) {
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = rlim_t(bytes);
  setrlimit(RLIMIT_FSIZE, &small);
  const bool answer = body();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  return answer;
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

bool PuzzleFixtures::PiecesPartition(ChipList& pieces, int width, int height) {
  std::vector<int> hits(std::size_t(width) * height, 0);
  bool inside = true;
  for (int i = 0; i < pieces.Count(); ++i)
    pieces[i]->Mask().ForEachRun([&](int y, int first, int last) {
      for (int x = first; x <= last; ++x) {
        if (x < 0 || y < 0 || x >= width || y >= height) inside = false;
        else ++hits[std::size_t(y) * width + x];
      }
    });
  return inside && std::all_of(hits.begin(), hits.end(), [](int n) { return n == 1; });
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
