#include "StoredPath.h"

#include <QDir>
#include <QStringDecoder>

#include <algorithm>

namespace {

// A byte-order mark at the start is a character of the name, not a mark.
constexpr auto Utf8Flags = QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom;

}  // namespace

bool StoredPath::IsNonAsciiUtf8(const QByteArray& bytes) {
  if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; })) return false;
  QStringDecoder utf8(QStringDecoder::Utf8, Utf8Flags);
  const QString decoded = utf8.decode(bytes);
  return !utf8.hasError();
}

QByteArray StoredPath::Encode(const QString& path) {
  const QByteArray latin1 = path.toLatin1();
  if (QString::fromLatin1(latin1) == path && !IsNonAsciiUtf8(latin1)) return latin1;
  return path.toUtf8();
}

QString StoredPath::Decode(const QByteArray& bytes) {
  if (!IsNonAsciiUtf8(bytes)) return QString::fromLatin1(bytes);
  QStringDecoder utf8(QStringDecoder::Utf8, Utf8Flags);
  return utf8.decode(bytes);
}

QByteArray StoredPath::Fitted(const QString& path, const QString& folder, qsizetype limit) {
  const QByteArray whole = Encode(path);
  if (whole.size() <= limit) return whole;
  const QByteArray relative = Encode(QDir(folder).relativeFilePath(path));
  return relative.size() <= limit ? relative : whole;
}

QString StoredPath::Resolved(const QByteArray& bytes, const QString& folder) {
  const QString path = Decode(bytes);
  if (path.isEmpty() || !QDir::isRelativePath(path)) return path;
  return QDir::cleanPath(QDir(folder).filePath(path));
}
