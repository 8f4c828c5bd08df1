#pragma once
// The values of the component text form: quoted strings with #nnn characters and "+"
// continuations, integers (decimal or $hex), identifiers and sets of identifiers.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <variant>

namespace RichPersistText {

struct Identifier {
  QString name;
};
using Set = QStringList;
using Value = std::variant<std::int64_t, QString, Identifier, Set>;

// 'It''s'#13#10'done'
QString Quote(const QString& text);

// Reads the text token by token; every fault raises EReadError.
class Reader {
public:
  explicit Reader(const QString& text) : text_(text) {}
  bool AtEnd();
  // The next name: letters, digits, "_" and dots.
  QString Name();
  void Expect(QChar symbol);
  bool Next(QChar symbol);
  Value ReadValue();

private:
  void SkipBlanks();
  QString QuotedString();
  std::int64_t Number();
  [[noreturn]] void Fail(const QString& reason) const;

  const QString& text_;
  qsizetype at_ = 0;
};

}  // namespace RichPersistText
