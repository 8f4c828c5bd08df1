#pragma once
// The memory stream a puzzle file is built in: typed records (a type byte, a length byte and
// up to 255 value bytes, integers low byte first) followed by the data blocks. Values whose
// offsets are only known once the blocks are written are patched in place afterwards.

#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <cstdint>

class JigsawStream : public QBuffer {
public:
  JigsawStream();

  // type, 4, the four bytes of value.
  void WriteTriplet(int type, std::int32_t value);
  // type, n, the first n bytes of value (n from 1 to 4).
  void WriteTriplet(int type, int n, std::int32_t value);
  // The longest string a record holds, in bytes, before its NUL.
  static constexpr qsizetype MaxStringBytes = 254;
  // type, bytes + 1, the text as a stored path (see StoredPath) and a NUL; more than
  // MaxStringBytes bytes throw std::length_error.
  void WriteTriplet(int type, const QString& text);
  void WriteStringTriplet(int type, const QByteArray& bytes);
  // type, n, n bytes of data; n above 255 throws std::length_error.
  void WriteTriplet(int type, int n, const void* data);
  // type, 1, the byte.
  void WriteByteTriplet(int type, std::uint8_t value);

  // Writes bytes at the end; throws std::runtime_error when they do not all go.
  void Append(const QByteArray& bytes);
  // Rewrites the four value bytes of an i32 record whose value starts at position, and goes
  // back to the end.
  void Patch(qint64 position, std::int32_t value);

  const QByteArray& Bytes() const { return bytes_; }

private:
  QByteArray bytes_;
};
