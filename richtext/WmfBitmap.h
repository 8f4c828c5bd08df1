#pragma once
// The bitmap of a Windows metafile as the editor and word processors store a picture: one
// META_STRETCHDIB, META_DIBSTRETCHBLT, META_DIBBITBLT or META_SETDIBTODEV record holding a
// DIB. The records are untrusted: each size is checked against the data before it is used,
// and a record that would not advance ends the walk.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class WmfBitmap {
public:
  // The DIB (info header, palette, bits) of the first bitmap record; false with fault when
  // there is none or the records are broken.
  static bool FindDib(QByteArrayView wmf, QByteArrayView& dib, QString& fault);

  // A metafile of one META_STRETCHDIB drawing the DIB at width × height logical units.
  static QByteArray Wrap(QByteArrayView dib, int width, int height);
};
