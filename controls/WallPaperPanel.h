#pragma once
// A panel whose background is a tiled picture (the game's brushed-steel wallpaper unless
// another is given).

#include <QFrame>
#include <QPixmap>

class WallPaperPanel : public QFrame {
  Q_OBJECT
public:
  explicit WallPaperPanel(QWidget* parent = nullptr);

  void SetWallpaper(const QPixmap& tile);
  const QPixmap& Wallpaper() const { return tile; }

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QPixmap tile;
};
