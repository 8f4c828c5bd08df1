#pragma once
// The editor's text search: reads the text in windows of 1024 positions, so that the user
// can be let in between windows, and finds a match that straddles a window border because
// each window repeats the last target length - 1 positions of the one before it. Positions
// are UTF-16 code units; without matching case both sides fold case per character.

#include <QString>

#include <functional>

struct SearchQuery {
  QString target;
  bool forward = true;
  bool matchCase = false;
  bool wholeWord = false;
};

class TextSearch {
public:
  static constexpr int WindowSize = 1024;
  // The text of [start, end).
  using Reader = std::function<QString(int start, int end)>;
  using WholeWordTest = std::function<bool(int start, int end)>;
  // Run between windows; false stops the search without a match.
  using Pause = std::function<bool()>;

  TextSearch(Reader reader, WholeWordTest wholeWord, Pause pause)
      : read_(std::move(reader)), isWholeWord_(std::move(wholeWord)), pause_(std::move(pause)) {}

  // The first match from start in the query's direction within range positions (-1 to the
  // text's end or start), wholly inside that range; -1 when there is none.
  int Find(const SearchQuery& query, int length, int start, int range) const;

  static bool MayMatch(const SearchQuery& query, int length, int start, int range);
  // Case folded per UTF-16 code unit, so that positions stay.
  static QString Folded(QString text);

private:
  int FindForward(const QString& target, bool matchCase, bool wholeWord, int start, int limit) const;
  int FindBackward(const QString& target, bool matchCase, bool wholeWord, int start, int limit) const;
  QString Window(int start, int end, bool matchCase) const;

  Reader read_;
  WholeWordTest isWholeWord_;
  Pause pause_;
};
