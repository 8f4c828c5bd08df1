#pragma once
// Qt breaks a word longer than the line by measuring the rest of the word again for every
// line it fills, so one word of a million letters takes minutes, and a thousand words of a
// thousand letters take seconds. A text holding a word longer than MaxWord, or more long
// words than its budget allows (NoteBudget), is wrapped anywhere instead, which is linear;
// every other text keeps breaking at word boundaries, and only a word longer than the line
// is broken.

#include <QTextOption>

class QTextBlock;
class QTextDocument;

namespace LongWords {

// Longer than any word a writer uses, short enough that measuring it again line by line
// stays within the cost of laying out plain text.
inline constexpr int MaxWord = 1000;

// True when the paragraph holds more than MaxWord characters without a break opportunity.
bool HasLongWord(const QTextBlock& block);
// The letters² of the paragraph's words longer than the narrowest line.
qint64 Work(const QTextBlock& block);
// True when a paragraph holds a word longer than MaxWord, or the whole text's long words are
// over its budget.
bool WrapsAnywhere(const QTextDocument& document);
// The wrap mode for this document's text.
QTextOption::WrapMode WrapMode(const QTextDocument& document);

}  // namespace LongWords
