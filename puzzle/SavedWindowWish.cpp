#include "SavedWindowWish.h"

#include "JigsawFileReader.h"

SavedWindowWish SavedWindowWish::For(const JigsawFileReader* file, QSize table, QSize screen) {
  SavedWindowWish wish;
  if (!file || !file->IsSavedGame()) return wish;
  const QSize saved = file->SavedTableSize();
  if (saved.width() <= table.width() && saved.height() <= table.height()) return wish;
  const QSize savedScreen = file->SavedScreenSize();
  wish.screenLargeEnough = screen.width() >= savedScreen.width() && screen.height() >= savedScreen.height();
  if (wish.screenLargeEnough && !file->SavedMaximized()) {
    wish.kind = Place;
    wish.bounds = file->SavedWindowBounds();
  } else {
    wish.kind = Maximise;
  }
  return wish;
}
