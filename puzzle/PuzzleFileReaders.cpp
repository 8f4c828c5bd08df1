#include "PuzzleFileReaders.h"

#include "AnimatedFileReader.h"
#include "JigsawFile.h"
#include "TessavinelumeFile.h"

namespace {

PuzzleFileReaders::JigsawOpener& JigsawOpenerSlot() {
  static PuzzleFileReaders::JigsawOpener opener;
  return opener;
}

PuzzleFileReaders::AnimatedOpener& AnimatedOpenerSlot() {
  static PuzzleFileReaders::AnimatedOpener opener;
  return opener;
}

}  // namespace

std::unique_ptr<JigsawFileReader> PuzzleFileReaders::OpenJigsaw(const QString& path) {
  const JigsawOpener& opener = JigsawOpenerSlot();
  return opener ? opener(path) : std::make_unique<JigsawFile>(path);
}

std::unique_ptr<AnimatedFileReader> PuzzleFileReaders::OpenAnimated(const QString& path) {
  const AnimatedOpener& opener = AnimatedOpenerSlot();
  return opener ? opener(path) : std::make_unique<TessavinelumeFile>(path);
}

void PuzzleFileReaders::SetJigsawOpener(JigsawOpener opener) {
  JigsawOpenerSlot() = std::move(opener);
}

void PuzzleFileReaders::SetAnimatedOpener(AnimatedOpener opener) {
  AnimatedOpenerSlot() = std::move(opener);
}
