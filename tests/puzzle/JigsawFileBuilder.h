#pragma once
// Puzzle files made by the tests on top of JigsawStream: records in any order, blocks placed
// after the end record with their offsets patched in, and where every i32 value lies, so a
// test can push one out of range. Also tiny WAVE and MIDI images for the music.

#include "puzzle/ChipRecord.h"
#include "puzzle/JigsawStream.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <map>
#include <vector>

class JigsawFileBuilder {
public:
  // The signature, and the marker record unless told otherwise.
  explicit JigsawFileBuilder(bool marker = true);

  JigsawFileBuilder& Int(int type, std::int32_t value);
  JigsawFileBuilder& Short(int type, int width, std::int32_t value);
  JigsawFileBuilder& Byte(int type, std::uint8_t value);
  JigsawFileBuilder& Raw(int type, const QByteArray& value);
  JigsawFileBuilder& Text(int type, const QString& text);
  // An offset record and a size record now, the bytes after the end record.
  JigsawFileBuilder& Block(int offsetType, int sizeType, const QByteArray& bytes);
  qint64 Size() const { return stream_.size(); }
  // The end record and the blocks.
  QByteArray Finish();

  // Where the value of the last i32 record of each type lies.
  std::map<int, qint64> valueAt;

private:
  struct Pending {
    qint64 offsetAt;
    QByteArray bytes;
  };
  JigsawStream stream_;
  std::vector<Pending> blocks_;
};

namespace JigsawFixtures {
// A mono 8-bit WAVE image of samples bytes; a one-note MIDI file.
QByteArray TinyWave(int samples = 800);
QByteArray TinyMidi();
// The bytes of a w x h picture file written by the engine fixtures (".bmp" or ".jpg").
QByteArray PictureBytes(const QString& name, int width, int height);
QByteArray ReadAll(const QString& path);
void WriteAll(const QString& path, const QByteArray& bytes);

// A saved game holding every record type the program writes and reads, with a BMP picture
// (48 x 36), a JPEG box cover (20 x 16), a note, a WAVE track, four pieces (two of them in
// group 7) and two groups.
struct FullGame {
  QByteArray bytes;
  std::map<int, qint64> valueAt;  // of the i32 records
  qint64 pieceRecordAt = 0;       // the first piece record's type byte
  qint64 groupRecordAt = 0;       // the first group record's type byte
  QByteArray picture, cover, note, music;
  std::vector<ChipRecord> pieces;
  std::vector<ChipGroupRecord> groups;
};
const FullGame& Game();
}  // namespace JigsawFixtures
