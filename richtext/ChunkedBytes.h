#pragma once
// Bytes that arrive in many small pieces (a stream's 4 KB chunks), gathered in large blocks
// and joined once at the end: growing one array piece by piece copies it over and over,
// which for a note of many megabytes costs more than reading it.

#include <QByteArray>
#include <QIODevice>

#include <vector>

class ChunkedBytes {
public:
  void Append(const char* data, qsizetype size);
  qsizetype Size() const { return size_; }
  // All the bytes in one array of exactly their size; the collector is empty afterwards.
  QByteArray Take();

private:
  std::vector<QByteArray> blocks_;
  qsizetype size_ = 0;
};

// A write-only device over a collector, for stream-outs into memory.
class ChunkedSink : public QIODevice {
public:
  ChunkedSink() { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
  QByteArray Take() { return bytes_.Take(); }

protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override;

private:
  ChunkedBytes bytes_;
};
