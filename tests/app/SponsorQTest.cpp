// Sponsor branding over a table of sponsor files, good and refused: the fields, the link,
// the icon, the logo and the log line of each; then the main window and the about box with
// and without a sponsor, and the table's watermark.

#include "QtTestMain.h"
#include "SponsorFiles.h"
#include "Sponser.h"
#include "MakerAddresses.h"
#include "TAboutForm.h"
#include "TMainForm.h"

#include "Yelk/IniText.h"
#include "Yelk/TMsgLog.h"
#include "Yelk/TSwerrForm.h"
#include "controls/LabelButton.h"
#include "imaging/VirtualBuffer.h"
#include "table/TableSurface.h"
#include "table/TableTop.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QtTest>
#include <cstring>
#include <sys/resource.h>

using SponsorFiles::Fields;

namespace {
QString Folder() { return TestEnvironment::ScratchFolder() + QStringLiteral("/sponsor/"); }

void WriteSponsor(const QByteArray& text) {
  QVERIFY(TestEnvironment::WriteFile(Folder() + QStringLiteral("Spnsr.dat"), text));
}

// The logo as the table must show it: the bitmap read at its size, shaded once.
std::unique_ptr<VirtualBuffer> ShadedLogo(const QImage& picture, int dilute) {
  auto map = std::make_unique<VirtualBuffer>(picture.width(), picture.height(), QStringLiteral("ref"));
  QByteArray bytes = SponsorFiles::Bmp(picture);
  QBuffer stream(&bytes);
  stream.open(QIODevice::ReadOnly);
  if (!map->Read(stream, VirtualBuffer::BitmapMode)) return nullptr;
  map->MakeShadeMap(dilute, 1);
  return map;
}

bool SamePixels(const VirtualBuffer* a, const VirtualBuffer* b) {
  return a && b && a->width == b->width && a->height == b->height &&
         std::memcmp(a->Row(a->height - 1), b->Row(b->height - 1), std::size_t(a->width) * a->height * 4) == 0;
}

struct Expect {
  bool link = true, icon = true, logo = true;
  const char* log = nullptr;  // a line that must be logged, starting so
};
}  // namespace

class SponsorQTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase() {
    QDir().mkpath(Folder());
    Sponser::SponsorFolder() = Folder();
    TSwerrForm::AppVersionStr = QStringLiteral("2.0.4");
    TSwerrForm::VersionUrl = MakerAddresses::VersionUrl();
    const QString sample = qEnvironmentVariable("TV_SPONSOR_SAMPLE");
    if (!sample.isEmpty())
      TestEnvironment::WriteFile(sample + QStringLiteral("/Spnsr.dat"), SponsorFiles::Text(Fields()));
  }

  // Every row is one sponsor file; a refused part is left out with its log line and the
  // rest of the file still counts.
  void filesGoodAndRefused_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("expectIndex");
    auto row = [](const char* name, const Fields& f, int expect) {
      QTest::newRow(name) << SponsorFiles::Text(f) << expect;
    };
    Fields f;
    row("complete", f, 0);
    f = Fields(); f.general = QStringLiteral("Id=X\nName=Only a name\n"); row("name without URL", f, 1);
    f = Fields(); f.general = QStringLiteral("Id=X\nURL=http://example.org/\n"); row("URL without name", f, 1);
    f = Fields(); f.logoData = f.logoData.toLower(); row("lower-case logo digits", f, 2);
    f = Fields(); f.logoData.replace(40, 1, QLatin1Char('G')); row("other character in logo", f, 2);
    f = Fields(); f.iconData = f.iconData.toLower(); row("lower-case icon digits", f, 3);
    f = Fields(); f.iconData = QStringLiteral("424D00FF00FF"); row("icon not a bitmap", f, 3);
    f = Fields(); f.logo = QStringLiteral("Display=1\nWidth=41\nHeight=24\nDilute=3\n"); row("width unlike the bitmap", f, 2);
    f = Fields(); f.logo = QStringLiteral("Display=1\nWidth=40000\nHeight=40000\nDilute=3\n"); row("size beyond the caps", f, 2);
    f = Fields(); f.logoData = QStringLiteral("424D0000"); row("logo not a bitmap", f, 2);
    for (const char* logo : {"Width=40\nHeight=24\nDilute=3\n", "Display=0\nWidth=40\nHeight=24\nDilute=3\n",
                             "Display=1\nHeight=24\nDilute=3\n", "Display=1\nWidth=40\nHeight=0\nDilute=3\n",
                             "Display=1\nWidth=40\nHeight=24\n", "Display=yes\nWidth=40\nHeight=24\nDilute=3\n"}) {
      f = Fields(); f.logo = QLatin1String(logo);
      QTest::newRow(qPrintable(QStringLiteral("missing or zero: ") + QString(QLatin1String(logo)).replace('\n', ' ')))
          << SponsorFiles::Text(f) << 4;
    }
    f = Fields(); f.logoData = QString(); row("no logo data", f, 4);
    f = Fields(); f.logo = QStringLiteral("Display=0x1\nWidth=$28\nHeight=+24\nDilute=3\n"); f.logoData += QLatin1Char('F');
    row("hex numbers and an odd last digit", f, 0);
    QByteArray huge = SponsorFiles::Text(Fields());
    huge += QByteArray(Sponser::MaxFileBytes + 1 - huge.size(), ' ');
    QTest::newRow("oversized file") << huge << 5;
    QTest::newRow("no file") << QByteArray() << 6;
  }

  // The logo's size comes from the text: one far beyond its bitmap's is refused before any
  // memory is taken for it, not after a gigabyte was cleared.
  void logoSizedBeyondItsBitmapTakesNoMemory() {
    Fields f;
    f.logo = QStringLiteral("Display=1\nWidth=16384\nHeight=16384\nDilute=3\n");
    WriteSponsor(SponsorFiles::Text(f));
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    Sponser sponsor(Folder());
    getrusage(RUSAGE_SELF, &after);
    QVERIFY(!sponsor.Logo());
    QVERIFY2(after.ru_maxrss - before.ru_maxrss < 100 * 1024, qPrintable(QString::number(after.ru_maxrss - before.ru_maxrss)));
  }

  void filesGoodAndRefused() {
    QFETCH(QByteArray, file);
    QFETCH(int, expectIndex);
    const Expect expects[] = {
        {true, true, true, nullptr},
        {false, true, true, nullptr},
        {true, true, false, "Error loading signature:  "},
        {true, false, true, "Error loading sponser icon:  "},
        {true, true, false, nullptr},
        {false, false, false, "Sponser - "},
        {false, false, false, nullptr},
    };
    const Expect& expect = expects[expectIndex];
    QFile::remove(Folder() + QStringLiteral("Spnsr.dat"));
    if (expectIndex != 6) WriteSponsor(file);
    TMsgLog::Clear();
    Sponser sponsor(Folder());
    QCOMPARE(Sponser::Current(), &sponsor);
    QCOMPARE(sponsor.HasLink(), expect.link);
    QCOMPARE(!sponsor.Icon().isNull(), expect.icon);
    QCOMPARE(sponsor.Logo() != nullptr, expect.logo);
    const QStringList lines = TMsgLog::Lines();
    const bool logged = expect.log && std::any_of(lines.begin(), lines.end(), [&](const QString& l) {
                          return l.contains(QLatin1String(expect.log));
                        });
    QVERIFY2(!expect.log || logged, qPrintable(lines.join(QLatin1Char('|'))));
    if (!expect.log) QVERIFY2(lines.isEmpty(), qPrintable(lines.join(QLatin1Char('|'))));
    if (expectIndex == 0) {
      // Values read verbatim: commas, "@" and "\" are not QSettings' lists and escapes.
      QCOMPARE(sponsor.Name, QStringLiteral("A & B, Ltd"));
      QCOMPARE(sponsor.URL, QStringLiteral("http://example.org/a,b@c\\d"));
      QCOMPARE(sponsor.Id, QStringLiteral("ACME-7"));
      QCOMPARE(sponsor.Ver, 3);
      QCOMPARE(sponsor.Aff, 0x1F);
      const QImage& icon = sponsor.Icon();
      QCOMPARE(icon.size(), QSize(Sponser::IconSide, Sponser::IconSide));
      QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
      QCOMPARE(icon.pixel(8, 8), qRgb(30, 80, 200));
      QVERIFY(SamePixels(sponsor.Logo(), ShadedLogo(SponsorFiles::LogoPicture(40, 24), 3).get()));
    }
  }

  // The reader's rules: names without regard to case, the first occurrence, comments,
  // blanks trimmed, integers in decimal and hex and nothing else.
  void iniRules() {
    const IniText ini(QByteArrayLiteral(
        "\xEF\xBB\xBF[ general ]\r\n; a comment\n NAME = First, one \nname=Second\n;Id=hidden\n"
        "[Numbers]\na=-12\nb=0x7fffffff\nc=$ff\nd=12a\ne=0x80000000\nf=\ng= 5 \n[GENERAL]\nId=late\n"));
    QCOMPARE(ini.ReadString("General", "Name"), QStringLiteral("First, one"));
    QCOMPARE(ini.ReadString("general", "id"), QStringLiteral("late"));
    const QList<QPair<const char*, int>> numbers = {{"a", -12}, {"b", 0x7fffffff}, {"c", 255},
                                                     {"d", 99}, {"e", 99}, {"f", 99}, {"g", 5}, {"h", 99}};
    for (const auto& [key, value] : numbers) QCOMPARE(ini.ReadInteger("Numbers", key, 99), value);
    QVERIFY(!ini.ReadBool("Numbers", "d", false));
  }

  // The branded main window: the visit command with its icon, the log line, the about
  // box's link and the logo as the table's watermark; without the file no trace remains.
  void mainWindowWithAndWithoutSponsor() {
    for (bool branded : {true, false}) {
      QFile::remove(Folder() + QStringLiteral("Spnsr.dat"));
      if (branded) WriteSponsor(SponsorFiles::Text(Fields()));
      TMsgLog::Clear();
      TMainForm form;
      QAction* visit = form.Actions().SponserAtn;
      QCOMPARE(visit->isVisible(), branded);
      QCOMPARE(visit->icon().isNull(), !branded);
      QVERIFY(TMsgLog::Lines().filter(QStringLiteral("Spnsr: ")).size() == 1);
      TAboutForm about(&form);
      QCOMPARE(about.VersionLbl->text(), QStringLiteral("Version 2.0.4"));
      QCOMPARE(about.VersionChkLbl->Link(), MakerAddresses::VersionUrl());
      const VirtualBuffer* watermark = form.Table()->Surface().Signature();
      if (branded) {
        QCOMPARE(visit->text(), QStringLiteral("V&isit A && B, Ltd"));
        QVERIFY(TMsgLog::Lines().filter(QStringLiteral("Spnsr: ACME-7")).size() == 1);
        QCOMPARE(about.HomeLbl->Caption(), QStringLiteral("Visit A && B, Ltd"));
        QCOMPARE(about.HomeLbl->Link(), QStringLiteral("http://example.org/a,b@c\\d"));
        QVERIFY(SamePixels(watermark, ShadedLogo(SponsorFiles::LogoPicture(40, 24), 3).get()));
      } else {
        QCOMPARE(about.HomeLbl->Caption(), MakerAddresses::HomePage());
        QCOMPARE(about.HomeLbl->Link(), MakerAddresses::HomePage());
        VirtualBuffer standard(8100, QStringLiteral("ref"));
        standard.MakeShadeMap(10, 1);
        QVERIFY(SamePixels(watermark, &standard));
      }
    }
  }
};

TV_QTEST_MAIN(SponsorQTest)
#include "SponsorQTest.moc"
