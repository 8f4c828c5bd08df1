// Hand-made RTF in the control's dialect and in the office suite's, each read and compared
// with the text, attributes and twips it must give.

#include "NoteFixtures.h"

#include "richtext/KeptGroup.h"
#include "richtext/ListMarker.h"
#include "richtext/NoteText.h"

#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QByteArray kHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
    "{\\f1\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f2\\fnil\\fcharset2 Symbol;}"
    "{\\f3\\fnil\\fcharset2 Wingdings;}{\\f4\\fswiss\\fcharset161 Greek Face;}"
    "{\\f5\\fswiss\\fcharset204 Cyrillic Face;}{\\f6\\fnil\\fcharset128 MS Mincho;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n\\viewkind4\\uc1\\pard ";

struct Sample {
  const char* name;
  QByteArray body;  // after the header
  QString text;
  std::function<void(const QTextDocument&, const NoteSnapshot&)> check;
};

CharAttrs At(const NoteSnapshot& snap, int position) { return snap.chars.at(static_cast<size_t>(position)); }

std::vector<Sample> Samples() {
  return {
      {"character formats", "a\\b b\\b0\\i c\\i0\\ul d\\uldb e\\ulwave f\\ulnone\\strike g\\strike0\\sub h\\nosupersub"
                            "\\super i\\nosupersub\\up6 j\\dn4 k\\up0\\fs40 l\\fs24\\f1 m\\f0\\cf1 n\\cf0\\highlight2 o"
                            "\\highlight0\\v p\\v0 q}",
       QStringLiteral("abcdefghijklmnopq"),
       [](const QTextDocument&, const NoteSnapshot& s) {
         EXPECT_EQ(At(s, 0).face, u"Arial");
         EXPECT_EQ(At(s, 0).pitchFamily, FF_SWISS);
         EXPECT_EQ(At(s, 0).sizeTwips, 240);
         EXPECT_TRUE(At(s, 1).bold);
         EXPECT_TRUE(At(s, 2).italic && !At(s, 2).bold);
         EXPECT_EQ(At(s, 3).underline, CFU_UNDERLINE);
         EXPECT_EQ(At(s, 4).underline, CFU_UNDERLINEDOUBLE);
         EXPECT_EQ(At(s, 5).underline, CFU_UNDERLINEWAVE);
         EXPECT_TRUE(At(s, 6).strike && At(s, 6).underline == CFU_UNDERLINENONE);
         EXPECT_EQ(At(s, 7).script, 1);
         EXPECT_EQ(At(s, 8).script, 2);
         EXPECT_EQ(At(s, 9).offsetTwips, 60);
         EXPECT_EQ(At(s, 10).offsetTwips, -40);
         EXPECT_EQ(At(s, 11).sizeTwips, 400);
         EXPECT_EQ(At(s, 12).face, u"Times New Roman");
         EXPECT_EQ(At(s, 12).pitchFamily, FF_ROMAN | 2);
         EXPECT_TRUE(At(s, 13).hasColor && At(s, 13).color == qRgb(255, 0, 0));
         EXPECT_TRUE(At(s, 14).hasBack && At(s, 14).back == qRgb(0, 0, 255) && !At(s, 14).hasColor);
         EXPECT_TRUE(At(s, 15).hidden && !At(s, 15).hasBack);
         EXPECT_FALSE(At(s, 16).hidden);
       }},
      {"paragraph formats", "\\qc\\li720\\ri360\\fi-360\\sb120\\sa240\\sl-300\\slmult0\\tx1440\\tqr\\tx2880 a\\par"
                            "\\pard\\qj\\sl360\\slmult1\\pagebb b\\par\\pard\\qr c\\par}",
       QStringLiteral("a\rb\rc"),
       [](const QTextDocument&, const NoteSnapshot& s) {
         const ParaAttrs& a = s.paras.at(0);
         EXPECT_EQ(a.align, PFA_CENTER);
         EXPECT_EQ(a.leftTwips, 720);
         EXPECT_EQ(a.rightTwips, 360);
         EXPECT_EQ(a.firstTwips, -360);
         EXPECT_EQ(a.spaceBefore, 120);
         EXPECT_EQ(a.spaceAfter, 240);
         EXPECT_EQ(a.lineSpacing, -300);
         EXPECT_EQ(a.tabs, (QList<int>{1440, 2880}));
         const ParaAttrs& b = s.paras.at(1);
         EXPECT_EQ(b.align, PFA_JUSTIFY);
         EXPECT_TRUE(b.lineMultiple && b.lineSpacing == 360 && b.pageBreakBefore);
         EXPECT_EQ(b.leftTwips, 0);
         EXPECT_EQ(s.paras.at(2).align, PFA_RIGHT);
       }},
      {"symbol fonts and specials", "{\\f2\\'b7\\'61}{\\f3\\'6c}\\bullet\\lquote\\rquote\\ldblquote\\rdblquote"
                                    "\\endash\\emdash\\~\\-\\_\\{\\}\\\\\\tab x}",
       QStringLiteral("\u2022\u03B1\uF06C\u2022\u2018\u2019\u201C\u201D\u2013\u2014\u00A0\u00AD\u2011{}\\\tx"), nullptr},
      {"unicode and code pages", "\\u8364\\'80{\\uc2\\u937\\'3f\\'3f}\\uc0\\u945 {\\f4\\'e1}{\\f5\\'e0}"
                                 "{\\f6\\'82\\'a0\\'93\\'fa}\\u-10179\\u-8704 \\'e9\\'4}",
       QStringLiteral("\u20AC\u03A9\u03B1\u03B1\u0430\u3042\u65E5\U0001F600\u00E9"), nullptr},
      {"associated fonts", "\\loch\\af1\\hich\\af1\\dbch\\af2\\f1 Latin\\rtlch\\ltrch\\af0 text}",
       QStringLiteral("Latintext"),
       [](const QTextDocument&, const NoteSnapshot& s) { EXPECT_EQ(At(s, 6).face, u"Times New Roman"); }},
      {"skipped destinations", "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}{\\header H}{\\footer F}"
                               "{\\*\\pgdsctbl{\\pgdsc0 X}}{\\*\\unknown U}{\\*\\generator G;}a{\\footnote N}b"
                               "{\\pntext 1.\\tab}{\\listtext 2.}c}",
       QStringLiteral("abc"), nullptr},
      {"hyperlink field", "see {\\field{\\*\\fldinst{HYPERLINK \"http://example.org/\"}}{\\fldrslt{\\ul\\cf2 site}}}"
                          " now}",
       QStringLiteral("see site now"),
       [](const QTextDocument&, const NoteSnapshot& s) {
         EXPECT_EQ(At(s, 4).fieldInstruction, u"HYPERLINK \"http://example.org/\"");
         EXPECT_EQ(At(s, 4).fieldId, 1);
         EXPECT_EQ(At(s, 4).underline, CFU_UNDERLINE);
         EXPECT_EQ(At(s, 7).fieldId, 1);
         EXPECT_EQ(At(s, 8).fieldId, 0);
         EXPECT_EQ(At(s, 8).underline, CFU_UNDERLINENONE);
       }},
      {"pictures and objects", "a{\\pict\\wmetafile8\\picw2000\\pich1000\\picwgoal1440\\pichgoal720 0a0b{}}"
                               "b{\\*\\shppict{\\pict\\pngblip\\picw40\\pich30\\picscalex50\\picscaley200 89}}\r\n"
                               "{\\nonshppict{\\pict\\wmetafile8 01}}c{\\object\\objemb\\objw2880\\objh1440"
                               "{\\*\\objdata 0102}{\\result{\\pict\\picwgoal100\\pichgoal100 03}}}d}",
       QStringLiteral("a\uFFFCb\uFFFCc\uFFFCd"),
       [](const QTextDocument& d, const NoteSnapshot& s) {
         ASSERT_EQ(s.kept.size(), 3u);
         EXPECT_EQ(s.kept[0], QByteArray("{\\pict\\wmetafile8\\picw2000\\pich1000\\picwgoal1440\\pichgoal720 0a0b{}}"));
         EXPECT_TRUE(s.kept[1].startsWith("{\\*\\shppict") && s.kept[1].endsWith("{\\nonshppict{\\pict\\wmetafile8 01}}"));
         EXPECT_TRUE(s.kept[2].startsWith("{\\object") && s.kept[2].endsWith("03}}}"));
         QTextCursor cursor(const_cast<QTextDocument*>(&d));
         auto size = [&](int position) {
           cursor.setPosition(position + 1);
           return KeptGroup::Size(cursor.charFormat());
         };
         const int inch = qRound(NoteFormat::TwipsToPixels(1440));
         EXPECT_EQ(size(1), QSize(inch, inch / 2));
         EXPECT_EQ(size(3), QSize(20, 60));
         EXPECT_EQ(size(5), QSize(2 * inch, inch));
       }},
      {"word 95 numbering", "{\\pntext\\f2\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent360{\\pntxtb\\'b7}}"
                            "\\fi-360\\li360 one\\par two\\par\\pard{\\pntext 3)\\tab}{\\*\\pn\\pnlvlbody\\pnindent240"
                            "\\pnstart3\\pnlcrm{\\pntxtb (}{\\pntxta )}}a\\par{\\pntext 4)\\tab}b\\par\\pard c\\par}",
       QStringLiteral("one\rtwo\ra\rb\rc"),
       [](const QTextDocument& d, const NoteSnapshot& s) {
         EXPECT_EQ(s.paras.at(0).numbering, PFN_BULLET);
         EXPECT_EQ(s.paras.at(0).numberingTab, 360);
         EXPECT_EQ(s.paras.at(2).numbering, PFN_LCROMAN);
         EXPECT_EQ(s.paras.at(2).numberingStyle, PFNS_PARENS);
         EXPECT_EQ(s.paras.at(2).numberingStart, 3);
         EXPECT_EQ(s.paras.at(4).numbering, 0);
         EXPECT_EQ(ListMarker::ForBlock(d.findBlockByNumber(1)), QStringLiteral("\u2022"));
         EXPECT_EQ(ListMarker::ForBlock(d.findBlockByNumber(3)), u"(iv)");
         EXPECT_EQ(ListMarker::ForBlock(d.findBlockByNumber(4)), QString());
       }},
      {"word 97 lists", "{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc4\\levelstartat2"
                        "{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}\\fi-360\\li720}{\\listlevel\\levelnfc23"
                        "{\\leveltext\\'01\\u8226 ?;}}\\listid77}}{\\*\\listoverridetable{\\listoverride\\listid77"
                        "\\listoverridecount0\\ls1}}\\pard\\ls1\\fi-360\\li720{\\listtext b.\\tab}x\\par"
                        "{\\listtext c.\\tab}y\\par\\pard\\ls1\\ilvl1 z\\par}",
       QStringLiteral("x\ry\rz"),
       [](const QTextDocument& d, const NoteSnapshot& s) {
         EXPECT_EQ(s.paras.at(0).numbering, PFN_LCLETTER);
         EXPECT_EQ(s.paras.at(0).numberingStyle, PFNS_PERIOD);
         EXPECT_EQ(s.paras.at(0).numberingStart, 2);
         EXPECT_EQ(ListMarker::ForBlock(d.findBlockByNumber(1)), u"c.");
         EXPECT_EQ(s.paras.at(2).numbering, PFN_BULLET);
       }},
      {"table rows", "\\trowd\\trgaph108\\cellx1000\\cellx2500\\cellx4000\\pard\\intbl a\\cell b\\par c\\cell\\cell\\row"
                     "\\pard\\intbl{x\\cell}{y\\nestcell}{\\cell}{\\trowd\\cellx500\\cellx900\\row}\\pard after\\par}",
       QStringLiteral("a\tb\vc\t\rx\ty\t\rafter"),
       [](const QTextDocument&, const NoteSnapshot& s) {
         EXPECT_EQ(s.paras.at(0).cells, (QList<int>{1000, 2500, 4000}));
         EXPECT_EQ(s.paras.at(1).cells, (QList<int>{500, 900}));
         EXPECT_TRUE(s.paras.at(2).cells.isEmpty());
       }},
      {"breaks and the final mark", "a\\page b\\line c\\sect d\\par\\par}", QStringLiteral("a\fb\vc\rd\r"), nullptr},
  };
}

}  // namespace

TEST(RtfReaderTest, HandMadeSamplesGiveTheirTextAttributesAndTwips) {
  for (const Sample& sample : Samples()) {
    SCOPED_TRACE(sample.name);
    const auto document = ReadRtf(kHeader + sample.body);
    const NoteSnapshot snap = Snapshot(*document);
    EXPECT_EQ(snap.text, sample.text);
    if (sample.check && snap.text == sample.text) sample.check(*document, snap);
  }
}

TEST(RtfReaderTest, TheLastParagraphMarkOfAWholeDocumentIsTheFinalOne) {
  EXPECT_EQ(Snapshot(*ReadRtf("{\\rtf1 a\\par}")).text, u"a");
  EXPECT_EQ(Snapshot(*ReadRtf("{\\rtf1 a\\par\\par}")).text, u"a\r");
  EXPECT_EQ(Snapshot(*ReadRtf("{\\rtf1 a}")).text, u"a");
  // Not RTF at all: read as plain text.
  EXPECT_EQ(Snapshot(*ReadRtf("plain\r\ntext")).text, u"plain\rtext");
}
