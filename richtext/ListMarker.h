#pragma once
// The marker of a numbered or bulleted paragraph ("•", "3.", "(c)", "iv)"). Numbering is kept
// as paragraph attributes, not as Qt lists, because a list must be able to start at any
// number; the editor and the printer draw the marker this gives.

#include <QString>

class QColor;
class QPaintDevice;
class QPainter;
class QPointF;
class QTextBlock;

class ListMarker {
public:
  // kind is a PFN_ value, style a PFNS_ value.
  static QString Text(int kind, int style, int number);
  // The marker of a paragraph: its number counts the paragraphs of the same numbering
  // directly before it, from the numbering start. Empty when it is not numbered.
  static QString ForBlock(const QTextBlock& block);
  // How many paragraphs of the same numbering come directly before it.
  static int Ordinal(const QTextBlock& block);
  // Draws a laid-out paragraph's marker at its first line's indent, on the first line's
  // baseline, in the paragraph's first character's font (for device) and colour (text when
  // it has none); origin is where the document's layout sits on the painter, and scale
  // turns screen lengths into the layout's.
  static void Draw(QPainter& painter, const QTextBlock& block, const QPointF& origin, qreal scale,
                   const QColor& text, const QPaintDevice* device);
};
