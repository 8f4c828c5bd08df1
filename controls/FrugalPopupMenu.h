#pragma once
// A pop-up menu whose items show glyphs from the GlyphManager, chosen by name.

#include <QMenu>

class FrugalPopupMenu : public QMenu {
  Q_OBJECT
public:
  explicit FrugalPopupMenu(QWidget* owner = nullptr);
  ~FrugalPopupMenu() override;

  // Gives the item the glyph stored under that name; false (and a log line) when there
  // is no such glyph, and the item stays without a picture.
  bool AssignBmpToItem(const QString& glyphName, QAction* item);
  // Each item gets its picture at once, so nothing is left to finish.
  void FinishSetup() {}
  // Shows the menu with its top-left corner at a point in screen coordinates.
  void Popup(int x, int y);
};
