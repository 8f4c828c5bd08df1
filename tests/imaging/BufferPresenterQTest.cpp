// Buffers shown in widgets and on paper: upright, in their own colours, opaque.

#include "ImagingFixtures.h"
#include "QtTestMain.h"
#include "imaging/BufferPrinter.h"
#include "imaging/VirtualBuffer.h"

#include <QPainter>
#include <QScreen>
#include <QWidget>

using namespace ImagingFixtures;

namespace {

// Four quadrants: red top-left, green top-right, blue bottom-left, white bottom-right.
std::unique_ptr<VirtualBuffer> Quadrants(int w, int h) {
  auto buffer = std::make_unique<VirtualBuffer>(w, h, "quadrants");
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool right = x >= w / 2, bottom = y >= h / 2;
      SetPixel(*buffer, x, y, bottom ? (right ? 0xFFFFFF : 0x0000FF) : (right ? 0x00FF00 : 0xFF0000));
    }
  return buffer;
}

// A panel that shows its buffer from its own paint event, as the game's panels do.
class BufferPanel : public QWidget {
public:
  VirtualBuffer* buffer = nullptr;

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter(this).fillRect(rect(), QColor(90, 90, 90));
    if (buffer) buffer->Render(this);
  }
};

QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y); }

}  // namespace

class BufferPresenterQTest : public QObject {
  Q_OBJECT

private slots:
  void RenderedInAPaintEventItShowsUprightAndOpaque() {
    auto buffer = Quadrants(40, 30);
    BufferPanel panel;
    panel.resize(60, 50);
    panel.buffer = buffer.get();
    const QImage shot = panel.grab().toImage();
    QCOMPARE(At(shot, 2, 2), qRgb(255, 0, 0));
    QCOMPARE(At(shot, 37, 2), qRgb(0, 255, 0));
    QCOMPARE(At(shot, 2, 27), qRgb(0, 0, 255));
    QCOMPARE(At(shot, 37, 27), qRgb(255, 255, 255));
    QCOMPARE(At(shot, 50, 40), qRgb(90, 90, 90));
    QCOMPARE(qAlpha(shot.pixel(20, 20)), 255);
  }

  void RenderedFromOutsideItLandsInTheWindowAtItsPlace() {
    BufferPanel panel;
    panel.resize(80, 60);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    {
      auto buffer = Quadrants(20, 10);
      buffer->RenderAt(&panel, 30, 20);
    }  // freed at once, as the table's callers do; a later repaint must not touch it
    const QImage shot = panel.screen()->grabWindow(panel.winId()).toImage();
    QVERIFY(!shot.isNull());
    QCOMPARE(At(shot, 31, 21), qRgb(255, 0, 0));
    QCOMPARE(At(shot, 48, 29), qRgb(255, 255, 255));
    QCOMPARE(At(shot, 10, 10), qRgb(90, 90, 90));
    const QImage later = panel.grab().toImage();
    QCOMPARE(At(later, 31, 21), qRgb(90, 90, 90));
  }

  void PrintedPagesHoldThePictureCentredKeepingItsAspect() {
    auto buffer = Quadrants(10, 5);
    QImage page(100, 100, QImage::Format_RGB32);
    page.fill(Qt::black);
    {
      QPainter painter(&page);
      BufferPrinter::PaintPage(painter, buffer->Image(), page.rect());
    }
    QCOMPARE(At(page, 50, 20), qRgb(0, 0, 0));  // above the picture
    QCOMPARE(At(page, 5, 30), qRgb(255, 0, 0));
    QCOMPARE(At(page, 95, 30), qRgb(0, 255, 0));
    QCOMPARE(At(page, 5, 70), qRgb(0, 0, 255));
    QCOMPARE(At(page, 95, 70), qRgb(255, 255, 255));
    QCOMPARE(At(page, 50, 80), qRgb(0, 0, 0));  // below it
  }
};

TV_QTEST_MAIN(BufferPresenterQTest)
#include "BufferPresenterQTest.moc"
