#pragma once
// The marker of a numbered or bulleted paragraph ("•", "3.", "(c)", "iv)"). Numbering is kept
// as paragraph attributes, not as Qt lists, because a list must be able to start at any
// number; the editor and the printer draw the marker this gives.

#include <QString>

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
};
