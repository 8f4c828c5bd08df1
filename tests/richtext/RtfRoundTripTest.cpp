// Property: any document the vocabulary can describe comes back from RTF as it was, text
// and every attribute, kept groups byte for byte, over many generated documents.

#include "NoteFixtures.h"

#include "richtext/FormatRecords.h"
#include "richtext/KeptGroup.h"
#include "richtext/NoteBuilder.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QTextDocument>

#include <gtest/gtest.h>

#include <random>

namespace {

class DocumentGenerator {
public:
  explicit DocumentGenerator(unsigned seed) : rng_(seed) {}

  std::unique_ptr<QTextDocument> Make() {
    NoteBuilder builder;
    const int paragraphs = Pick(1, 6);
    for (int p = 0; p < paragraphs; ++p) {
      const ParaAttrs para = Paragraph();
      const int runs = Pick(0, 5);
      bool inField = false;
      CharAttrs attrs;
      for (int r = 0; r < runs; ++r) {
        attrs = Char();
        // Fields stay inside a paragraph here and number in order, as a reader numbers them.
        if (inField ? Pick(0, 2) == 0 : Pick(0, 5) == 0) {
          inField = !inField;
          if (inField) ++fieldId_;
        }
        if (inField) {
          attrs.fieldId = fieldId_;
          attrs.fieldInstruction = QStringLiteral("HYPERLINK \"http://example.org/\u00fc\u4e2d/%1\"").arg(fieldId_);
        }
        if (Pick(0, 7) == 0) {
          QTextCharFormat format = attrs.ToFormat();
          KeptGroup::SetGroup(format, KeptBytes(), QSize(Pick(1, 300), Pick(1, 300)));
          builder.AddObject(format);
        } else {
          builder.AddText(Text(), attrs.ToFormat());
        }
      }
      if (p + 1 < paragraphs)
        builder.EndParagraph(para.ToFormat(), attrs.ToFormat());
      else
        builder.SetLastParagraph(para.ToFormat());
    }
    return builder.Build();
  }

  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

  CharAttrs Char() {
    static const struct {
      const char16_t* face;
      int charSet, pitchFamily;
    } kFonts[] = {{u"Arial", 0, FF_SWISS},
                  {u"Times New Roman", 0, FF_ROMAN | 2},
                  {u"Courier New", 0, FF_MODERN | 1},
                  {u"Greek Face", 161, FF_SWISS},
                  {u"Caf\u00e9 Sans", 0, FF_DONTCARE},
                  {u"\uff2d\uff33 \u660e\u671d", 128, FF_ROMAN | 1},
                  {u"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac", 161, FF_SWISS}};
    static const QRgb kColors[] = {qRgb(255, 0, 0), qRgb(0, 128, 0), qRgb(0, 0, 255), qRgb(12, 34, 56)};
    CharAttrs a;
    const auto& font = kFonts[Pick(0, 6)];
    a.face = QString::fromUtf16(font.face);
    a.charSet = font.charSet;
    a.pitchFamily = font.pitchFamily;
    a.sizeTwips = Pick(2, 200) * 10;
    a.bold = Pick(0, 1), a.italic = Pick(0, 1), a.strike = Pick(0, 3) == 0, a.hidden = Pick(0, 7) == 0;
    a.underline = Pick(0, 3) == 0 ? Pick(1, 9) : 0;
    a.script = Pick(0, 4) == 0 ? Pick(1, 2) : 0;
    a.offsetTwips = Pick(0, 4) == 0 ? Pick(-10, 10) * 10 : 0;
    a.hasColor = Pick(0, 2) == 0;
    a.color = a.hasColor ? kColors[Pick(0, 3)] : 0;
    a.hasBack = Pick(0, 3) == 0;
    a.back = a.hasBack ? kColors[Pick(0, 3)] : 0;
    return a;
  }

  ParaAttrs Paragraph() {
    ParaAttrs p;
    p.align = Pick(PFA_LEFT, PFA_JUSTIFY);
    p.leftTwips = Pick(0, 3) == 0 ? Pick(0, 2880) : 0;
    p.rightTwips = Pick(0, 3) == 0 ? Pick(0, 1440) : 0;
    p.firstTwips = Pick(0, 3) == 0 ? Pick(-720, 720) : 0;
    p.spaceBefore = Pick(0, 3) == 0 ? Pick(0, 600) : 0;
    p.spaceAfter = Pick(0, 3) == 0 ? Pick(0, 600) : 0;
    switch (Pick(0, 3)) {
      case 1: p.lineSpacing = Pick(200, 600); break;
      case 2: p.lineSpacing = -Pick(200, 600); break;
      case 3: p.lineSpacing = Pick(240, 720), p.lineMultiple = true; break;
      default: break;
    }
    for (int i = Pick(0, 3), at = 0; i > 0; --i) p.tabs.append(at += Pick(100, 1500));
    p.pageBreakBefore = Pick(0, 5) == 0;
    const int kind = Pick(0, 2) == 0 ? Pick(PFN_BULLET, PFN_UCROMAN) : 0;
    if (kind == PFN_BULLET) {
      p.numbering = kind, p.numberingStyle = PFNS_PLAIN, p.numberingTab = Pick(0, 720);
    } else if (kind != 0) {
      static const int kStyles[] = {PFNS_PAREN, PFNS_PARENS, PFNS_PERIOD, PFNS_PLAIN};
      p.numbering = kind, p.numberingStyle = kStyles[Pick(0, 3)], p.numberingStart = Pick(1, 30);
      p.numberingTab = Pick(0, 720);
    }
    if (Pick(0, 4) == 0)
      for (int i = Pick(1, 4), at = 0; i > 0; --i) p.cells.append(at += Pick(300, 3000));
    return p;
  }

private:
  QString Text() {
    static const char16_t* kPieces[] = {u"word", u" ", u"Two words", u"\\{}", u"caf\u00e9 \u20ac \u0178",
                                        u"\u03b1\u03b2\u03a9", u"\u4e2d\u6587", u"\U0001F600", u"\t", u"\f",
                                        u"\u2028", u"-5", u"\u00a0"};
    QString text;
    for (int i = Pick(1, 4); i > 0; --i) text += QString::fromUtf16(kPieces[Pick(0, 12)]);
    return text;
  }

  QByteArray KeptBytes() {
    QByteArray hex;
    for (int i = Pick(1, 40); i > 0; --i) hex += QByteArray::number(Pick(0, 255), 16).rightJustified(2, '0');
    switch (Pick(0, 2)) {
      case 0: return "{\\pict\\wmetafile8\\picw100\\pich50\\picwgoal1500\\pichgoal750 " + hex + "}";
      case 1: return "{\\pict\\dibitmap0\\bin4 }{\\}" + hex + "}";  // braces inside a binary block
      default: return "{\\object\\objemb\\objw200\\objh100{\\*\\objdata " + hex + "}{\\result{\\pict " + hex + "}}}";
    }
  }

  std::mt19937 rng_;
  int fieldId_ = 0;
};

}  // namespace

TEST(RtfRoundTripTest, GeneratedDocumentsComeBackWithEveryAttribute) {
  DocumentGenerator generator(20261206);
  for (int n = 0; n < 300; ++n) {
    const auto original = generator.Make();
    const QByteArray rtf = RtfWriter::Write(*original);
    ASSERT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{")) << rtf.left(80).constData();
    const auto copy = ReadRtf(rtf);
    const std::string difference = Difference(Snapshot(*original), Snapshot(*copy));
    ASSERT_EQ(difference, "") << "document " << n << "\n" << rtf.constData();
  }
}

TEST(RtfRoundTripTest, ARangeIsWrittenAloneAndReadBackAsItWas) {
  DocumentGenerator generator(7);
  for (int n = 0; n < 200; ++n) {
    const auto original = generator.Make();
    const int length = original->characterCount() - 1;
    // A range may split a surrogate pair; its halves read back as U+FFFD, so keep them whole.
    auto whole = [&](int position) {
      return position > 0 && original->characterAt(position - 1).isHighSurrogate() ? position - 1 : position;
    };
    const int start = whole(generator.Pick(0, length));
    const int end = whole(generator.Pick(start, length));
    if (start == 0 && end == length) continue;  // the whole document, with its final mark
    const QByteArray rtf = RtfWriter::Write(*original, start, end);
    const auto copy = RtfReader::Read(rtf, false).builder.Build();
    const std::string difference = Difference(Snapshot(*original, start, end), Snapshot(*copy), false);
    ASSERT_EQ(difference, "") << "range " << start << ".." << end << "\n" << rtf.constData();
  }
}

TEST(RtfRoundTripTest, FormatRecordsCarryEveryAttributeTheyHaveFieldsFor) {
  DocumentGenerator generator(99);
  for (int n = 0; n < 500; ++n) {
    const CharAttrs chars = generator.Char();
    CharAttrs back;
    FormatRecords::Apply(FormatRecords::ToRecord(chars), back);
    ASSERT_EQ(Describe(back), Describe(chars));

    ParaAttrs para = generator.Paragraph();
    if (para.lineMultiple) para.lineSpacing -= para.lineSpacing % 12;  // lines in twentieths
    ParaAttrs paraBack;
    FormatRecords::Apply(FormatRecords::ToRecord(para), paraBack);
    if (!para.cells.isEmpty()) para.tabs = para.cells, para.cells.clear();  // a row's stops are its cells
    ASSERT_EQ(Describe(paraBack), Describe(para));
    ASSERT_TRUE(paraBack == para);
  }
}
