#pragma once
// Puzzle files made by the tests on top of JigsawStream: records in any order, blocks placed
// after the end record with their offsets patched in, and where every i32 value lies, so a
// test can push one out of range. Also tiny WAVE and MIDI images for the music.

#include "PuzzleFixtures.h"
#include "puzzle/ChipRecord.h"
#include "puzzle/JigsawFile.h"
#include "puzzle/JigsawStream.h"

#include <QByteArray>
#include <QFile>
#include <QtEndian>
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
}  // namespace JigsawFixtures

inline JigsawFileBuilder::JigsawFileBuilder(bool marker) {
  stream_.Append(QByteArray(JigsawFile::Signature, JigsawFile::SignatureSize));
  if (marker) stream_.WriteByteTriplet(255, 1);
}

inline JigsawFileBuilder& JigsawFileBuilder::Int(int type, std::int32_t value) {
  stream_.WriteTriplet(type, value);
  valueAt[type] = stream_.size() - 4;
  return *this;
}

inline JigsawFileBuilder& JigsawFileBuilder::Short(int type, int width, std::int32_t value) {
  stream_.WriteTriplet(type, width, value);
  return *this;
}

inline JigsawFileBuilder& JigsawFileBuilder::Byte(int type, std::uint8_t value) {
  stream_.WriteByteTriplet(type, value);
  return *this;
}

inline JigsawFileBuilder& JigsawFileBuilder::Raw(int type, const QByteArray& value) {
  stream_.WriteTriplet(type, int(value.size()), value.constData());
  return *this;
}

inline JigsawFileBuilder& JigsawFileBuilder::Text(int type, const QString& text) {
  stream_.WriteTriplet(type, text);
  return *this;
}

inline JigsawFileBuilder& JigsawFileBuilder::Block(int offsetType, int sizeType, const QByteArray& bytes) {
  Int(offsetType, 0);
  blocks_.push_back({valueAt[offsetType], bytes});
  return Int(sizeType, std::int32_t(bytes.size()));
}

inline QByteArray JigsawFileBuilder::Finish() {
  stream_.WriteTriplet(1, 0);
  for (const Pending& block : blocks_) {
    stream_.Patch(block.offsetAt, std::int32_t(stream_.size()));
    stream_.Append(block.bytes);
  }
  return stream_.Bytes();
}

namespace JigsawFixtures {

// A mono 8-bit WAVE image of samples bytes; a one-note MIDI file.

inline QByteArray TinyWave(int samples = 800) {
  QByteArray wave("RIFF....WAVEfmt ");
  const auto put32 = [&wave](std::uint32_t v) { char b[4]; qToLittleEndian(v, b); wave.append(b, 4); };
  const auto put16 = [&wave](std::uint16_t v) { char b[2]; qToLittleEndian(v, b); wave.append(b, 2); };
  put32(16);
  put16(1), put16(1), put32(8000), put32(8000), put16(1), put16(8);
  wave.append("data");
  put32(std::uint32_t(samples));
  for (int i = 0; i < samples; ++i) wave.append(char(128 + (i % 16 < 8 ? 40 : -40)));
  qToLittleEndian(std::uint32_t(wave.size() - 8), wave.data() + 4);
  return wave;
}

inline QByteArray TinyMidi() {
  static const unsigned char midi[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,
                                       'M', 'T', 'r', 'k', 0, 0, 0, 12, 0, 0x90, 60, 100, 96, 0x80, 60, 0,
                                       0, 0xFF, 0x2F, 0};
  return QByteArray(reinterpret_cast<const char*>(midi), sizeof midi);
}

inline QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

inline QByteArray PictureBytes(const QString& name, int width, int height) {
  return ReadAll(PuzzleFixtures::WritePicture(name, width, height));
}

inline FullGame MakeGame() {
  FullGame game;
  game.picture = PictureBytes(QStringLiteral("game picture.bmp"), 48, 36);
  game.cover = PictureBytes(QStringLiteral("game cover.jpg"), 20, 16);
  game.note = QByteArray("{\\rtf1 Played at the seaside.}");
  game.music = TinyWave();
  game.groups = {ChipGroupRecord{0.25f, 0.5f, 30, 20, 7}, ChipGroupRecord{0.75f, 0.5f, 12, 14, 9}};
  for (int i = 0; i < 4; ++i) {
    ChipRecord piece;
    piece.centreX = 0.1f * float(i + 1);
    piece.centreY = 0.2f;
    piece.pieceId = std::uint16_t(i + 1);
    piece.groupId = i < 2 ? 7 : 0;
    piece.groupOffsetX = std::int16_t(i == 1 ? 12 : 0);
    piece.rotation = std::uint16_t(90 * i);
    piece.tableIndex = std::uint8_t(i == 3 ? 2 : 0);
    piece.tableWidth = 12;
    piece.tableHeight = 14;
    game.pieces.push_back(piece);
  }
  JigsawFileBuilder file;
  file.Byte(2, 2).Block(3, 33, game.picture).Byte(4, 3).Block(5, 34, game.cover);
  file.Int(14, 12).Byte(11, 1).Int(12, 900).Int(13, 700).Byte(6, 1).Int(9, 12).Int(12, 640).Int(13, 480);
  file.Int(17, 50).Int(18, 40).Int(19, 1920).Int(20, 1080).Int(21, 33).Int(22, 44).Int(25, 5);
  file.Int(27, 36526).Int(54, 0).Byte(28, 1).Int(7, 8).Int(36, 3).Int(37, 3725).Byte(8, 0).Byte(39, 1);
  file.Byte(38, 1).Byte(29, 1).Int(41, 2004).Byte(30, 1).Byte(52, 1).Byte(53, 1);
  file.Byte(48, 1).Int(49, 120).Int(50, 130).Byte(51, 1).Int(23, 48).Int(24, 36);
  file.Block(42, 43, game.note).Block(45, 44, game.music).Int(46, 2).Text(10, QString());
  game.groupRecordAt = file.Size();
  for (const ChipGroupRecord& group : game.groups) file.Raw(ChipGroupRecord::Type, group.Bytes());
  game.pieceRecordAt = file.Size();
  for (const ChipRecord& piece : game.pieces) file.Raw(ChipRecord::Type, piece.Bytes());
  game.valueAt = file.valueAt;
  game.bytes = file.Finish();
  return game;
}

inline const FullGame& Game() {
  static const FullGame game = MakeGame();
  return game;
}

// The full saved game with its WAVE track, the last block, replaced by track of the given kind
// (1 = MIDI, 2 = WAVE).
inline QByteArray GameWithTrack(const QByteArray& track, int kind) {
  const FullGame& game = Game();
  QByteArray bytes = game.bytes.left(game.bytes.size() - game.music.size()) + track;
  qToLittleEndian(std::int32_t(track.size()), bytes.data() + game.valueAt.at(44));
  qToLittleEndian(std::int32_t(kind), bytes.data() + game.valueAt.at(46));
  return bytes;
}

}  // namespace JigsawFixtures
