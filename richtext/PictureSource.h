#pragma once
// The picture a reader shows out of a kept picture or object group: the \pict of a
// \*\shppict rather than its \nonshppict twin, an object's \result picture. Its hex (or
// \bin) data is decoded into bytes; nothing else of the group is looked at.

#include <QByteArray>

#include <cstddef>

struct PictureSource {
  enum class Kind { None, Dib, DeviceBitmap, Wmf, Emf, Png, Jpeg, Other };

  Kind kind = Kind::None;
  QByteArray data;
  int width = 0, height = 0;                 // \picw, \pich: a bitmap's pixels
  int bitsPerPixel = 1, widthBytes = 0, planes = 1;  // a device bitmap's layout

  static PictureSource Find(const QByteArray& group);
  // Hex digits to bytes, skipping anything else (line ends); an odd last digit is dropped.
  static void AppendHex(const char* text, std::size_t size, QByteArray& out, int& pending);
};
