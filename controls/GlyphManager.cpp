#include "GlyphManager.h"

#include "Yelk/TMsgLog.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QPainter>

GlyphManager& GlyphManager::GM() {
  static GlyphManager store;
  return store;
}

GlyphManager::GlyphManager() {
  QStringList files;
  QDirIterator it(":/glyphs", QDir::Files);
  while (it.hasNext()) files << it.next();
  files.sort();
  for (const QString& file : files) Store(QImage(file), QFileInfo(file).fileName());
}

int GlyphManager::Add(const QPixmap& bitmap, const QString& name) { return Store(bitmap.toImage(), name); }

int GlyphManager::Store(const QImage& bitmap, const QString& name) {
  if (bitmap.isNull()) {
    TMsgLog::Add("GlyphManager::Add - empty bitmap for " + name);
    return -1;
  }
  if (numbers.contains(name)) {
    TMsgLog::Add("GlyphManager::Add - name already stored: " + name);
    return -1;
  }
  const int number = next++;
  glyphs.insert(number, {name, bitmap});
  numbers.insert(name, number);
  return number;
}

void GlyphManager::Delete(int number) {
  const auto it = glyphs.find(number);
  if (it == glyphs.end()) {
    TMsgLog::Add(QString("GlyphManager::Delete - no glyph %1").arg(number));
    return;
  }
  numbers.remove(it->name);
  glyphs.erase(it);
}

void GlyphManager::Draw(int x, int y, QPainter& canvas, int number, bool copy) const {
  const auto it = glyphs.find(number);
  if (it == glyphs.end()) {
    TMsgLog::Add(QString("GlyphManager::Draw - no glyph %1").arg(number));
    return;
  }
  const QPainter::CompositionMode mode = canvas.compositionMode();
  canvas.setCompositionMode(copy ? QPainter::CompositionMode_Source : QPainter::CompositionMode_SourceOver);
  canvas.drawImage(x, y, it->picture);
  canvas.setCompositionMode(mode);
}

int GlyphManager::Find(const QString& name) const { return numbers.value(name, -1); }

QPixmap GlyphManager::Pixmap(int number) const {
  const auto it = glyphs.find(number);
  return it == glyphs.end() ? QPixmap() : QPixmap::fromImage(it->picture);
}
