// The persistent document settings: the component text form round-trips every value over
// many hand-made settings, reads the class library's own spellings, and answers every
// garbled text with the read error; an editor's settings travel to another editor.

#include "PdfPrinterFixture.h"
#include "richtext/RichEdit20.h"
#include "richtext/RichPersist.h"
#include "richtext/RichPrinter.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString Mixed(QRandomGenerator& random) {
  static const QString pieces[] = {QStringLiteral("Page &p"), QStringLiteral("it's"), QStringLiteral("''"),
                                   QStringLiteral("#13"),     QStringLiteral(" + "), QStringLiteral("\r\n"),
                                   QStringLiteral("\t"),      QStringLiteral("é€ß"), QString(QChar(1)) + QStringLiteral("3ab"),
                                   QStringLiteral("end"),     QStringLiteral("object X"), QStringLiteral("= True")};
  QString text;
  const int count = random.bounded(5);
  for (int i = 0; i < count; ++i) text += pieces[random.bounded(12)];
  if (random.bounded(6) == 0) text += QString(300, QLatin1Char('w'));
  return text;
}

RichPersist Random(int seed) {
  QRandomGenerator random(seed);
  auto number = [&random] { return random.bounded(4) == 0 ? -1 : random.bounded(-20, 2000); };
  auto flag = [&random] { return random.bounded(2) == 1; };
  RichPersist p;
  p.LMarg = number(), p.RMarg = number(), p.TMarg = number(), p.BMarg = number();
  p.Equal = flag(), p.Orient = random.bounded(0, 3), p.Size = random.bounded(0, 120);
  p.Rev = flag(), p.Even = flag(), p.Odd = flag();
  for (QString* text : {&p.LHdr, &p.MHdr, &p.RHdr, &p.LFtr, &p.MFtr, &p.RFtr, &p.Marks, &p.Note}) *text = Mixed(random);
  p.PrtHdr = flag(), p.PrtFtr = flag(), p.No1stHdr = flag(), p.No1stFtr = flag();
  p.HdrMarg = number(), p.FtrMarg = number();
  if (flag()) p.HdrFont.name = Mixed(random);
  p.HdrFont.height = random.bounded(-40, 40);
  p.HdrFont.style = random.bounded(16);
  p.HdrFont.color = flag() ? 0xFF0000 : random.bounded(-5, 0x1000000);
  p.HdrFont.charset = random.bounded(256);
  p.Wrap = flag();
  return p;
}

}  // namespace

TEST(RichPersistTest, TextFormRoundTripsEverySetting) {
  EXPECT_EQ(RichPersist().ToText(), QStringLiteral("object RichPersist\nend\n"));  // defaults are not written
  RichPersist sample;
  sample.LMarg = 150;
  sample.Equal = false;
  sample.LHdr = QStringLiteral("It's page &p\r\n");
  sample.HdrFont.name = QStringLiteral("Arial");
  sample.HdrFont.style = PersistFont::Bold | PersistFont::Italic;
  sample.Marks = QStringLiteral("12,40");
  sample.Wrap = false;
  EXPECT_EQ(sample.ToText(), QStringLiteral("object RichPersist\n  LMarg = 150\n  Equal = False\n"
                                            "  LHdr = 'It''s page &p'#13#10\n  HdrFont.Name = 'Arial'\n"
                                            "  HdrFont.Style = [fsBold, fsItalic]\n  Marks = '12,40'\n  Wrap = False\nend\n"));
  for (int seed = 0; seed < 400; ++seed) {
    const RichPersist settings = Random(seed);
    const QString text = settings.ToText();
    RichPersist back;
    ASSERT_NO_THROW(back = RichPersist::FromText(text)) << seed << "\n" << text.toStdString();
    ASSERT_EQ(back, settings) << seed << "\n" << text.toStdString();
  }
}

TEST(RichPersistTest, ReadsTheClassLibrarysSpellings) {
  const RichPersist read = RichPersist::FromText(QStringLiteral(
      "object Persist1: RichPersist\r\n  LMarg = $FF\r\n  equal = false\n  Note = 'first line'#13#10 +\n"
      "    'second '#39'line'#39\n  HdrFont.Charset = ANSI_CHARSET\n  HdrFont.Color = clRed\n"
      "  HdrFont.Style = []\n  HdrFont.Height = -13\nend"));
  EXPECT_EQ(read.LMarg, 255);
  EXPECT_FALSE(read.Equal);
  EXPECT_EQ(read.Note, QStringLiteral("first line\r\nsecond 'line'"));
  EXPECT_EQ(read.HdrFont.charset, 0);
  EXPECT_EQ(read.HdrFont.color, 0x0000FF);
  EXPECT_EQ(read.HdrFont.height, -13);
  EXPECT_EQ(read.RMarg, -1);  // missing: the default
}

TEST(RichPersistTest, GarbledTextsRaiseTheReadErrorAndNothingElse) {
  const QString invalid[] = {
      QString(), QStringLiteral("object"), QStringLiteral("object RichPersist"), QStringLiteral("object TForm\nend"),
      QStringLiteral("object A: TButton\nend"), QStringLiteral("object RichPersist\n  Colour = 3\nend"),
      QStringLiteral("object RichPersist\n  LMarg = 'x'\nend"), QStringLiteral("object RichPersist\n  LMarg = 99999999999\nend"),
      QStringLiteral("object RichPersist\n  Wrap = 1\nend"), QStringLiteral("object RichPersist\n  Note = 'open\nend"),
      QStringLiteral("object RichPersist\n  Note = 'a' +\nend"), QStringLiteral("object RichPersist\n  Note = #70000\nend"),
      QStringLiteral("object RichPersist\n  HdrFont.Style = [fsBlink]\nend"), QStringLiteral("object RichPersist\n  LMarg = 1.5\nend"),
      QStringLiteral("object RichPersist\n  object Inner: RichPersist\n  end\nend"), QStringLiteral("object RichPersist\nend\nextra"),
      QStringLiteral("object RichPersist\n  LMarg 5\nend"), QStringLiteral("object RichPersist\n  = 5\nend"),
      QStringLiteral("object RichPersist\n  HdrFont.Charset = MARTIAN_CHARSET\nend"), QStringLiteral("object RichPersist\n  Size = (1 2)\nend"),
  };
  for (const QString& text : invalid) EXPECT_THROW(RichPersist::FromText(text), EReadError) << text.toStdString();

  // Every cut and every one-character change of a full text either reads or raises.
  const QString full = Random(7).ToText() + Random(11).ToText().mid(20);
  const QString swaps = QStringLiteral("'#+=[],$-:\n x9");
  int raised = 0;
  for (qsizetype at = 0; at <= full.size(); ++at) {
    QStringList variants{full.left(at)};
    if (at < full.size())
      for (const QChar c : swaps) variants << QString(full).replace(at, 1, c);
    for (const QString& variant : variants) {
      try {
        RichPersist::FromText(variant);
      } catch (const EReadError&) {
        ++raised;
      }
    }
  }
  EXPECT_GT(raised, 0);
}

TEST(RichPersistTest, EditorSettingsTravelToAnotherEditor) {
  QTemporaryDir dir;
  InstallPdfPrinter(dir.filePath(QStringLiteral("persist.pdf")), QPageSize::A4);
  RichEdit20 source;
  source.SetText(QString(60, QLatin1Char('a')), false);
  // The note comes only through the persistent data, which also sets the printer's defaults.
  source.SetPersistentData(QStringLiteral("object RichPersist\n  Note = 'kept for the client'\nend"));
  RichPrinter& printer = *source.GetPrinter();
  printer.ApplyMargins(QRect(QPoint(120, 150), QPoint(180, 210)));
  printer.equalMargins = true;  // on, yet the four differ: they must come back as they are
  printer.headerOnFirstPage = false;
  printer.footerOnFirstPage = true;
  printer.headerLeft = QStringLiteral("Note 'one'");
  printer.footerMiddle = QStringLiteral("Page &p");
  printer.oddOnly = printer.printFooter = true;
  printer.headerMargin = 70;
  printer.SetHeaderFont(QFont(QStringLiteral("DejaVu Serif"), 12, QFont::Bold));
  source.SetExternalBookmark(12);
  source.SetExternalBookmark(40);
  source.SetWordWrap(false);
  const QString text = source.ReadPersistentData();
  EXPECT_TRUE(text.contains(QStringLiteral("Marks = '12,40'"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("No1stHdr = True")));
  EXPECT_FALSE(text.contains(QStringLiteral("No1stFtr")));

  RichEdit20 target;
  target.SetText(QString(60, QLatin1Char('b')), false);
  const QString before = target.ReadPersistentData();
  target.SetPersistentData(QString());  // nothing changes
  EXPECT_EQ(target.ReadPersistentData(), before);
  EXPECT_THROW(target.SetPersistentData(QStringLiteral("object TFont\nend")), EReadError);
  EXPECT_THROW(target.SetPersistentData(QStringLiteral("garbage")), EReadError);
  EXPECT_EQ(target.ReadPersistentData(), before);
  target.SetPersistentData(text);
  EXPECT_EQ(target.ReadPersistentData(), text);
  const RichPrinter& copy = *target.GetPrinter();
  EXPECT_EQ(QRect(QPoint(copy.MarginLeft(), copy.MarginTop()), QPoint(copy.MarginRight(), copy.MarginBottom())),
            QRect(QPoint(120, 150), QPoint(180, 210)));
  EXPECT_TRUE(copy.equalMargins);
  EXPECT_FALSE(copy.headerOnFirstPage);
  EXPECT_TRUE(copy.footerOnFirstPage);
  EXPECT_FALSE(target.GetWordWrap());

  // Junk, negative and too large positions: numbers only, never the caret, the end at most.
  RichEdit20 marks;
  marks.SetText(QString(50, QLatin1Char('c')), false);
  marks.SetSelection(30, 30);
  marks.SetPersistentData(QStringLiteral("object RichPersist\n  Marks = '5,x,-3,,99999,12,7a'\nend"));
  QList<int> positions;
  for (int i = 0; i < marks.ExternalBookmarks.Size(); ++i) positions << marks.GetBookmarkPos(marks.ExternalBookmarks.Get(i));
  EXPECT_EQ(positions, QList<int>({5, 50, 12}));
}
