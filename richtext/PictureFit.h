#pragma once
// Pictures in a note are shown scaled down to fit the window: no wider than the text and no
// taller than the window's room, their proportions kept. Only what is drawn changes: the
// size a picture stores, and writes back, stays its own. Qt's own image handler still draws
// them; this one only answers their size.

#include <QObject>
#include <QSizeF>
#include <QTextObjectInterface>

class QTextDocument;

class PictureFit : public QObject, public QTextObjectInterface {
  Q_OBJECT
  Q_INTERFACES(QTextObjectInterface)

public:
  // The tallest room a window gives, and the room of a document no window shows.
  static constexpr double MaxRoomHeight = 2048;

  // Shows the document's pictures fitted from now on; again is harmless.
  static void Install(QTextDocument* document);
  // The height of the window's text area; pictures taller than the old or new room are laid
  // out again.
  static void SetRoomHeight(QTextDocument* document, double height);
  // The natural size scaled down, proportions kept, to fit the room; a room side of 0 or
  // less does not limit. Each side stays at least one pixel.
  static QSizeF Fit(QSizeF natural, double roomWidth, double roomHeight);

  QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
  void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                  const QTextFormat& format) override;

private:
  PictureFit(QTextObjectInterface* qtHandler, QObject* parent);
  static PictureFit* Of(QTextDocument* document);

  QTextObjectInterface* qtHandler_;
  double roomHeight_ = MaxRoomHeight;
  double tallest_ = 0;  // the tallest natural height laid out so far
};
