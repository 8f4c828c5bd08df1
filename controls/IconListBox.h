#pragma once
// A list box whose items each carry a Glyph, drawn before the item's text when the icons
// are on. The glyphs belong to the caller and must outlive their items. It asks for the
// width of its widest item, up to a limit; a longer text is shortened in the middle, so
// that names alike at the start still read apart.

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
  // The text as the row shows it in the list's present width.
  QString ShownText(int index) const;

  QSize minimumSizeHint() const override;
  QSize sizeHint() const override;

private:
  class Delegate;
  // Every row's text starts at the same place, after the widest glyph.
  int GlyphColumn() const { return widestGlyph + 4; }
  // Where a row's text starts and how much room it has.
  int TextLeft() const { return (useIcons ? GlyphColumn() : 0) + 2; }
  int TextWidth(int rowWidth) const { return rowWidth - TextLeft() - 2; }
  QString Shortened(const QString& text, const QFontMetrics& metrics, int width) const;

  bool useIcons = false;
  int itemHeight = 14;
  int widestGlyph = 0;
};
