#pragma once
// The process-wide store of small named pictures (menu glyphs, gutter marks). Each stored
// picture gets a number that stays its own until it is deleted; numbers are never reused.
// The game's own menu glyphs ("CUT", "PALETTE", "FIRSTBOOKMARK", ...) are there from the
// start. Main thread only.

#include <QHash>
#include <QImage>
#include <QMap>
#include <QPixmap>
#include <QString>

class QPainter;

class GlyphManager {
public:
  static GlyphManager& GM();

  // Stores a copy; -1 (and a log line) for an empty picture or a name already stored.
  int Add(const QPixmap& bitmap, const QString& name);
  void Delete(int number);
  // Draws the glyph with its top-left corner at x, y: blended over what is there, or with
  // 'copy' set, replacing it (transparent parts included).
  void Draw(int x, int y, QPainter& canvas, int number, bool copy = false) const;

  int Find(const QString& name) const;
  QPixmap Pixmap(int number) const;
  QPixmap Pixmap(const QString& name) const { return Pixmap(Find(name)); }
  int Count() const { return int(glyphs.size()); }

  GlyphManager(const GlyphManager&) = delete;
  GlyphManager& operator=(const GlyphManager&) = delete;

private:
  GlyphManager();
  int Store(const QImage& bitmap, const QString& name);
  // Images rather than pixmaps: the store outlives the application object.
  struct Entry {
    QString name;
    QImage picture;
  };
  QMap<int, Entry> glyphs;
  QHash<QString, int> numbers;
  int next = 0;
};
