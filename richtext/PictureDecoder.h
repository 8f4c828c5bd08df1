#pragma once
// Decodes the data of a note's picture with the imaging decoders, whose checks come first:
// a DIB (on its own or inside a metafile) and a device bitmap as BMP files, JPEG with
// libjpeg, PNG with Qt's reader. Every size is checked against the picture caps before
// anything is allocated. A failure gives a null image and one log line.

#include "PictureSource.h"

#include <QImage>
#include <QByteArrayView>
#include <QString>

class QIODevice;

class PictureDecoder {
public:
  // what names the picture in log lines; a picture of more than maxBytes decoded is refused.
  PictureDecoder(const QString& what, qint64 maxBytes) : what_(what), maxBytes_(maxBytes) {}

  // Null, without a log line, for kinds that are shown as a box (EMF and other metafiles).
  QImage Decode(const PictureSource& source) const;
  // A DIB: info header, palette, bits.
  QImage DecodeDib(QByteArrayView dib) const;

  // The 24-bit DIB of a picture, its transparent parts on white.
  static QByteArray EncodeDib(const QImage& image);

private:
  QImage Refuse(const QString& fault) const;
  bool Fits(int width, int height) const;
  template <typename SizeOf, typename DecodeInto>
  QImage DecodeRows(QIODevice& device, const QString& kind, SizeOf sizeOf, DecodeInto decode) const;
  QImage DecodeJpeg(const QByteArray& data) const;
  QImage DecodePng(const QByteArray& data) const;
  QImage DecodeDeviceBitmap(const PictureSource& source) const;

  QString what_;
  qint64 maxBytes_;
};
