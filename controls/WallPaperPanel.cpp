#include "WallPaperPanel.h"

#include "Artwork.h"

#include <QPainter>

WallPaperPanel::WallPaperPanel(QWidget* parent) : QFrame(parent), tile(Artwork::Pixmap("images/wallpaper")) {}

void WallPaperPanel::SetWallpaper(const QPixmap& picture) {
  tile = picture;
  update();
}

void WallPaperPanel::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  if (tile.isNull())
    p.fillRect(rect(), palette().color(QPalette::Window));
  else
    p.drawTiledPixmap(rect(), tile);
  // A thin shadow line along the bottom edge sets the panel off from what lies below.
  p.setPen(QColor(0x9a, 0xa6, 0xb6));
  p.drawLine(0, height() - 1, width() - 1, height() - 1);
  p.end();
  QFrame::paintEvent(event);
}
