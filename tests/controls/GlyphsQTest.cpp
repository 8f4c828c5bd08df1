// The glyph store and the menus that take glyphs from it, and the artwork the game loads
// by name or number: a missing or malformed picture or sound would only show in play.

#include "QtTestMain.h"
#include "Yelk/TMsgLog.h"
#include "controls/Artwork.h"
#include "controls/FrugalPopupMenu.h"
#include "controls/Glyph.h"
#include "controls/GlyphManager.h"
#include "controls/IconListBox.h"

#include <QFile>
#include <QPainter>
#include <QSet>
#include <QtEndian>

namespace {
const QStringList MenuGlyphs{"FIRSTBOOKMARK", "PREVBOOKMARK", "NEXTBOOKMARK", "LASTBOOKMARK", "SETBOOKMARK",
                             "DELETEBOOKMARK", "PALETTE", "CLOSEDOC2", "UNDO", "REDO", "CUT", "COPY",
                             "PASTE", "PASTEPLAIN", "SELECTALL", "COPYALL", "CLEAR"};

QPixmap Square(QColor colour) {
  QPixmap pixmap(4, 4);
  pixmap.fill(colour);
  return pixmap;
}

QImage Argb(const QPixmap& pixmap) { return pixmap.toImage().convertToFormat(QImage::Format_ARGB32); }

bool LastLogContains(const QString& text) { return TMsgLog::Lines().last().contains(text); }

quint32 Le32(const QByteArray& b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }
quint16 Le16(const QByteArray& b, int at) { return qFromLittleEndian<quint16>(b.constData() + at); }
}  // namespace

class GlyphsQTest : public QObject {
  Q_OBJECT
private slots:
  void theGameGlyphsAreStoredFromTheStart() {
    for (const QString& name : MenuGlyphs) {
      const QPixmap glyph = GlyphManager::GM().Pixmap(name);
      QVERIFY2(!glyph.isNull(), qPrintable(name));
      QCOMPARE(glyph.size(), QSize(16, 16));
    }
  }

  void addRefusesEmptyAndTakenNamesAndNeverReusesNumbers() {
    GlyphManager& gm = GlyphManager::GM();
    QCOMPARE(gm.Add(QPixmap(), "Empty"), -1);
    QVERIFY(LastLogContains("empty bitmap"));
    QCOMPARE(gm.Add(Square(Qt::red), "PALETTE"), -1);
    const int icon = gm.Add(Square(Qt::red), "Gutter Icon");
    const int multiple = gm.Add(Square(Qt::blue), "Gutter Multiple Icon");
    QVERIFY(icon >= 0 && multiple >= 0 && icon != multiple);
    QCOMPARE(gm.Add(Square(Qt::green), "Gutter Icon"), -1);
    QCOMPARE(gm.Find("Gutter Icon"), icon);
    const int count = gm.Count();
    gm.Delete(icon);
    QCOMPARE(gm.Count(), count - 1);
    QCOMPARE(gm.Find("Gutter Icon"), -1);
    const int again = gm.Add(Square(Qt::green), "Gutter Icon");
    QVERIFY(again >= 0 && again != icon && again != multiple);
    QCOMPARE(Argb(gm.Pixmap(multiple)).pixel(0, 0), QColor(Qt::blue).rgb());
    gm.Delete(icon);  // already gone: logged, nothing else changes
    QVERIFY(LastLogContains("no glyph"));
    QCOMPARE(gm.Count(), count);
    gm.Delete(again);
    gm.Delete(multiple);
  }

  void drawBlendsOrCopiesAtTheGivenCorner() {
    QPixmap dot(3, 3);
    dot.fill(Qt::transparent);
    QPainter(&dot).fillRect(0, 0, 1, 1, Qt::red);
    GlyphManager& gm = GlyphManager::GM();
    const int number = gm.Add(dot, "Test dot");
    for (bool copy : {false, true}) {
      QImage canvas(8, 8, QImage::Format_ARGB32);
      canvas.fill(Qt::white);
      QPainter p(&canvas);
      gm.Draw(2, 3, p, number, copy);
      gm.Draw(0, 0, p, 424242, copy);  // unknown: logged, nothing drawn
      p.end();
      QCOMPARE(canvas.pixel(2, 3), QColor(Qt::red).rgb());
      QCOMPARE(qAlpha(canvas.pixel(3, 4)), copy ? 0 : 255);
      QCOMPARE(canvas.pixel(0, 0), QColor(Qt::white).rgb());
    }
    gm.Delete(number);
  }

  void popupMenuItemsTakeTheGlyphOfTheirName() {
    FrugalPopupMenu menu;
    QAction* palette = menu.addAction("&Color...");
    QAction* unknown = menu.addAction("Other");
    QVERIFY(menu.AssignBmpToItem("PALETTE", palette));
    QCOMPARE(Argb(palette->icon().pixmap(QSize(16, 16))), Argb(GlyphManager::GM().Pixmap("PALETTE")));
    QVERIFY(!menu.AssignBmpToItem("NO SUCH GLYPH", unknown));
    QVERIFY(unknown->icon().isNull());
  }

  void listGlyphsComeFromTheirImageListAndSurviveBadIndexes() {
    const Glyph::ImageList images{Square(Qt::red), Square(Qt::green)};
    const Glyph::ImageList greyed{Square(Qt::gray)};
    Glyph first(images, greyed, 0), second(images, greyed, 1), none(images, greyed, 5);
    QCOMPARE(Argb(second.AlternateImage()).pixel(0, 0), QColor(Qt::green).rgb());  // no twin: itself
    QVERIFY(none.IsEmpty());
    IconListBox box;
    box.SetUseIcons(true);
    box.AddItem("Castle", &first);
    box.AddItem("Harbour", &none);
    box.InsertItem(0, "Abbey", &second);
    QCOMPARE(box.ItemGlyph(1), &first);
    QCOMPARE(box.ItemGlyph(0), &second);
    QCOMPARE(box.ItemGlyph(3), nullptr);
    box.resize(200, 100);
    QVERIFY(!box.grab().isNull());  // paints empty glyphs without harm
  }

  void aSelectedRowsNameIsDrawnInTheHighlightedTextColour() {
    IconListBox box;
    QPalette palette = box.palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::red);
    palette.setColor(QPalette::Highlight, Qt::blue);
    palette.setColor(QPalette::HighlightedText, Qt::green);
    box.setPalette(palette);
    box.AddItem("WWWWWWWW", nullptr);
    box.AddItem("WWWWWWWW", nullptr);
    box.resize(200, 100);
    box.setCurrentRow(0);
    const QImage shot = box.grab().toImage();
    // Counts the row's pixels mostly red and mostly green.
    const auto inks = [&](int row) {
      const QRect rect = box.visualItemRect(box.item(row)).translated(box.viewport()->pos());
      QPair<int, int> count{0, 0};
      for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
          const QColor c = shot.pixelColor(x, y);
          count.first += c.red() > 160 && c.green() < 100 && c.blue() < 100;
          count.second += c.green() > 160 && c.red() < 100;
        }
      return count;
    };
    QCOMPARE(inks(0).first, 0);
    QVERIFY(inks(0).second > 10);
    QVERIFY(inks(1).first > 10);
    QCOMPARE(inks(1).second, 0);
  }

  void everyPictureTheGameNamesIsThere() {
    for (const char* name : {"bitmaps/8100", "bitmaps/8102", "bitmaps/8103", "bitmaps/NEWPAGE5", "bitmaps/BOOKMARK2",
                                "bitmaps/BOOKMARKMULTIPLE", "leds/green-lit", "leds/green-unlit", "leds/yellow-lit",
                                "leds/yellow-unlit", "images/wallpaper"})
      QVERIFY2(!QImage(Artwork::Path(name)).isNull(), name);
    for (const QString name : {"HILIGHT", "PAINT", "NEXTBOOKMARK", "PREVBOOKMARK"}) {
      const QImage cursor(Artwork::Path("cursors/" + name));
      QVERIFY2(cursor.rect().contains(cursor.text("HotSpotX").toInt(), cursor.text("HotSpotY").toInt()), qPrintable(name));
    }
  }

  // The table tints its felt by mapping each of sixteen shades to an offset: any other
  // shade would stay the default colour whatever colour the player picks.
  void feltUsesOnlyTheTintShades() {
    const QSet<int> offsets{-27, -24, -20, -16, -12, -8, -4, 0, 5, 7, 12, 16, 20, 24, 29, 39};
    QSet<QRgb> shades;
    for (int d : offsets) shades.insert(qRgb(0x75 + d, 0x99 + d, 0xB9 + d));
    const QImage felt = QImage(Artwork::BitmapPath(8103)).convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < felt.height(); ++y)
      for (int x = 0; x < felt.width(); ++x)
        if (!shades.contains(felt.pixel(x, y) | 0xFF000000u)) QFAIL(qPrintable(QString("pixel %1,%2").arg(x).arg(y)));
  }

  // The watermark and the cross-hair become shading maps: their edges must read "no
  // change" (1 or 15), or a visible box would be drawn around them.
  void shadingPicturesLeaveTheirSurroundingsUnchanged() {
    for (int id : {8100, 8102}) {
      const QImage map = QImage(Artwork::BitmapPath(id)).convertToFormat(QImage::Format_RGB32);
      for (int x = 0; x < map.width(); ++x)
        for (int y : {0, map.height() - 1}) QVERIFY(qBlue(map.pixel(x, y)) == 1 || qBlue(map.pixel(x, y)) == 15);
      for (int y = 0; y < map.height(); ++y)
        for (int x : {0, map.width() - 1}) QVERIFY(qBlue(map.pixel(x, y)) == 1 || qBlue(map.pixel(x, y)) == 15);
    }
  }

  void soundsArePlayableWaveFiles() {
    for (int id : {8000, 8001, 8002}) {
      QFile file(Artwork::SoundPath(id));
      QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
      const QByteArray wave = file.readAll();
      QVERIFY(wave.size() > 44);
      QCOMPARE(wave.left(4), QByteArray("RIFF"));
      QCOMPARE(wave.mid(8, 8), QByteArray("WAVEfmt "));
      QCOMPARE(Le16(wave, 20), quint16(1));   // PCM
      QCOMPARE(Le16(wave, 34), quint16(16));  // bits per sample
      QCOMPARE(wave.mid(36, 4), QByteArray("data"));
      QCOMPARE(qsizetype(Le32(wave, 40)), wave.size() - 44);
      QCOMPARE(qsizetype(Le32(wave, 4)), wave.size() - 8);
      const double seconds = double(Le32(wave, 40)) / Le32(wave, 28);
      QVERIFY(id == 8002 ? seconds > 2.0 : seconds < 0.5);
    }
  }
};

TV_QTEST_MAIN(GlyphsQTest)
#include "GlyphsQTest.moc"
