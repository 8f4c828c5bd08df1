#pragma once
// Where the puzzle object gets its readers for puzzle files: JigsawFile for still puzzles and
// saved games, TessavinelumeFile for animated puzzles. An opener that gives null makes the
// puzzle report an unsupported file type. Tests put readers of their own in.

#include <QString>
#include <functional>
#include <memory>

class AnimatedFileReader;
class JigsawFileReader;

class PuzzleFileReaders {
public:
  using JigsawOpener = std::function<std::unique_ptr<JigsawFileReader>(const QString& path)>;
  using AnimatedOpener = std::function<std::unique_ptr<AnimatedFileReader>(const QString& path)>;

  // A reader that has read the file (its status tells how that went), or null.
  static std::unique_ptr<JigsawFileReader> OpenJigsaw(const QString& path);
  static std::unique_ptr<AnimatedFileReader> OpenAnimated(const QString& path);

  // An empty opener restores the program's own.
  static void SetJigsawOpener(JigsawOpener opener);
  static void SetAnimatedOpener(AnimatedOpener opener);
};
