#include "ChipRecord.h"

#include <QIODevice>
#include <QtEndian>

#include <cstring>

namespace {

template <class T>
void Put(QByteArray& bytes, int offset, T value) {
  qToLittleEndian(value, bytes.data() + offset);
}

template <class T>
void Take(const QByteArray& bytes, int offset, T& value) {
  if (offset + int(sizeof(T)) <= bytes.size()) value = qFromLittleEndian<T>(bytes.constData() + offset);
}

}  // namespace

QByteArray ChipRecord::Bytes() const {
  QByteArray bytes(Size, '\0');
  Put(bytes, 0, centreX);
  Put(bytes, 4, centreY);
  Put(bytes, 8, groupId);
  Put(bytes, 10, pieceId);
  Put(bytes, 12, groupOffsetX);
  Put(bytes, 14, groupOffsetY);
  Put(bytes, 16, rotation);
  Put(bytes, 19, tableIndex);
  Put(bytes, 20, tableWidth);
  Put(bytes, 22, tableHeight);
  return bytes;
}

ChipRecord ChipRecord::FromBytes(const QByteArray& bytes) {
  ChipRecord record;
  Take(bytes, 0, record.centreX);
  Take(bytes, 4, record.centreY);
  Take(bytes, 8, record.groupId);
  Take(bytes, 10, record.pieceId);
  Take(bytes, 12, record.groupOffsetX);
  Take(bytes, 14, record.groupOffsetY);
  Take(bytes, 16, record.rotation);
  Take(bytes, 19, record.tableIndex);
  Take(bytes, 20, record.tableWidth);
  Take(bytes, 22, record.tableHeight);
  return record;
}

QByteArray ChipGroupRecord::Bytes() const {
  QByteArray bytes(Size, '\0');
  Put(bytes, 0, centreX);
  Put(bytes, 4, centreY);
  Put(bytes, 8, width);
  Put(bytes, 10, height);
  Put(bytes, 12, id);
  return bytes;
}

ChipGroupRecord ChipGroupRecord::FromBytes(const QByteArray& bytes) {
  ChipGroupRecord record;
  Take(bytes, 0, record.centreX);
  Take(bytes, 4, record.centreY);
  Take(bytes, 8, record.width);
  Take(bytes, 10, record.height);
  Take(bytes, 12, record.id);
  return record;
}

void WriteRecordBytes(QIODevice& stream, int type, const QByteArray& value) {
  const char header[2] = {char(type), char(value.size())};
  stream.write(header, 2);
  stream.write(value);
}
