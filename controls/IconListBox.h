#pragma once
// A list box whose items each carry a Glyph, drawn before the item's text when the icons
// are on. The glyphs belong to the caller and must outlive their items.

#include <QListWidget>

class Glyph;

class IconListBox : public QListWidget {
  Q_OBJECT
public:
  explicit IconListBox(QWidget* parent = nullptr);

  void SetUseIcons(bool on);
  bool UseIcons() const { return useIcons; }
  // The least height of a row; rows still grow to fit the font and the glyphs.
  void SetItemHeight(int height);
  int ItemHeight() const { return itemHeight; }

  int AddItem(const QString& text, const Glyph* glyph);
  void InsertItem(int index, const QString& text, const Glyph* glyph);
  // Null for an item without a glyph or an index that names no item.
  const Glyph* ItemGlyph(int index) const;

private:
  class Delegate;
  // Every row's text starts at the same place, after the widest glyph.
  int GlyphColumn() const { return widestGlyph + 4; }

  bool useIcons = false;
  int itemHeight = 14;
  int widestGlyph = 0;
};
