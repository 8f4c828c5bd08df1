#include "RichPersistText.h"

#include "RichPersist.h"

namespace RichPersistText {

QString Quote(const QString& text) {
  QString out;
  bool open = false;
  for (const QChar c : text) {
    const bool plain = c.unicode() >= 32 && c.unicode() < 127;
    if (plain != open) {
      out += QLatin1Char('\'');
      open = plain;
    }
    if (!plain)
      out += QLatin1Char('#') + QString::number(c.unicode());
    else
      out += c == QLatin1Char('\'') ? QStringLiteral("''") : QString(c);
  }
  if (open) out += QLatin1Char('\'');
  return out.isEmpty() ? QStringLiteral("''") : out;
}

void Reader::Fail(const QString& reason) const {
  throw EReadError(QStringLiteral("%1 at character %2").arg(reason).arg(at_).toStdString());
}

void Reader::SkipBlanks() {
  while (at_ < text_.size() && text_[at_].isSpace()) ++at_;
}

bool Reader::AtEnd() {
  SkipBlanks();
  return at_ >= text_.size();
}

QString Reader::Name() {
  SkipBlanks();
  const qsizetype from = at_;
  while (at_ < text_.size() && (text_[at_].isLetterOrNumber() || text_[at_] == QLatin1Char('_') || text_[at_] == QLatin1Char('.')))
    ++at_;
  if (at_ == from || text_[from].isDigit()) Fail(QStringLiteral("Identifier expected"));
  return text_.mid(from, at_ - from);
}

bool Reader::Next(QChar symbol) {
  SkipBlanks();
  if (at_ >= text_.size() || text_[at_] != symbol) return false;
  ++at_;
  return true;
}

void Reader::Expect(QChar symbol) {
  if (!Next(symbol)) Fail(QStringLiteral("'%1' expected").arg(symbol));
}

std::int64_t Reader::Number() {
  const bool negative = Next(QLatin1Char('-'));
  if (!negative) Next(QLatin1Char('+'));
  const bool hex = at_ < text_.size() && text_[at_] == QLatin1Char('$');
  if (hex) ++at_;
  const qsizetype from = at_;
  std::int64_t value = 0;
  for (; at_ < text_.size(); ++at_) {
    const int digit = hex ? QStringLiteral("0123456789abcdef").indexOf(text_[at_].toLower()) : text_[at_].digitValue();
    if (digit < 0 || digit >= (hex ? 16 : 10) || !text_[at_].isLetterOrNumber()) break;
    value = value * (hex ? 16 : 10) + digit;
    if (value > 0xFFFFFFFFLL) Fail(QStringLiteral("Number too large"));
  }
  if (at_ == from) Fail(QStringLiteral("Number expected"));
  if (at_ < text_.size() && (text_[at_].isLetterOrNumber() || text_[at_] == QLatin1Char('.')))
    Fail(QStringLiteral("Invalid number"));
  return negative ? -value : value;
}

// 'abc'#13'def', possibly joined to more such parts by "+" across lines.
QString Reader::QuotedString() {
  QString out;
  for (;;) {
    SkipBlanks();
    if (at_ < text_.size() && text_[at_] == QLatin1Char('\'')) {
      for (++at_;; ++at_) {
        if (at_ >= text_.size() || text_[at_] == QLatin1Char('\n')) Fail(QStringLiteral("Unterminated string"));
        if (text_[at_] != QLatin1Char('\'')) {
          out += text_[at_];
        } else if (at_ + 1 < text_.size() && text_[at_ + 1] == QLatin1Char('\'')) {
          out += text_[++at_];
        } else {
          ++at_;
          break;
        }
      }
    } else if (at_ < text_.size() && text_[at_] == QLatin1Char('#')) {
      ++at_;
      const std::int64_t code = Number();
      if (code < 0 || code > 0xFFFF) Fail(QStringLiteral("Invalid character"));
      out += QChar(static_cast<char16_t>(code));
    } else {
      return out;
    }
    const qsizetype before = at_;
    if (!Next(QLatin1Char('+'))) continue;
    SkipBlanks();
    if (at_ >= text_.size() || (text_[at_] != QLatin1Char('\'') && text_[at_] != QLatin1Char('#'))) {
      at_ = before;
      Fail(QStringLiteral("String expected after '+'"));
    }
  }
}

Value Reader::ReadValue() {
  SkipBlanks();
  if (at_ >= text_.size()) Fail(QStringLiteral("Value expected"));
  const QChar c = text_[at_];
  if (c == QLatin1Char('\'') || c == QLatin1Char('#')) return QuotedString();
  if (c == QLatin1Char('[')) {
    ++at_;
    Set set;
    if (Next(QLatin1Char(']'))) return set;
    do set << Name();
    while (Next(QLatin1Char(',')));
    Expect(QLatin1Char(']'));
    return set;
  }
  if (c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('+') || c == QLatin1Char('$')) return Number();
  if (c.isLetter() || c == QLatin1Char('_')) return Identifier{Name()};
  Fail(QStringLiteral("Invalid property value"));
}

}  // namespace RichPersistText
