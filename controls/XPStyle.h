#pragma once
// The look shared by the XP-style controls: the blue-framed check box and radio
// indicators, their captions, and the hot and pressed faces of flat buttons.

#include <QColor>
#include <QRect>

class QAbstractButton;
class QPainter;
class QString;

namespace XPStyle {
constexpr int IndicatorSize = 13;
constexpr int CaptionGap = 5;

enum class Face { Flat, Hot, Down, HotDown };

// Paints a check box (or, with 'radio', a radio button) with its caption, as the button's
// state asks.
void PaintToggle(QAbstractButton& button, QPainter& p, bool radio);
QSize ToggleSizeHint(const QAbstractButton& button);
// The face of a flat tool button.
void PaintFace(QPainter& p, const QRect& r, Face face);
}  // namespace XPStyle
