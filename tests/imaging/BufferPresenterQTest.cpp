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

// A panel that shows its buffer (or part of it) from its own paint event, as the game's
// panels do.
class BufferPanel : public QWidget {
public:
  using QWidget::QWidget;
  VirtualBuffer* buffer = nullptr;
  QRect part;

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter(this).fillRect(rect(), QColor(90, 90, 90));
    if (buffer) buffer->RenderPart(this, part);
  }
};

QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y); }

// Distinct colours, with shadow levels in the top byte.
std::unique_ptr<VirtualBuffer> Shadowed(int w, int h, std::uint32_t flip) {
  auto buffer = Patterned(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) PixelRef(*buffer, x, y) = (PatternValue(x, y) ^ flip) | std::uint32_t((x + y) % 64) << 24;
  return buffer;
}

// Draws part of the buffer, as it should look on screen, over shown.
void Expect(QImage& shown, const VirtualBuffer& buffer, const QRect& part) {
  for (int y = part.top(); y <= part.bottom(); ++y)
    for (int x = part.left(); x <= part.right(); ++x) shown.setPixel(x, y, 0xFF000000u | (PixelAt(buffer, x, y) & 0xFFFFFF));
}

// Empty when both pictures agree in every pixel, else the first difference.
QString Difference(const QImage& shot, const QImage& expected) {
  if (shot.size() != expected.size()) return "size differs";
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x)
      if (shot.pixel(x, y) != expected.pixel(x, y))
        return QString("at %1,%2: %3 instead of %4").arg(x).arg(y).arg(shot.pixel(x, y), 8, 16).arg(expected.pixel(x, y), 8, 16);
  return {};
}

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

  // Straight into the window's buffer (the panel inside it at an offset), into a grey
  // picture limited to a region, and through the painter into a 24-bit picture: every
  // pixel upright and opaque; a part shown from outside a paint event leaves the rest.
  void WholeAndPartsShowEveryPixelUprightAndNothingElse() {
    auto first = Shadowed(37, 23, 0), second = Shadowed(37, 23, 0xFFFFFF);  // odd width on purpose
    const QRect part(5, 3, 21, 13);
    QWidget window;
    window.resize(70, 50);
    BufferPanel panel(&window);
    panel.setGeometry(6, 4, 50, 40);
    panel.buffer = first.get();
    QImage grey(panel.size(), QImage::Format_RGB32);
    grey.fill(QColor(90, 90, 90));
    QImage whole = grey, partOnly = grey, limited = grey;
    Expect(whole, *first, QRect(0, 0, 37, 23));
    Expect(partOnly, *first, part);
    QCOMPARE(Difference(panel.grab().toImage(), whole), QString());
    panel.render(&limited, part.topLeft(), QRegion(part));
    QCOMPARE(Difference(limited, partOnly), QString());
    panel.part = part;
    QImage deep(panel.size(), QImage::Format_RGB888);
    panel.render(&deep);
    QCOMPARE(Difference(deep, partOnly), QString());

    panel.part = QRect();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const auto onScreen = [&] { return window.screen()->grabWindow(window.winId()).toImage().copy(panel.geometry()); };
    QCOMPARE(Difference(onScreen(), whole), QString());
    panel.buffer = nullptr;
    second->RenderPart(&panel, part);
    Expect(whole, *second, part);
    QCOMPARE(Difference(onScreen(), whole), QString());
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
