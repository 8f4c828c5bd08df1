#include "JigsawStream.h"

#include "StoredPath.h"

#include <QtEndian>

#include <cstring>

#include <stdexcept>

JigsawStream::JigsawStream() {
  setBuffer(&bytes_);
  open(QIODevice::ReadWrite);
}

void JigsawStream::WriteTriplet(int type, std::int32_t value) { WriteTriplet(type, 4, value); }

void JigsawStream::WriteTriplet(int type, int n, std::int32_t value) {
  if (n < 1 || n > 4) throw std::length_error("WriteTriplet: bad integer width.");
  char little[4];
  qToLittleEndian(value, little);
  WriteTriplet(type, n, little);
}

void JigsawStream::WriteTriplet(int type, const QString& text) { WriteStringTriplet(type, StoredPath::Encode(text)); }

void JigsawStream::WriteStringTriplet(int type, const QByteArray& bytes) {
  if (bytes.size() > MaxStringBytes) throw std::length_error("WriteTriplet: path too long.");
  QByteArray value = bytes;
  value.append('\0');
  WriteTriplet(type, int(value.size()), value.constData());
}

void JigsawStream::WriteTriplet(int type, int n, const void* data) {
  if (n < 0 || n > 255) throw std::length_error("WriteTriplet: data too long.");
  QByteArray record(2 + n, '\0');
  record[0] = char(type);
  record[1] = char(n);
  if (n > 0) std::memcpy(record.data() + 2, data, std::size_t(n));
  Append(record);
}

void JigsawStream::WriteByteTriplet(int type, std::uint8_t value) { WriteTriplet(type, 1, &value); }

void JigsawStream::Append(const QByteArray& bytes) {
  seek(size());
  if (write(bytes) != bytes.size()) throw std::runtime_error("JigsawStream: write failed.");
}

void JigsawStream::Patch(qint64 position, std::int32_t value) {
  if (position < 0 || position + 4 > size()) throw std::out_of_range("JigsawStream: patch outside the stream.");
  qToLittleEndian(value, bytes_.data() + position);
  seek(size());
}
