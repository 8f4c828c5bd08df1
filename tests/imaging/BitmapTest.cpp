// BMP files into and out of buffers: every kind people's files hold against a reference
// written here, run-length codes that skip pixels, broken files, memory that held
// something else, round trips.

#include "BmpFixtureWriter.h"
#include "BmpReferences.h"
#include "ImagingFixtures.h"
#include "Yelk/TMsgLog.h"

#include <QBuffer>
#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>
#include <malloc.h>

using namespace ImagingFixtures;
using namespace BmpFixtureWriter;
using BmpReferences::Kind;
using BmpReferences::kinds;
using BmpReferences::MakeReference;
using BmpReferences::Reference;

namespace {

bool ReadBmp(const QByteArray& bytes, VirtualBuffer& buffer) { return ReadBytes(bytes, buffer, VirtualBuffer::BitmapMode); }

// A 6 × 4 run-length file with the given codes; palette: red, green, blue, white.
QByteArray RunFile(int bitCount, const QByteArray& codes) {
  const QList<QRgb> colours = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255)};
  return Write({40, 6, 4, bitCount, bitCount == 8 ? Rle8 : Rle4, false, colours, {}, {}, codes});
}

// A picture as rows of letters from the top: R, G, B, W, and K for black.
std::vector<std::uint32_t> Drawn(const std::vector<const char*>& rows) {
  std::vector<std::uint32_t> pixels;
  for (const char* row : rows)
    for (const char* c = row; *c; ++c)
      pixels.push_back(*c == 'R' ? 0xFF0000 : *c == 'G' ? 0x00FF00 : *c == 'B' ? 0x0000FF : *c == 'W' ? 0xFFFFFF : 1);
  return pixels;
}

}  // namespace

// Every width from 1 to 9 and 33 gives every row padding and the wide-load tails, and the
// 33 × 40 pictures run-length data longer than the longest code; each buffer starts full
// of a value no file gives, so a pixel left unwritten shows.
TEST(BitmapRead, EveryKindGivesTheExactPixelsOfItsReference) {
  for (const Kind& kind : kinds)
    for (int width : {1, 2, 3, 4, 5, 6, 7, 8, 9, 33})
      for (bool topDown : {false, true}) {
        if (topDown && !kind.topDownToo) continue;
        const int height = width == 33 ? 40 : 3;
        const Reference reference = MakeReference(kind, width, height, topDown);
        VirtualBuffer buffer(width, height, kind.name);
        FillAll(buffer, 0xABCDEF);
        ASSERT_TRUE(ReadBmp(reference.file, buffer)) << kind.name << " " << width << ": " << TMsgLog::Lines().last().toStdString();
        ASSERT_EQ(Pixels(buffer), reference.pixels) << kind.name << ", width " << width << (topDown ? ", top-down" : "");
      }
}

// Encoders that code an odd-width row's pad pixel write one pixel past the row; it is
// dropped, and the pixels of the row and the next stay exact.
TEST(BitmapRead, RunLengthRowsWithThePadPixelCodedGiveTheExactPixels) {
  for (const Kind* kind : {&kinds[7], &kinds[8]})
    for (int width : {1, 3, 5, 7, 9, 33, 451}) {
      const Reference reference = MakeReference(*kind, width, 6, false, true);
      VirtualBuffer buffer(width, 6, kind->name);
      FillAll(buffer, 0xABCDEF);
      ASSERT_TRUE(ReadBmp(reference.file, buffer)) << kind->name << " " << width << ": " << TMsgLog::Lines().last().toStdString();
      ASSERT_EQ(Pixels(buffer), reference.pixels) << kind->name << ", width " << width;
    }
  // Runs and pixels one by one that overrun a row by more are cut at its end as well.
  const struct {
    const char* name;
    QByteArray file;
  } overruns[] = {
      {"RLE8 run", RunFile(8, QByteArray("\x07\x01\x00\x00\x09\x00\x00\x01", 8))},
      {"RLE4 run", RunFile(4, QByteArray("\x07\x11\x00\x00\x09\x00\x00\x01", 8))},
      {"one by one", RunFile(8, QByteArray("\x00\x07\x01\x01\x01\x01\x01\x01\x02\x00"
                                            "\x00\x00\x09\x00\x00\x01", 16))},
  };
  for (const auto& c : overruns) {
    VirtualBuffer buffer(6, 4, c.name);
    FillAll(buffer, 0xABCDEF);
    ASSERT_TRUE(ReadBmp(c.file, buffer)) << c.name << ": " << TMsgLog::Lines().last().toStdString();
    EXPECT_EQ(Pixels(buffer), Drawn({"KKKKKK", "KKKKKK", "RRRRRR", "GGGGGG"})) << c.name;
  }
  // On the last row, whose memory ends the picture's: nothing is written past it, and a row
  // so filled needs no end code.
  const QByteArray blankRows("\x00\x00\x00\x00\x00\x00", 6);
  const struct {
    const char* name;
    QByteArray file;
  } lastRow[] = {
      {"RLE8 run", RunFile(8, blankRows + QByteArray("\x07\x02", 2))},
      {"RLE4 run", RunFile(4, blankRows + QByteArray("\x07\x22", 2))},
      {"one by one", RunFile(8, blankRows + QByteArray("\x00\x07\x02\x02\x02\x02\x02\x02\x02\x00", 10))},
  };
  for (const auto& c : lastRow) {
    std::vector<std::uint32_t> memory(6 * 4 + 8, 0xABCDEF);
    VirtualBuffer buffer(6, 4, c.name, memory.data(), 6 * 4 * 4);
    ASSERT_TRUE(ReadBmp(c.file, buffer)) << c.name << ": " << TMsgLog::Lines().last().toStdString();
    EXPECT_EQ(Pixels(buffer), Drawn({"BBBBBB", "KKKKKK", "KKKKKK", "KKKKKK"})) << c.name;
    EXPECT_EQ(std::vector<std::uint32_t>(memory.begin() + 24, memory.end()), std::vector<std::uint32_t>(8, 0xABCDEF)) << c.name;
  }
}

TEST(BitmapRead, RunLengthCodesLeaveEverySkippedPixelBlack) {
  // Rows in file order, bottom first: a run and an end of line; three pixels one by one; a
  // delta to the next row but one; a run; an end of line; a run and the end of the bitmap.
  const QByteArray rle8("\x02\x00\x00\x00"
                        "\x00\x03\x00\x01\x02\x00"
                        "\x00\x02\x01\x01"
                        "\x02\x01\x00\x00"
                        "\x01\x03\x00\x01",
                        22);
  const std::vector<std::uint32_t> picture = Drawn({"WKKKKK", "KKKKGG", "RGBKKK", "RRKKKK"});
  // The same picture in nibbles; a delta along a row as well.
  const QByteArray rle4("\x02\x00\x00\x00"
                        "\x00\x03\x01\x20"
                        "\x00\x02\x01\x01"
                        "\x02\x11\x00\x00"
                        "\x01\x30\x00\x02\x03\x00\x00\x01",
                        24);
  const struct {
    const char* name;
    QByteArray file;
    std::vector<std::uint32_t> pixels;
  } cases[] = {
      {"RLE8", RunFile(8, rle8), picture},
      {"RLE4", RunFile(4, rle4), picture},
      {"end of bitmap at once", RunFile(8, QByteArray("\x00\x01", 2)), Drawn({"KKKKKK", "KKKKKK", "KKKKKK", "KKKKKK"})},
      {"full last row without end codes", RunFile(8, QByteArray("\x00\x02\x00\x03\x06\x01", 6)),
       Drawn({"GGGGGG", "KKKKKK", "KKKKKK", "KKKKKK"})},
  };
  for (const auto& c : cases) {
    VirtualBuffer buffer(6, 4, c.name);
    FillAll(buffer, 0xABCDEF);
    ASSERT_TRUE(ReadBmp(c.file, buffer)) << c.name << ": " << TMsgLog::Lines().last().toStdString();
    EXPECT_EQ(Pixels(buffer), c.pixels) << c.name;
  }
}

// Each broken file is refused with one log line saying what.
TEST(BitmapRead, BrokenFilesAreRefusedWithOneLogLine) {
  const Reference good = MakeReference(kinds[12], 6, 4, false);  // 24 bits
  const Reference indexed = MakeReference(kinds[6], 6, 4, false);  // 8 bits, 20 colours
  const auto patched = [](QByteArray bytes, int at, qint32 value) {
    qToLittleEndian(value, bytes.data() + at);
    return bytes;
  };
  const qint32 pixelsAt = qFromLittleEndian<qint32>(indexed.file.constData() + 10);
  const QByteArray masks = MakeReference(kinds[10], 6, 4, false).file;
  const struct {
    const char* name;
    QByteArray file;
    const char* says;
  } cases[] = {
      {"empty", {}, "not a BMP file"},
      {"not a bitmap", "PK not a bitmap at all, not at all", "not a BMP file"},
      {"pixels past the end", patched(good.file, 10, qint32(good.file.size() + 100)), "outside the file"},
      {"pixels inside the file header", patched(good.file, 10, 3), "outside the file"},
      {"pixels inside the info header", patched(good.file, 10, 40), "inside its headers"},
      {"an unknown header size", patched(good.file, 14, 20), "header unusable"},
      {"too wide", patched(good.file, 18, 40000), "size refused"},
      {"too high", patched(good.file, 22, 40000), "size refused"},
      {"too high top-down", patched(good.file, 22, -40000), "size refused"},
      {"too many pixels", patched(patched(good.file, 18, 16385), 22, 16384), "size refused"},
      {"no width", patched(good.file, 18, 0), "size refused"},
      {"no height", patched(good.file, 22, 0), "size refused"},
      {"2 bits", patched(good.file, 28, 2), "not supported"},
      {"run-length 24 bits", patched(good.file, 30, Rle8), "not supported"},
      {"a mask with a gap", patched(masks, 54, 0xF00F), "masks unusable"},
      {"a mask past 16 bits", patched(masks, 54, 0x1F0000), "masks unusable"},
      {"a palette over the pixels", patched(indexed.file, 10, pixelsAt - 4), "palette overlaps"},
      {"a palette count over the pixels", patched(indexed.file, 46, 21), "palette overlaps"},
      {"cut short by a byte", good.file.left(good.file.size() - 1), "cut short"},
      {"cut inside the headers", good.file.left(30), "outside the file"},
      {"a delta past the row", RunFile(8, QByteArray("\x04\x01\x00\x02\x03\x00", 6)), "past the picture"},
      {"a delta past the picture", RunFile(8, QByteArray("\x00\x02\x00\x04", 4)), "past the picture"},
      {"runs that stop early", RunFile(8, QByteArray("\x06\x01\x00\x00\x06\x01", 6)), "cut short"},
      {"a cut inside pixels one by one", RunFile(8, QByteArray("\x00\x05\x01\x02", 4)), "cut short"},
  };
  for (const auto& c : cases) {
    VirtualBuffer buffer(6, 4, c.name);
    const auto before = TMsgLog::Generation();
    EXPECT_FALSE(ReadBmp(c.file, buffer)) << c.name;
    EXPECT_EQ(TMsgLog::Generation(), before + 1) << c.name;
    EXPECT_TRUE(TMsgLog::Lines().last().contains(c.says)) << c.name << ": " << TMsgLog::Lines().last().toStdString();
  }
}

// The same file decoded into fresh memory that malloc filled with different bytes gives the
// same picture: no pixel is left as the memory held it.
TEST(BitmapRead, PixelsDoNotDependOnWhatTheMemoryHeld) {
  if (mallopt(M_PERTURB, 0x11) == 0) GTEST_SKIP() << "this allocator does not fill fresh memory";
  QByteArray codes;  // 64 × 40, bottom-up: runs, ends of line, deltas, and an early end
  for (int row = 0; row < 30; ++row) {
    codes += QByteArray(1, char(10 + row)) + char(row % 4);
    if (row % 3 == 1) codes += QByteArray("\x00\x02\x05\x01", 4), ++row;
    codes += QByteArray("\x00\x00", 2);
  }
  codes += QByteArray("\x00\x01", 2);
  QList<QRgb> colours;  // every index its own colour, so that any leftover byte shows
  for (int i = 0; i < 256; ++i) colours.append(qRgb(i, 255 - i, i * 7 % 256));
  BmpLayout shortPalette{40, 64, 40, 8, Rgb, false, colours.mid(0, 4), {}, [](int x, int y) { return quint32(x * y % 256); }};
  const QByteArray files[] = {Write({40, 64, 40, 8, Rle8, false, colours, {}, {}, codes}), Write(shortPalette)};
  for (const QByteArray& file : files) {
    std::vector<std::uint32_t> seen[2];
    for (int round = 0; round < 2; ++round) {
      mallopt(M_PERTURB, round ? 0xEE : 0x11);
      VirtualBuffer buffer(64, 40, "fresh", VirtualBuffer::Uncleared{});
      EXPECT_TRUE(ReadBmp(file, buffer)) << TMsgLog::Lines().last().toStdString();
      seen[round] = Pixels(buffer);
    }
    mallopt(M_PERTURB, 0);
    EXPECT_EQ(seen[0], seen[1]);
    EXPECT_EQ(std::count(seen[0].begin(), seen[0].end(), 0u), 0);
  }
}

TEST(BitmapWrite, RoundTripWrites24BitsAndKeepsEveryPixel) {
  QImage image = ColourfulImage(7, 4);
  image.setPixel(2, 1, qRgb(0, 0, 0));
  VirtualBuffer picture(image, "round trip");
  QByteArray bytes;
  {
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.Write(out, VirtualBuffer::BitmapMode));
  }
  const auto* raw = reinterpret_cast<const uchar*>(bytes.constData());
  EXPECT_EQ(qFromLittleEndian<quint16>(raw + 28), 24);
  EXPECT_EQ(qFromLittleEndian<quint32>(raw + 2), quint32(bytes.size()));
  VirtualBuffer copy(7, 4, "copy");
  ASSERT_TRUE(ReadBmp(bytes, copy));
  EXPECT_EQ(Pixels(copy), Pixels(picture));
  EXPECT_EQ(PixelAt(copy, 2, 1), 1u);
}

TEST(BitmapRead, TheStreamIsLeftAfterTheFileAndAnotherSizeLeavesTheBufferUnchanged) {
  for (const Kind* kind : {&kinds[12], &kinds[8]}) {  // 24 bits and RLE8
    const QByteArray file = MakeReference(*kind, 5, 3, false).file;
    QByteArray bytes = file + "TRAILER";
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    VirtualBuffer buffer(5, 3, "embedded");
    ASSERT_TRUE(buffer.Read(stream, VirtualBuffer::BitmapMode)) << kind->name;
    EXPECT_EQ(stream.read(7), QByteArray("TRAILER")) << kind->name;
    QByteArray overstated = file;
    qToLittleEndian<quint32>(0x7FFFFFF0, overstated.data() + 2);  // recorded size past the end
    EXPECT_TRUE(ReadBmp(overstated, buffer)) << kind->name;

    auto other = Patterned(5, 4);
    EXPECT_FALSE(ReadBmp(file, *other));
    EXPECT_EQ(Pixels(*other), Pixels(*Patterned(5, 4)));
  }
}
