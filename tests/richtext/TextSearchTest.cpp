// The windowed text search against QString's own search over the whole text: every match
// in both directions, across window borders, with case, whole words, ranges and long
// targets; and the gutter's icon arithmetic.

#include "richtext/GutterLayout.h"
#include "richtext/TextSearch.h"
#include "richtext/WordChar.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

bool WholeWordIn(const QString& text, int start, int end) {
  if (start > 0 && WordChar::Is(text[start - 1])) return false;
  return end >= text.size() || !WordChar::Is(text[end]);
}

// The reference: QString's search over the whole text, the match wholly inside the range.
int Reference(const QString& text, const SearchQuery& q, int start, int range) {
  const int n = static_cast<int>(q.target.size()), length = static_cast<int>(text.size());
  if (!TextSearch::MayMatch(q, length, start, range)) return -1;
  const Qt::CaseSensitivity cs = q.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
  const bool whole = q.wholeWord && std::all_of(q.target.begin(), q.target.end(), WordChar::Is);
  if (q.forward) {
    const int limit = range == -1 ? length : std::min(length, start + range);
    for (qsizetype i = text.indexOf(q.target, start, cs); i >= 0 && i + n <= limit; i = text.indexOf(q.target, i + 1, cs))
      if (!whole || WholeWordIn(text, int(i), int(i) + n)) return int(i);
    return -1;
  }
  const int limit = range == -1 ? 0 : std::max(0, start - range);
  for (qsizetype i = text.lastIndexOf(q.target, start - n, cs); i >= limit; i = i == 0 ? -1 : text.lastIndexOf(q.target, i - 1, cs))
    if (!whole || WholeWordIn(text, int(i), int(i) + n)) return int(i);
  return -1;
}

struct Searcher {
  QString text;
  int windows = 0;
  int stopAfter = -1;  // the pause stops the search after this many windows
  TextSearch Make() {
    return TextSearch([this](int a, int b) { ++windows; return text.mid(a, b - a); },
                      [this](int a, int b) { return WholeWordIn(text, a, b); },
                      [this] { return stopAfter < 0 || windows < stopAfter; });
  }
};

// Texts whose matches sit at and across the window borders.
QString Padded(int at, const QString& piece, int length, QChar fill = u'x') {
  QString text(length, fill);
  text.replace(at, piece.size(), piece);
  return text;
}

}  // namespace

TEST(TextSearchTest, EveryMatchAsTheWholeTextSearchFindsIt) {
  const QString longTarget = QString(150, u'q') + QStringLiteral("Zz") + QString(148, u'r');  // 300 characters
  std::vector<std::pair<QString, QString>> cases{
      {Padded(1020, "needle", 3000), "needle"},
      {Padded(1022, "needle", 3000), "NEEDLE"},
      {Padded(2046, "needle", 3000), "needle"},
      {Padded(1021, "aaab", 2100, u'c').replace(1021, 4, "aaab"), "aaab"},
      // A window ending "...aaa" and the next starting "ab": the shorter partial completes.
      {QString(1021, u'c') + "aaaab" + QString(900, u'c'), "aaab"},
      {QString(1022, u'c') + "aaaaab" + QString(2000, u'c'), "aaab"},
      {Padded(900, longTarget, 3000), longTarget},
      {Padded(2000, longTarget, 2400), longTarget.toLower()},
      {"one two one\rtwo one two\fone", "one"},
      {"Stra\u00DFe STRASSE stra\u00DFe", "stra\u00DFe"},
      {"caf\u00E9s caf\u00E9 xcaf\u00E9 caf\u00E9x", "caf\u00E9"},
      {"word wordy a word. sword word", "word"},
      {"look at me look atme", "look at"},
      {QString(5000, u'a'), "aaaa"},
      {"short", "longer than it"},
      {"", "x"},
  };
  int checked = 0;
  for (const auto& [text, target] : cases) {
    Searcher searcher{text};
    const int length = int(text.size());
    const std::vector<int> starts{0, 1, 5, 1000, 1019, 1023, 1024, 1025, 2047, 2048, length - 1, length};
    const std::vector<int> ranges{-1, 1, 10, 300, 1030, 2050, 0, -2};
    for (const bool forward : {true, false})
      for (const bool matchCase : {true, false})
        for (const bool wholeWord : {false, true})
          for (const int start : starts)
            for (const int range : ranges) {
              if (start < 0 || start > length) continue;
              const SearchQuery query{target, forward, matchCase, wholeWord};
              EXPECT_EQ(searcher.Make().Find(query, length, start, range), Reference(text, query, start, range))
                  << target.left(10).toStdString() << " in " << length << " from " << start << " range " << range
                  << (forward ? " forward" : " backward") << (matchCase ? " case" : "") << (wholeWord ? " whole" : "");
              ++checked;
            }
  }
  EXPECT_GT(checked, 3000);
}

TEST(TextSearchTest, NothingIsReadWithoutAPossibleMatchAndAStoppedPauseEndsTheSearch) {
  Searcher searcher{QString(5000, u'x') + "needle"};
  for (const auto& [query, start, range] :
       {std::tuple{SearchQuery{"", true}, 0, -1}, {SearchQuery{"needle", false}, 0, -1}, {SearchQuery{"needle", true}, 0, 0},
        {SearchQuery{"needle", true}, 0, -5}, {SearchQuery{"needle", true}, 5001, -1}})
    EXPECT_EQ(searcher.Make().Find(query, 5006, start, range), -1);
  EXPECT_EQ(searcher.windows, 0);
  EXPECT_EQ(searcher.Make().Find(SearchQuery{"needle", true}, 5006, 0, -1), 5000);
  searcher.windows = 0;
  searcher.stopAfter = 2;
  EXPECT_EQ(searcher.Make().Find(SearchQuery{"needle", true}, 5006, 0, -1), -1);
  EXPECT_EQ(searcher.windows, 2);
}

TEST(TextSearchTest, GutterIconsSpreadOverTheWidthAndShadesDarken) {
  EXPECT_EQ(GutterLayout::IconX(25, 1, 0), 7);
  EXPECT_EQ(GutterLayout::IconX(25, 2, 0), 1);
  EXPECT_EQ(GutterLayout::IconX(25, 2, 1), 12);
  for (int width : {12, 25, 40})
    for (int n = 1; n <= 3; ++n)
      for (int k = 0; k + 1 < n && width - 2 >= GutterLayout::IconWidth * n; ++k) EXPECT_LE(GutterLayout::IconX(width, n, k) + GutterLayout::IconWidth, GutterLayout::IconX(width, n, k + 1) + 1);
  EXPECT_EQ(GutterLayout::Shade(clBtnFace), clBtnShadow);
  EXPECT_EQ(GutterLayout::Shade(clYellow), clOlive);
  EXPECT_EQ(GutterLayout::Shade(clWhite), clGray);
  EXPECT_EQ(GutterLayout::Shade(0x123456), clBlack);
}
