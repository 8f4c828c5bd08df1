#pragma once
// The game's own pictures, by their resource names ("images/16/print", "glyphs/PALETTE",
// "leds/green-lit"). Tool images come as icons whose hot and disabled looks are made
// from the one picture, so that every button of the game lights and greys alike.

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>

class Artwork {
public:
  // The resource path of a name: ":/" + name (resources carry no extension).
  static QString Path(const QString& name);
  // The numbered bitmaps and sounds the game loads by number.
  static QString BitmapPath(int id);
  static QString SoundPath(int id);

  // An empty pixmap (and a log line) when there is no such picture.
  static QPixmap Pixmap(const QString& name);
  // Normal, active (hot) and disabled looks of one picture.
  static QIcon Icon(const QString& name);
  static QIcon IconFrom(const QPixmap& normal);
  // A cursor whose picture carries its hot spot; the arrow when the picture is missing.
  static QCursor Cursor(const QString& name);

  static QPixmap HotLook(const QPixmap& normal);
  static QPixmap DisabledLook(const QPixmap& normal);
};
