#pragma once
// One of a LabelButton's three looks: a font and a colour. An invalid colour means the
// palette's own (text for a button, link colour for a web link).

#include <QColor>
#include <QFont>
#include <functional>

class LabelFont {
public:
  explicit LabelFont(std::function<void()> changed = {}) : changed(std::move(changed)) {}

  void SetName(const QString& name);
  QString Name() const { return font.family(); }
  void SetFont(const QFont& value);
  const QFont& Font() const { return font; }
  void SetColor(const QColor& value);
  const QColor& Color() const { return color; }

private:
  QFont font;
  QColor color;
  std::function<void()> changed;
};
