#include "IniLineFilter.h"

#include <QStringDecoder>

namespace {

const QByteArray ByteOrderMark("\xEF\xBB\xBF");
constexpr int ShownBytes = 60;

bool IsValidText(const QByteArray& line) {
  for (const char c : line)
    if ((uchar(c) < 0x20 && c != '\t') || c == 0x7F) return false;
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  (void)utf8.decode(line);
  return !utf8.hasError();
}

// The reader takes a backslash as escaping the next character and a quote as running on
// to the next quote, across line ends.
bool EndsOpen(const QByteArray& line) {
  bool quoted = false;
  for (qsizetype i = 0; i < line.size(); ++i) {
    if (line[i] == '\\') {
      if (++i == line.size()) return true;
    } else if (line[i] == '"') {
      quoted = !quoted;
    }
  }
  return quoted;
}

// The line as a log can show it: printable ASCII, everything else as \xNN.
QString Shown(const QByteArray& line) {
  QString shown;
  for (const char c : line.left(ShownBytes)) {
    if (uchar(c) >= 0x20 && uchar(c) < 0x7F)
      shown += QLatin1Char(c);
    else
      shown += QStringLiteral("\\x%1").arg(uchar(c), 2, 16, QLatin1Char('0'));
  }
  if (line.size() > ShownBytes) shown += QStringLiteral("...");
  return shown;
}

}  // namespace

IniLineFilter::IniLineFilter(const QByteArray& text) {
  QByteArray body = text;
  if (body.startsWith(ByteOrderMark)) {
    body.remove(0, ByteOrderMark.size());
    changed_ = true;
    notes_ << QStringLiteral("line 1: byte-order mark read as nothing");
  }
  // The reader ends a line at a carriage return too.
  body.replace("\r\n", "\n");
  body.replace('\r', '\n');
  const QList<QByteArray> lines = body.split('\n');
  for (int i = 0; i < lines.size(); ++i) {
    const QByteArray& line = lines[i];
    const Verdict verdict = Judge(line);
    if (verdict == Verdict::Drop) {
      Note(i + 1, "skipped, not readable", line);
      continue;
    }
    if (verdict == Verdict::Close) {
      Note(i + 1, "section header closed with ']'", line);
      text_ += line.trimmed() + "]\n";
      continue;
    }
    text_ += line;
    if (i + 1 < lines.size()) text_ += '\n';
  }
}

IniLineFilter::Verdict IniLineFilter::Judge(const QByteArray& line) {
  const QByteArray trimmed = line.trimmed();
  if (trimmed.isEmpty()) return Verdict::Keep;
  if (!IsValidText(line)) return Verdict::Drop;
  // The reader skips a comment line whole.
  if (trimmed.startsWith(';')) return Verdict::Keep;
  if (EndsOpen(trimmed)) return Verdict::Drop;
  if (trimmed.startsWith('[')) {
    if (trimmed.size() < 2) return Verdict::Drop;
    return trimmed.contains(']') ? Verdict::Keep : Verdict::Close;
  }
  const qsizetype equals = trimmed.indexOf('=');
  return equals > 0 && !trimmed.left(equals).trimmed().isEmpty() ? Verdict::Keep : Verdict::Drop;
}

void IniLineFilter::Note(int number, const char* what, const QByteArray& line) {
  changed_ = true;
  notes_ << QStringLiteral("line %1: %2: %3").arg(number).arg(QLatin1String(what), Shown(line));
}
