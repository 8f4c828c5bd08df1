#include "RichPersist.h"

#include "RichPersistText.h"
#include "Yelk/MulDiv.h"

#include <QStringList>

#include <array>
#include <limits>
#include <utility>
#include <variant>

using namespace RichPersistText;

namespace {

using Member = std::variant<int RichPersist::*, bool RichPersist::*, QString RichPersist::*>;

struct Property {
  const char* name;
  Member member;
};

// In the order they are written; HdrFont's lines come after FtrMarg.
const std::array<Property, 25> Properties{{
    {"LMarg", &RichPersist::LMarg},     {"RMarg", &RichPersist::RMarg},       {"TMarg", &RichPersist::TMarg},
    {"BMarg", &RichPersist::BMarg},     {"Equal", &RichPersist::Equal},       {"Orient", &RichPersist::Orient},
    {"Size", &RichPersist::Size},       {"Rev", &RichPersist::Rev},           {"Even", &RichPersist::Even},
    {"Odd", &RichPersist::Odd},         {"LHdr", &RichPersist::LHdr},         {"MHdr", &RichPersist::MHdr},
    {"RHdr", &RichPersist::RHdr},       {"LFtr", &RichPersist::LFtr},         {"MFtr", &RichPersist::MFtr},
    {"RFtr", &RichPersist::RFtr},       {"PrtHdr", &RichPersist::PrtHdr},     {"PrtFtr", &RichPersist::PrtFtr},
    {"No1stHdr", &RichPersist::No1stHdr}, {"No1stFtr", &RichPersist::No1stFtr}, {"HdrMarg", &RichPersist::HdrMarg},
    {"FtrMarg", &RichPersist::FtrMarg}, {"Marks", &RichPersist::Marks},       {"Note", &RichPersist::Note},
    {"Wrap", &RichPersist::Wrap},
}};

const std::array<std::pair<const char*, int>, 4> Styles{{
    {"fsBold", PersistFont::Bold}, {"fsItalic", PersistFont::Italic}, {"fsUnderline", PersistFont::Underline},
    {"fsStrikeOut", PersistFont::StrikeOut}}};

// The names the class library writes for common colours and character sets.
const std::array<std::pair<const char*, int>, 9> Colors{{
    {"clBlack", 0}, {"clWhite", 0xFFFFFF}, {"clRed", 0x0000FF}, {"clGreen", 0x008000}, {"clBlue", 0xFF0000},
    {"clGray", 0x808080}, {"clWindowText", int(0x80000008)}, {"clWindow", int(0x80000005)}, {"clNone", 0x1FFFFFFF}}};
const std::array<std::pair<const char*, int>, 8> Charsets{{
    {"ANSI_CHARSET", 0}, {"DEFAULT_CHARSET", 1}, {"SYMBOL_CHARSET", 2}, {"EASTEUROPE_CHARSET", 238},
    {"RUSSIAN_CHARSET", 204}, {"GREEK_CHARSET", 161}, {"TURKISH_CHARSET", 162}, {"OEM_CHARSET", 255}}};

template <size_t N>
QString NameOf(const std::array<std::pair<const char*, int>, N>& names, int value) {
  for (const auto& [name, number] : names)
    if (number == value) return QString::fromLatin1(name);
  return QString::number(value);
}

[[noreturn]] void Invalid(const QString& property) {
  throw EReadError(QStringLiteral("Invalid property value of %1").arg(property).toStdString());
}

int ToInt(const Value& value, const QString& property) {
  const auto* number = std::get_if<std::int64_t>(&value);
  if (!number || *number < std::numeric_limits<int>::min() || *number > std::numeric_limits<int>::max())
    Invalid(property);
  return static_cast<int>(*number);
}

template <size_t N>
int ToNamedInt(const Value& value, const std::array<std::pair<const char*, int>, N>& names, const QString& property) {
  if (const auto* identifier = std::get_if<Identifier>(&value)) {
    for (const auto& [name, number] : names)
      if (identifier->name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return number;
    Invalid(property);
  }
  return ToInt(value, property);
}

bool ToBool(const Value& value, const QString& property) {
  const auto* identifier = std::get_if<Identifier>(&value);
  if (identifier && identifier->name.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
  if (identifier && identifier->name.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
  Invalid(property);
}

QString ToString(const Value& value, const QString& property) {
  const auto* text = std::get_if<QString>(&value);
  if (!text) Invalid(property);
  return *text;
}

int ToStyle(const Value& value, const QString& property) {
  const auto* set = std::get_if<Set>(&value);
  if (!set) Invalid(property);
  int style = 0;
  for (const QString& item : *set) {
    int bit = 0;
    for (const auto& [name, flag] : Styles)
      if (item.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) bit = flag;
    if (bit == 0) Invalid(property);
    style |= bit;
  }
  return style;
}

QStringList FontLines(const PersistFont& font) {
  const PersistFont fresh;
  QStringList lines;
  if (font.charset != fresh.charset) lines << QStringLiteral("HdrFont.Charset = ") + NameOf(Charsets, font.charset);
  if (font.color != fresh.color) lines << QStringLiteral("HdrFont.Color = ") + NameOf(Colors, font.color);
  if (font.height != fresh.height) lines << QStringLiteral("HdrFont.Height = %1").arg(font.height);
  if (font.name != fresh.name) lines << QStringLiteral("HdrFont.Name = ") + Quote(font.name);
  if (font.style != fresh.style) {
    QStringList names;
    for (const auto& [name, flag] : Styles)
      if (font.style & flag) names << QString::fromLatin1(name);
    lines << QStringLiteral("HdrFont.Style = [") + names.join(QStringLiteral(", ")) + QLatin1Char(']');
  }
  return lines;
}

bool ReadFont(PersistFont& font, const QString& property, const Value& value) {
  if (property.compare(QLatin1String("HdrFont.Charset"), Qt::CaseInsensitive) == 0)
    font.charset = ToNamedInt(value, Charsets, property);
  else if (property.compare(QLatin1String("HdrFont.Color"), Qt::CaseInsensitive) == 0)
    font.color = ToNamedInt(value, Colors, property);
  else if (property.compare(QLatin1String("HdrFont.Height"), Qt::CaseInsensitive) == 0)
    font.height = ToInt(value, property);
  else if (property.compare(QLatin1String("HdrFont.Name"), Qt::CaseInsensitive) == 0)
    font.name = ToString(value, property);
  else if (property.compare(QLatin1String("HdrFont.Style"), Qt::CaseInsensitive) == 0)
    font.style = ToStyle(value, property);
  else
    return false;
  return true;
}

void ReadProperty(RichPersist& persist, const QString& property, const Value& value) {
  if (ReadFont(persist.HdrFont, property, value)) return;
  for (const Property& known : Properties) {
    if (property.compare(QLatin1String(known.name), Qt::CaseInsensitive) != 0) continue;
    if (auto* number = std::get_if<int RichPersist::*>(&known.member)) persist.*(*number) = ToInt(value, property);
    if (auto* flag = std::get_if<bool RichPersist::*>(&known.member)) persist.*(*flag) = ToBool(value, property);
    if (auto* text = std::get_if<QString RichPersist::*>(&known.member)) persist.*(*text) = ToString(value, property);
    return;
  }
  throw EReadError(QStringLiteral("Property %1 does not exist").arg(property).toStdString());
}

}  // namespace

PersistFont PersistFont::From(const QFont& font) {
  PersistFont stored;
  stored.name = font.family();
  if (font.pointSize() > 0) stored.height = -MulDiv(font.pointSize(), 96, 72);
  stored.style = (font.bold() ? Bold : 0) | (font.italic() ? Italic : 0) | (font.underline() ? Underline : 0) |
                 (font.strikeOut() ? StrikeOut : 0);
  return stored;
}

QFont PersistFont::ToFont() const {
  QFont font(name);
  // Heights of either sign are pixels at 96 dots per inch; a point size needs at least 1.
  const int points = MulDiv(height < 0 ? -height : height, 72, 96);
  font.setPointSize(std::clamp(points, 1, 1638));
  font.setBold(style & Bold);
  font.setItalic(style & Italic);
  font.setUnderline(style & Underline);
  font.setStrikeOut(style & StrikeOut);
  return font;
}

QString RichPersist::ToText() const {
  const RichPersist fresh;
  QStringList lines{QStringLiteral("object RichPersist")};
  for (const Property& property : Properties) {
    const QString name = QString::fromLatin1(property.name);
    if (name == QLatin1String("Marks")) lines << FontLines(HdrFont);
    if (auto* number = std::get_if<int RichPersist::*>(&property.member)) {
      if (this->*(*number) != fresh.*(*number)) lines << name + QStringLiteral(" = %1").arg(this->*(*number));
    } else if (auto* flag = std::get_if<bool RichPersist::*>(&property.member)) {
      if (this->*(*flag) != fresh.*(*flag)) lines << name + (this->*(*flag) ? QStringLiteral(" = True") : QStringLiteral(" = False"));
    } else if (auto* text = std::get_if<QString RichPersist::*>(&property.member)) {
      if (!(this->*(*text)).isEmpty()) lines << name + QStringLiteral(" = ") + Quote(this->*(*text));
    }
  }
  for (qsizetype line = 1; line < lines.size(); ++line) lines[line].prepend(QStringLiteral("  "));
  lines << QStringLiteral("end");
  return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

RichPersist RichPersist::FromText(const QString& text) {
  Reader reader(text);
  if (reader.Name().compare(QLatin1String("object"), Qt::CaseInsensitive) != 0)
    throw EReadError("Invalid stream format: no object");
  QString className = reader.Name();
  // "object Name: Class" names the component before its class.
  if (reader.Next(QLatin1Char(':'))) className = reader.Name();
  if (className != QLatin1String("RichPersist"))
    throw EReadError(QStringLiteral("Class %1 is not RichPersist").arg(className).toStdString());
  RichPersist persist;
  for (;;) {
    const QString name = reader.Name();
    if (name.compare(QLatin1String("end"), Qt::CaseInsensitive) == 0) break;
    if (name.compare(QLatin1String("object"), Qt::CaseInsensitive) == 0)
      throw EReadError("Invalid stream format: RichPersist owns no components");
    reader.Expect(QLatin1Char('='));
    ReadProperty(persist, name, reader.ReadValue());
  }
  if (!reader.AtEnd()) throw EReadError("Invalid stream format: text after the end");
  return persist;
}
