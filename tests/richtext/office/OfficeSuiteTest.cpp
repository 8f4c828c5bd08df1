// Our RTF against the office suite: a note holding every feature our writer emits is
// converted by the suite to text and to RTF, and what it made must say what we wrote; a
// document written by hand in the suite's own format converts to RTF that we load.

#include "NoteFixtures.h"
#include "OfficeSuite.h"
#include "PictureFixtures.h"

#include "richtext/NotePicture.h"
#include "richtext/NoteText.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const QByteArray kFeatures =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
    "{\\f1\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f2\\fnil\\fcharset2 Symbol;}{\\f3\\fmodern\\fcharset0 Courier New;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
    "\\viewkind4\\uc1\\pard\\f0\\fs20 Plain \\b bold\\b0  \\i italic\\i0  \\ul underlined\\ulnone  \\strike struck\\strike0  "
    "\\fs32 large\\fs20  \\cf1 red\\cf0  \\f1 roman\\f0  \\f3 fixed\\f0 .\\par\r\n"
    "\\pard\\qc Centred.\\par\r\n\\pard\\qr Right.\\par\r\n\\pard\\qj Justified.\\par\r\n"
    "\\pard\\li720\\ri360\\fi-360 Indented.\\par\r\n"
    "\\pard{\\pntext\\f2\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'b7}}\\fi-360\\li360 Bulleted.\\par\r\n"
    "{\\pntext\\f2\\'b7\\tab}Bulleted again.\\par\r\n"
    "\\pard{\\pntext\\f0 1.\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart1\\pndec{\\pntxta.}}\\fi-360\\li360 Numbered.\\par\r\n"
    "{\\pntext\\f0 2.\\tab}Numbered again.\\par\r\n"
    "\\pard Linked {\\field{\\*\\fldinst{HYPERLINK \"http://example.org/\"}}{\\fldrslt{\\ul\\cf2 target}}} here.\\par\r\n"
    "Tabbed\\tab stop, broken\\line line.\\par\r\n"
    "Greek \\u945\\'3f\\u946\\'3f, CJK \\u20013\\'3f\\u25991\\'3f, emoji \\u-10179\\'3f\\u-8704\\'3f.\\par\r\n"
    "Pictured @.\\par\r\n"
    "\\page Paged.\\par\r\n}";

// Probe words: each is checked for its characters' and its paragraph's attributes.
const char* const kProbes[] = {"Plain", "bold",  "italic",  "underlined", "struck",   "large",   "red",
                               "roman", "fixed", "Centred", "Right",      "Justified", "Indented", "Bulleted",
                               "Numbered", "target", "Paged"};

QByteArray FeatureNote() {
  QByteArray rtf = kFeatures;
  return rtf.replace("@", NotePicture::GroupFor(PictureFixtures::Reference(60, 40)));  // as a paste is written
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Text as both sides can say it: line ends as LF, no pictures, page breaks as paragraph
// breaks, no list markers (we draw ours; the suite writes them into its text).
QString Comparable(QString text) {
  text.remove(QChar(0xFEFF));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  text.replace(QChar(NoteText::ParagraphMark), QLatin1Char('\n')).replace(QChar(NoteText::LineBreak), QLatin1Char('\n'));
  text.replace(QLatin1Char('\v'), QLatin1Char('\n')).remove(QChar(NoteText::ObjectChar)).remove(QLatin1Char('\f'));
  static const QRegularExpression marker(QStringLiteral("^[ \\t]*(?:[\\x{2022}\\x{25e6}\\x{25aa}\\x{b7}\\x{f0b7}o\\-]|\\d+[.)])[ \\t]+"),
                                         QRegularExpression::MultilineOption);
  text.remove(marker);
  while (text.endsWith(QLatin1Char('\n'))) text.chop(1);
  return text;
}

QString DocumentText(const QTextDocument& document) { return Comparable(Snapshot(document).text); }

struct Converted {
  QString text, rtf;
};

class OfficeSuiteTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (!suite_.Present()) GTEST_SKIP() << "soffice is not on the PATH: the office suite is not installed";
    ASSERT_TRUE(folder_.isValid());
  }

  Converted Convert(const QString& name, const QByteArray& bytes) {
    const QString input = folder_.filePath(name);
    EXPECT_TRUE(WriteFile(input, bytes));
    QString error;
    Converted out;
    out.text = suite_.Convert(input, QStringLiteral("txt:Text (encoded):UTF8"), folder_.filePath("text"), error);
    EXPECT_FALSE(out.text.isEmpty()) << error.toStdString();
    out.rtf = suite_.Convert(input, QStringLiteral("rtf"), folder_.filePath("rtf"), error);
    EXPECT_FALSE(out.rtf.isEmpty()) << error.toStdString();
    return out;
  }

  OfficeSuite suite_;
  QTemporaryDir folder_;
};

void ExpectSameAttributes(const NoteSnapshot& ours, const NoteSnapshot& theirs) {
  for (const char* probe : kProbes) {
    SCOPED_TRACE(probe);
    const qsizetype a = ours.text.indexOf(QLatin1String(probe)), b = theirs.text.indexOf(QLatin1String(probe));
    ASSERT_TRUE(a >= 0 && b >= 0);
    const CharAttrs& x = ours.chars.at(size_t(a));
    const CharAttrs& y = theirs.chars.at(size_t(b));
    EXPECT_EQ(x.bold, y.bold);
    EXPECT_EQ(x.italic, y.italic);
    EXPECT_EQ(x.underline != CFU_UNDERLINENONE, y.underline != CFU_UNDERLINENONE);
    EXPECT_EQ(x.strike, y.strike);
    EXPECT_EQ(x.sizeTwips, y.sizeTwips);
    EXPECT_EQ(x.hasColor ? x.color : qRgb(0, 0, 0), y.hasColor ? y.color : qRgb(0, 0, 0));
    EXPECT_EQ(x.face, y.face);
    EXPECT_EQ(x.fieldInstruction.contains(QLatin1String("http://example.org/")),
              y.fieldInstruction.contains(QLatin1String("http://example.org/")));
    const ParaAttrs& p = ours.paras.at(size_t(ours.text.left(a).count(QLatin1Char('\r'))));
    const ParaAttrs& q = theirs.paras.at(size_t(theirs.text.left(b).count(QLatin1Char('\r'))));
    EXPECT_EQ(p.align, q.align);
    EXPECT_NEAR(p.leftTwips, q.leftTwips, 1);
    EXPECT_NEAR(p.rightTwips, q.rightTwips, 1);
    EXPECT_NEAR(p.firstTwips, q.firstTwips, 1);
    EXPECT_EQ(p.numbering == PFN_BULLET, q.numbering == PFN_BULLET);
    EXPECT_EQ(p.numbering > PFN_BULLET, q.numbering > PFN_BULLET);
  }
}

// The suite's RTF of the feature note, read by our reader, says what the note says.
void ExpectFeatureNote(const QTextDocument& note, const QByteArray& theirs) {
  const RtfReader::Result read = RtfReader::Read(theirs, true);
  EXPECT_EQ(read.error, 0u);
  const std::unique_ptr<QTextDocument> back = read.builder.Build();
  EXPECT_EQ(DocumentText(*back).toStdString(), DocumentText(note).toStdString());
  const NoteSnapshot a = Snapshot(note), b = Snapshot(*back);
  ExpectSameAttributes(a, b);
  EXPECT_EQ(a.text.count(QChar(NoteText::ObjectChar)), b.text.count(QChar(NoteText::ObjectChar)));
  EXPECT_TRUE(std::any_of(b.paras.begin(), b.paras.end(), [](const ParaAttrs& p) { return p.pageBreakBefore; }));
}

TEST_F(OfficeSuiteTest, TheSuiteReadsWhatOurWriterWrites) {
  const std::unique_ptr<QTextDocument> note = ReadRtf(FeatureNote());
  const Converted converted = Convert(QStringLiteral("note.rtf"), RtfWriter::Write(*note));
  if (converted.text.isEmpty() || converted.rtf.isEmpty()) return;
  EXPECT_EQ(Comparable(QString::fromUtf8(ReadFile(converted.text))).toStdString(), DocumentText(*note).toStdString());
  const QByteArray theirs = ReadFile(converted.rtf);
  ExpectFeatureNote(*note, theirs);
  // New fixtures for the corpus when the suite changes: TV_OFFICE_KEEP=<folder>.
  if (qEnvironmentVariableIsSet("TV_OFFICE_KEEP")) WriteFile(qEnvironmentVariable("TV_OFFICE_KEEP") + "/office-note.rtf", theirs);
}

// The same check on what the suite wrote when the fixture was made: runs without the suite.
TEST(OfficeSuiteFixtureTest, TheSuitesKeptRtfOfTheFeatureNoteReadsAsTheNote) {
  const QByteArray theirs = ReadFile(QStringLiteral(TV_RTF_CORPUS "/office-note.rtf"));
  ASSERT_FALSE(theirs.isEmpty());
  ExpectFeatureNote(*ReadRtf(FeatureNote()), theirs);
}

TEST_F(OfficeSuiteTest, WeLoadWhatTheSuiteWritesOfItsOwnDocument) {
  const QByteArray fodt = ReadFile(QStringLiteral(TV_OFFICE_FIXTURES "/handwritten.fodt"));
  ASSERT_FALSE(fodt.isEmpty());
  const Converted converted = Convert(QStringLiteral("handwritten.fodt"), fodt);
  if (converted.text.isEmpty() || converted.rtf.isEmpty()) return;
  const QByteArray theirs = ReadFile(converted.rtf);
  const RtfReader::Result read = RtfReader::Read(theirs, true);
  EXPECT_EQ(read.error, 0u);
  const QString ours = DocumentText(*read.builder.Build());
  EXPECT_FALSE(ours.contains(QLatin1String("Headline"))) << "the header is dropped";
  EXPECT_FALSE(ours.contains(QLatin1String("Footnoted"))) << "the footnote is dropped";
  qsizetype at = 0;
  const QString text = QString::fromUtf8(ReadFile(converted.text));
  for (QString word : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
    word.remove(QRegularExpression(QStringLiteral("(?<=\\D)\\d+$")));  // a footnote's citation: the note is dropped
    // List markers are the suite's drawing; header and footnote words are checked above.
    if (!word.contains(QRegularExpression(QStringLiteral("\\w\\w"))) || word.contains(QLatin1String("Footnoted")) ||
        word.contains(QLatin1String("Headline")))
      continue;
    const qsizetype found = ours.indexOf(Comparable(word), at);
    EXPECT_GE(found, 0) << word.toStdString() << " in order in " << ours.toStdString();
    if (found >= 0) at = found + word.size();
  }
  if (qEnvironmentVariableIsSet("TV_OFFICE_KEEP"))
    WriteFile(qEnvironmentVariable("TV_OFFICE_KEEP") + "/office-handwritten.rtf", theirs);
}

}  // namespace
