#pragma once
// The files the open dialog lists for a folder: which patterns each tab looks for, the
// name shown for each file and the kind of glyph beside it. Entries are kept in one list
// (name, path and kind together) so that two files sharing a base name stay apart.

#include <QString>
#include <QStringList>
#include <vector>

class Puzzle;

// The open dialog's tabs, in their order.
enum class PuzzleTab { Begin = 0, Continue = 1, Create = 2 };

class PuzzleFileList {
public:
  enum Kind { Picture, Animated, SavedGame };
  struct Entry {
    QString name;
    QString path;
    Kind kind;
  };

  // The patterns of a tab for a folder (ending in '/'). On the Begin tab animated puzzles
  // lead, and with `animatedOnly` they are all that is asked for; `animatedFound` tells
  // whether the folder holds any.
  static QStringList Patterns(PuzzleTab tab, const QString& folder, bool animatedOnly,
                              bool* animatedFound);
  // The file name, cut at its last '.' unless extensions are shown.
  static QString DisplayName(const QString& path, bool showExts);
  static Kind KindOf(const QString& path);
  // Whether deleting the file would break the game being played: it is the game's source or
  // the animated file its saved game names.
  static bool UsedByGame(const Puzzle* game, const QString& path);

  // Every match, sorted by name without regard to case, duplicates kept in the order found;
  // JPEGs the picture reader cannot take (progressive ones) are left out.
  void Fill(const QStringList& patterns, bool showExts);
  void Clear() { entries.clear(); }
  int Count() const { return int(entries.size()); }
  const Entry& At(int index) const { return entries.at(std::size_t(index)); }
  // The index of a path; -1 when it is not listed.
  int IndexOfPath(const QString& path) const;

private:
  std::vector<Entry> entries;
};
