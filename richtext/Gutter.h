#pragma once
// The narrow panel at the note editor's left edge that marks page breaks and the user's
// bookmarks on their lines. It lives in the strip of the left margin the editor keeps free
// of text, as a child of the editor, so it moves, hides and goes with it. A left press
// toggles the bookmark of its line; its menu moves between bookmarks and picks its colour.

#include "Yelk/IntArray.h"
#include "controls/ClassColor.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class FrugalPopupMenu;
class QAction;
class RichEdit20;
class TColorChooser;

class Gutter : public QWidget {
  Q_OBJECT

public:
  static inline TColor GutterColor = clBtnFace;

  Gutter(RichEdit20& editor, TColor colour, int width);
  ~Gutter() override;

  // Takes the glyphs; answers the icon's number. A null multiple glyph means none.
  int RegisterIcon(const QPixmap& icon, const QPixmap& multiple);
  // Client y values of the icon's lines; repaints only when they differ from the last ones.
  void UpdateIcon(int icon, std::unique_ptr<IntArray> positions);
  void UpdatePosition();
  TColor Color() const { return colour_; }
  void SetColor(TColor colour);
  FrugalPopupMenu* Menu() const { return menu_; }
  TColorChooser* Chooser() const { return chooser_; }
  // Enables the items and names the set item for the caret's line, as the menu's opening does.
  void UpdateMenuItems();
  int Repaints() const { return repaints_; }

  QAction *FirstItem, *PrevItem, *NextItem, *LastItem, *SetItem, *ClearAllItem, *ColorItem;

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

private:
  struct Icon {
    int glyph = -1, multiple = -1;
    std::unique_ptr<IntArray> positions;
  };
  void BuildMenu();
  // Every item gives the focus back to the editor after its operation.
  QAction* AddItem(const QString& caption, const QString& glyph, const std::function<void()>& operation);
  void SetItemExecute();
  void ColorItemExecute();
  void ColorChosen();
  void PaintIcons(class QPainter& painter);
  int LineBookmarkId();

  RichEdit20& editor_;
  TColor colour_;
  bool firstPaint_ = true;
  std::vector<Icon> icons_;
  FrugalPopupMenu* menu_ = nullptr;
  TColorChooser* chooser_ = nullptr;
  int repaints_ = 0;
};
