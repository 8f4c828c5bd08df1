#include "IniStoreReader.h"

#include <QStringDecoder>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

const QByteArray ByteOrderMark("\xEF\xBB\xBF");
constexpr int ShownBytes = 60;

char EscapedChar(char c) {
  static constexpr char codes[][2] = {{'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'},  {'r', '\r'},  {'t', '\t'},
                                      {'v', '\v'}, {'"', '"'},  {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
  for (const auto& code : codes)
    if (c == code[0]) return code[1];
  return 0;
}

int DigitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') value = c - '0';
  else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

void ChopTrailingBlanks(QString& text, qsizetype limit) {
  while (text.size() > limit && (text.back() == u' ' || text.back() == u'\t')) text.chop(1);
}

// A value's text as the ini reader unescapes it: blanks around it dropped unless quoted,
// backslash escapes (named, hexadecimal and octal, wrapping at 16 bits as the reader's do),
// and unquoted commas between the items of a list. Its UTF-8 decoder runs on across the
// pieces between escapes, as the reader's does.
class Unescaper {
public:
  explicit Unescaper(QByteArrayView text) : s_(text) {}

  QVariant Run();

private:
  enum class Next { SkipBlanks, Normal, Hex, Octal, End };
  Next Normal();
  Next Number(int base);

  QByteArrayView s_;
  qsizetype i_ = 0;
  QString text_;
  QStringList items_;
  bool list_ = false;
  bool inQuotes_ = false;
  bool quoted_ = false;
  char16_t code_ = 0;
  QStringDecoder utf8_{QStringDecoder::Utf8};
};

Unescaper::Next Unescaper::Normal() {
  qsizetype chopLimit = text_.size();
  while (i_ < s_.size()) {
    const char c = s_[i_];
    if (c == '\\') {
      if (++i_ >= s_.size()) return Next::End;
      const char escaped = s_[i_++];
      if (const char named = EscapedChar(escaped)) {
        text_ += QLatin1Char(named);
        return Next::Normal;
      }
      if (escaped == 'x') {
        code_ = 0;
        if (i_ >= s_.size()) return Next::End;
        if (DigitValue(s_[i_], 16) >= 0) return Next::Hex;
      } else if (const int digit = DigitValue(escaped, 8); digit >= 0) {
        code_ = char16_t(digit);
        return Next::Octal;
      }
      // Any other escaped character is skipped.
      chopLimit = text_.size();
    } else if (c == '"') {
      ++i_;
      quoted_ = true;
      inQuotes_ = !inQuotes_;
      if (!inQuotes_) return Next::SkipBlanks;
    } else if (c == ',' && !inQuotes_) {
      if (!quoted_) ChopTrailingBlanks(text_, chopLimit);
      list_ = true;
      items_ << text_;
      text_.clear();
      quoted_ = false;
      ++i_;
      return Next::SkipBlanks;
    } else {
      qsizetype end = i_ + 1;
      while (end < s_.size() && s_[end] != '\\' && s_[end] != '"' && s_[end] != ',') ++end;
      text_ += utf8_(s_.sliced(i_, end - i_));
      i_ = end;
    }
  }
  if (!quoted_) ChopTrailingBlanks(text_, chopLimit);
  return Next::End;
}

Unescaper::Next Unescaper::Number(int base) {
  for (; i_ < s_.size(); ++i_) {
    const int digit = DigitValue(s_[i_], base);
    if (digit < 0) {
      text_ += QChar(code_);
      return Next::Normal;
    }
    code_ = char16_t(code_ * base + digit);
  }
  text_ += QChar(code_);
  return Next::End;
}

// The count of arguments the reader finds in "@Rect(1 2 3 4)" and its kin.
qsizetype ArgumentCount(const QString& text, qsizetype open) {
  return text.sliced(open + 1).count(u' ') + text.sliced(open + 1).count(u')');
}

// What the reader makes of a value's text: "@ByteArray(..)" bytes, "@String(..)" text and
// "@@" an escaped '@'. The other '@' forms are kinds the store does not keep: null.
QVariant ToValue(const QString& s) {
  if (!s.startsWith(u'@')) return s;
  if (s.endsWith(u')')) {
    if (s.startsWith("@ByteArray("_L1)) return QStringView(s).sliced(11).chopped(1).toLatin1();
    if (s.startsWith("@String("_L1)) return QStringView(s).sliced(8).chopped(1).toString();
    if (s.startsWith("@Variant("_L1) || s.startsWith("@DateTime("_L1) || s == "@Invalid()"_L1) return {};
    if ((s.startsWith("@Rect("_L1) && ArgumentCount(s, 5) == 4) ||
        (s.startsWith("@Size("_L1) && ArgumentCount(s, 5) == 2) ||
        (s.startsWith("@Point("_L1) && ArgumentCount(s, 6) == 2))
      return {};
  }
  return s.startsWith("@@"_L1) ? QVariant(s.sliced(1)) : QVariant(s);
}

// A list is text items, "@@" an escaped '@'; one item in another '@' form (the writer marks
// an item holding a NUL so) makes every item a value of its own, kept while all are text.
QVariant ToListValue(const QStringList& items) {
  QStringList texts;
  const bool marked = std::any_of(items.cbegin(), items.cend(),
                                  [](const QString& item) { return item.startsWith(u'@') && !item.startsWith("@@"_L1); });
  for (const QString& item : items) {
    const QVariant value = marked ? ToValue(item) : QVariant(item.startsWith("@@"_L1) ? item.sliced(1) : item);
    if (value.typeId() != QMetaType::QString) return {};
    texts << value.toString();
  }
  return texts;
}

QVariant Unescaper::Run() {
  for (Next next = Next::SkipBlanks; next != Next::End;) {
    if (next == Next::SkipBlanks)
      while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t')) ++i_;
    next = next == Next::Hex ? Number(16) : next == Next::Octal ? Number(8) : Normal();
  }
  if (!list_) return ToValue(text_);
  items_ << text_;
  return ToListValue(items_);
}

// A key's or a section's name: "%XX" and "%UXXXX" are characters, a backslash a '/'.
QString UnescapeName(QByteArrayView name) {
  const QString decoded = QString::fromUtf8(name);
  QString result;
  result.reserve(decoded.size());
  for (qsizetype i = 0; i < decoded.size();) {
    const QChar c = decoded[i];
    if (c == u'\\' || c != u'%' || i == decoded.size() - 1) {
      result += c == u'\\' ? QChar(u'/') : c;
      ++i;
      continue;
    }
    const bool wide = decoded[i + 1] == u'U';
    const qsizetype first = wide ? i + 2 : i + 1;
    const qsizetype digits = wide ? 4 : 2;
    bool ok = false;
    const ushort code = first + digits <= decoded.size() ? QStringView(decoded).sliced(first, digits).toUShort(&ok, 16) : 0;
    if (!ok) {
      result += u'%';
      ++i;
      continue;
    }
    result += QChar(code);
    i = first + digits;
  }
  return result;
}

// A path the settings can address: no empty part.
bool CanBeNamed(const QString& path) {
  return !path.isEmpty() && !path.startsWith(u'/') && !path.endsWith(u'/') && !path.contains("//"_L1);
}

// The line as a log can show it: printable ASCII, everything else as \xNN.
QString Shown(QByteArrayView line) {
  QString shown;
  for (const char c : line.first(std::min<qsizetype>(line.size(), ShownBytes))) {
    if (uchar(c) >= 0x20 && uchar(c) < 0x7F)
      shown += QLatin1Char(c);
    else
      shown += QStringLiteral("\\x%1").arg(uchar(c), 2, 16, QLatin1Char('0'));
  }
  if (line.size() > ShownBytes) shown += "..."_L1;
  return shown;
}

IniStoreReader::Line Dropped(IniStoreReader::Line::Kind kind, const char* why) {
  IniStoreReader::Line line;
  line.kind = kind;
  line.problem = QLatin1String(why);
  return line;
}

IniStoreReader::Line ReadHeader(QByteArrayView text, bool cut) {
  qsizetype close = text.indexOf(']');
  IniStoreReader::Line line;
  if (close < 0) {
    // Cut at a ';': what the header meant to name is lost.
    if (cut) return Dropped(IniStoreReader::Line::UnreadableSection, "section header cut at ';'");
    close = text.size();
    line.problem = QStringLiteral("section header closed with ']'");
  }
  const QByteArray name = text.sliced(1, close - 1).toByteArray().trimmed();
  line.kind = IniStoreReader::Line::Section;
  if (name.compare("general", Qt::CaseInsensitive) == 0) return line;
  line.name = name.compare("%general", Qt::CaseInsensitive) == 0 ? QString::fromLatin1(name.sliced(1)) : UnescapeName(name);
  if (!CanBeNamed(line.name)) return Dropped(IniStoreReader::Line::UnreadableSection, "section without a name");
  return line;
}

}  // namespace

// As the reader's own line scan: blanks and tabs before the line skipped, a backslash
// hides the next character, quotes hide ';' and '=', and a ';' outside them ends the line
// (at its start it makes the whole line a comment).
IniStoreReader::Line IniStoreReader::Read(QByteArrayView line) {
  qsizetype start = 0;
  while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
  if (start == line.size() || line[start] == ';') return {};
  bool quoted = false, cut = false;
  qsizetype end = start, equals = -1;
  for (; end < line.size() && !cut; ++end) {
    const char c = line[end];
    if (c == '\\')
      ++end;
    else if (c == '"')
      quoted = !quoted;
    else if (c == '=' && !quoted && equals < 0)
      equals = end;
    else if (c == ';' && !quoted)
      cut = true;
  }
  end = cut ? end - 1 : std::min(end, line.size());
  const QByteArrayView text = line.sliced(start, end - start);
  if (text.startsWith('[')) return ReadHeader(text, cut);
  if (equals < 0) return Dropped(Line::Unreadable, "skipped, not readable");
  Line read;
  read.name = UnescapeName(text.first(equals - start).toByteArray().trimmed());
  if (!CanBeNamed(read.name)) return Dropped(Line::Unreadable, "skipped, a key without a name");
  read.value = Unescaper(text.sliced(equals - start + 1)).Run();
  if (!read.value.isValid()) return Dropped(Line::Unreadable, "skipped, a kind of value the settings do not keep");
  read.kind = Line::Value;
  return read;
}

IniStoreReader::IniStoreReader(QByteArrayView text) {
  if (text.startsWith(ByteOrderMark)) {
    text = text.sliced(ByteOrderMark.size());
    notes_ << QStringLiteral("line 1: byte-order mark read as nothing");
  }
  QString section;
  bool sectionLost = false;
  QMap<QString, int> lineOf;
  int number = 0;
  for (qsizetype start = 0; start <= text.size();) {
    qsizetype end = start;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
    const QByteArrayView line = text.sliced(start, end - start);
    ++number;
    start = end + (text.sliced(end).startsWith("\r\n") ? 2 : 1);
    const Line read = Read(line);
    if (!read.problem.isEmpty()) Note(number, read.problem, line);
    if (read.kind == Line::Section || read.kind == Line::UnreadableSection) {
      section = read.name.isEmpty() ? QString() : read.name + u'/';
      sectionLost = read.kind == Line::UnreadableSection;
    } else if (read.kind == Line::Value && sectionLost) {
      Note(number, QStringLiteral("skipped, below a section header that cannot be read"), line);
    } else if (read.kind == Line::Value) {
      const QString path = section + read.name;
      if (const int earlier = lineOf.value(path)) Note(earlier, QStringLiteral("given again on line %1, which counts").arg(number), {});
      lineOf.insert(path, number);
      values_.insert(path, read.value);
    }
  }
}

void IniStoreReader::Note(int number, const QString& what, QByteArrayView line) {
  QString note = QStringLiteral("line %1: %2").arg(number).arg(what);
  if (!line.isEmpty()) note += ": "_L1 + Shown(line);
  notes_ << note;
}
