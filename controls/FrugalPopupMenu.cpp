#include "FrugalPopupMenu.h"

#include "Artwork.h"
#include "GlyphManager.h"
#include "Yelk/TMsgLog.h"

FrugalPopupMenu::FrugalPopupMenu(QWidget* owner) : QMenu(owner) {}

FrugalPopupMenu::~FrugalPopupMenu() = default;

bool FrugalPopupMenu::AssignBmpToItem(const QString& glyphName, QAction* item) {
  if (!item) return false;
  const QPixmap glyph = GlyphManager::GM().Pixmap(glyphName);
  if (glyph.isNull()) {
    TMsgLog::Add("FrugalPopupMenu - no glyph named " + glyphName);
    return false;
  }
  item->setIcon(Artwork::IconFrom(glyph));
  return true;
}

void FrugalPopupMenu::Popup(int x, int y) { popup(QPoint(x, y)); }
