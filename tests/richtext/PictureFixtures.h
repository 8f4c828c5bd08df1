#pragma once
// Pictures of notes made by the tests: a reference picture in the forms a note stores it
// (DIB, metafiles with each bitmap record, device bitmap, PNG, JPEG), their RTF groups,
// and damaged forms of them.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>

#include <cstdint>

namespace PictureFixtures {

// Distinct colours, none of them black (the decoders store black as 1).
QImage Reference(int width = 6, int height = 4);

QByteArray Dib(const QImage& image);
QByteArray Png(const QImage& image);
QByteArray Jpeg(const QImage& image);
// A metafile whose one bitmap record (its function) holds the DIB.
QByteArray Wmf(std::uint16_t function, const QByteArray& dib);
// The picture's rows as a device stores them: top-down, three bytes a pixel.
QByteArray DeviceBitmap24(const QImage& image);

// {\pict\<words>\picwgoal..\pichgoal.. <hex>} showing at `shown` pixels.
QByteArray Pict(const QByteArray& words, const QByteArray& data, QSize shown);
// A note holding body between the letters x and y.
QByteArray Note(const QByteArray& body);

// A PNG whose header says width × height (and whose data is a token one).
QByteArray PngHeaderOnly(int width, int height);

// Metafile bitmap-record functions.
constexpr std::uint16_t StretchDib = 0x0F43, DibStretchBlt = 0x0B41, DibBitBlt = 0x0940, SetDibToDev = 0x0D33;

}  // namespace PictureFixtures
