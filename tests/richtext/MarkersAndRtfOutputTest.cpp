// List markers at the letter boundaries and across lists of another style, searches whose
// match touches the text's very end or start, and the RTF we write for tables, code pages,
// characters beyond 16 signed bits and characters under symbol-set fonts, checked against
// hand-written RTF.

#include "richtext/ListMarker.h"
#include "richtext/NoteFormat.h"
#include "richtext/RichEditDefs.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"
#include "richtext/TextSearch.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

// Bijective base 26, by repeated division as on paper.
QString Lettered(int n) {
  QString out;
  while (n > 0) {
    const int digit = (n - 1) % 26;
    out.prepend(QChar(u'a' + digit));
    n = (n - digit - 1) / 26;
  }
  return out;
}

TEST(ListMarkerTest, LettersRollOverAfterZ) {
  const std::pair<int, const char*> known[] = {{1, "a"}, {25, "y"}, {26, "z"}, {27, "aa"}, {28, "ab"},
                                               {52, "az"}, {53, "ba"}, {702, "zz"}, {703, "aaa"}};
  for (auto [n, text] : known) {
    EXPECT_EQ(ListMarker::Text(PFN_LCLETTER, PFNS_PERIOD, n), QString::fromLatin1(text) + u'.') << n;
    EXPECT_EQ(ListMarker::Text(PFN_UCLETTER, PFNS_PAREN, n), QString::fromLatin1(text).toUpper() + u')') << n;
  }
  for (int n = 1; n <= 2000; ++n) ASSERT_EQ(ListMarker::Text(PFN_LCLETTER, PFNS_PLAIN, n), Lettered(n)) << n;
  EXPECT_EQ(ListMarker::Text(PFN_LCROMAN, PFNS_PARENS, 1994), QStringLiteral("(mcmxciv)"));
  EXPECT_EQ(ListMarker::Text(PFN_ARABIC, PFNS_NONUMBER, 3), QString());
}

// A list of another style starts its own count.
TEST(ListMarkerTest, AListOfAnotherStyleCountsAfresh) {
  QTextDocument document;
  QTextCursor cursor(&document);
  const struct { int kind, style; } blocks[] = {{PFN_LCLETTER, PFNS_PERIOD}, {PFN_LCLETTER, PFNS_PERIOD},
                                                 {PFN_LCLETTER, PFNS_PAREN}, {PFN_ARABIC, PFNS_PAREN},
                                                 {PFN_LCLETTER, PFNS_PAREN}};
  for (std::size_t i = 0; i < std::size(blocks); ++i) {
    if (i > 0) cursor.insertBlock();
    QTextBlockFormat format;
    format.setProperty(NoteProperty::Numbering, blocks[i].kind);
    format.setProperty(NoteProperty::NumberingStyle, blocks[i].style);
    cursor.setBlockFormat(format);
    cursor.insertText(QStringLiteral("item"));
  }
  QStringList markers;
  for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) markers << ListMarker::ForBlock(b);
  EXPECT_EQ(markers, QStringList({"a.", "b.", "a)", "1)", "a)"}));
}

QString Searched(const QString& text, const QString& target, bool forward, int start) {
  const TextSearch search([&text](int a, int b) { return text.mid(a, b - a); },
                          [](int, int) { return true; }, [] { return true; });
  return QString::number(search.Find(SearchQuery{target, forward, true, false}, int(text.size()), start, -1));
}

// A match may end on the text's last character, or start on its first.
TEST(TextSearchBoundaries, MatchesTouchingTheEnds) {
  EXPECT_EQ(Searched(QStringLiteral("abcabc"), QStringLiteral("abc"), true, 3), QStringLiteral("3"));
  EXPECT_EQ(Searched(QStringLiteral("abcabc"), QStringLiteral("abc"), true, 4), QStringLiteral("-1"));
  EXPECT_EQ(Searched(QStringLiteral("abcabc"), QStringLiteral("abc"), false, 3), QStringLiteral("0"));
  EXPECT_EQ(Searched(QStringLiteral("abcabc"), QStringLiteral("abc"), false, 2), QStringLiteral("-1"));
  EXPECT_EQ(Searched(QStringLiteral("abc"), QStringLiteral("abc"), true, 0), QStringLiteral("0"));
  EXPECT_EQ(Searched(QStringLiteral("abc"), QStringLiteral("abc"), false, 3), QStringLiteral("0"));
}

// Our RTF for a document read from hand-written RTF.
QByteArray Rewritten(const QByteArray& rtf, int start = 0, int end = -1, bool asRange = false) {
  RtfReader::Result read = RtfReader::Read(rtf, true);
  EXPECT_EQ(read.error, 0u);
  const std::unique_ptr<QTextDocument> document = read.builder.Build();
  return RtfWriter::Write(*document, start, end, asRange);
}

const QByteArray FontTable = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Arial;}{\\f1\\fnil\\fcharset204 Cyr;}}";

TEST(RtfOutputTest, ATableRowIsWrittenAsOne) {
  const QByteArray out = Rewritten(FontTable + "\\trowd\\cellx1000\\cellx2500\\pard\\intbl\\f0 a\\cell b\\cell\\row"
                                               "\\pard after\\par}");
  EXPECT_TRUE(out.contains("{\\f0\\fswiss\\fprq2\\fcharset0 Arial;}")) << out.constData();
  EXPECT_TRUE(out.contains("\\trowd\\cellx1000\\cellx2500")) << out.constData();
  EXPECT_TRUE(out.contains(" a\\cell b\\cell\\row\r\n")) << out.constData();
  EXPECT_EQ(out.count("\\intbl"), 1) << out.constData();
  EXPECT_EQ(out.count("\\row"), 1) << out.constData();
  EXPECT_TRUE(out.contains("after\\par\r\n") || out.contains("after}")) << out.constData();
  // Only part of the row in the range: its text, with its cells as tabs, and no row.
  const QByteArray part = Rewritten(FontTable + "\\trowd\\cellx1000\\cellx2500\\pard\\intbl\\f0 a\\cell b\\cell\\row"
                                                "\\pard after\\par}", 0, 3, true);
  EXPECT_TRUE(part.contains("a\\tab b")) << part.constData();
  EXPECT_FALSE(part.contains("\\trowd")) << part.constData();
  EXPECT_FALSE(part.contains("\\cell")) << part.constData();
  EXPECT_FALSE(part.contains("\\intbl")) << part.constData();
}

// A character goes as a byte only in its font's own code page; otherwise, and beyond the
// positive 16-bit range, as a signed \u with a question mark for readers without Unicode.
TEST(RtfOutputTest, CharactersByTheirFontsCodePage) {
  const QByteArray out = Rewritten(FontTable + "\\uc1\\f0 x\\u233?y\\f1 z\\u233?w\\f0 \\u-223?\\par}");
  EXPECT_TRUE(out.contains("x\\'e9y")) << out.constData();
  EXPECT_TRUE(out.contains("z\\u233\\'3fw")) << out.constData();
  EXPECT_TRUE(out.contains("\\u-223\\'3f")) << out.constData();
  EXPECT_FALSE(out.contains("65313")) << out.constData();
}

QString ReadText(const QByteArray& rtf) { return RtfReader::Read(rtf, true).builder.Build()->toPlainText(); }

// Under a symbol-set font a byte reads as that font's character (the Symbol face's own, any
// other face's at U+F0xx), while \u gives any character: whatever was read, ASCII or not,
// must be written so that it reads back the same.
TEST(RtfOutputTest, CharactersUnderSymbolFontsReadBackAsTheyWereRead) {
  const QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fnil\\fcharset2 Wingdings;}"
                         "{\\f2\\fnil\\fcharset2 Symbol;}}\\uc1"
                         "\\f1 a\\u33?\\u123?\\{\\'e8\\'ff\\f2 b\\u97?\\u-3999?!\\{\\u92?\\'b7\\par}";
  const QString read = QString::fromUtf16(u"\uF061!{\uF07B\uF0E8\uF0FF\u03B2a\uF061!{\\\u2022");
  ASSERT_EQ(ReadText(rtf), read);
  const QByteArray out = Rewritten(rtf);
  EXPECT_EQ(ReadText(out), read) << out.constData();
  // What reads back as itself is written as before: codes as bytes, the Symbol face's
  // own ASCII as it is.
  EXPECT_TRUE(out.contains("\\'61") && out.contains("\\'7b") && out.contains("\\'e8\\'ff")) << out.constData();
  EXPECT_TRUE(out.contains("\\'b7") && out.contains("!\\'7b")) << out.constData();
}

}  // namespace
