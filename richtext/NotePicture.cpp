#include "NotePicture.h"

#include "PictureDecoder.h"
#include "PictureSource.h"
#include "WmfBitmap.h"
#include "imaging/ImageFileHeader.h"

namespace {

constexpr int kHexLine = 128;  // characters per line of picture data, as the editor writes it

qint64 HiMetric(int pixels) { return qint64(pixels) * 2540 / 96; }
int Twips(int pixels) { return pixels * 15; }

}  // namespace

QImage NotePicture::Decode(const QByteArray& group, qint64& budget) {
  const PictureSource source = PictureSource::Find(group);
  const PictureDecoder decoder(QStringLiteral("Note picture"), budget);
  QImage picture = decoder.Decode(source);
  if (!picture.isNull()) budget -= picture.sizeInBytes();
  return picture;
}

QByteArray NotePicture::GroupFor(const QImage& image) {
  if (!ImageFileHeader::Acceptable(image.width(), image.height())) return {};
  const QByteArray dib = PictureDecoder::EncodeDib(image);
  if (dib.isEmpty()) return {};
  const QByteArray hex = WmfBitmap::Wrap(dib, image.width(), image.height()).toHex();
  QByteArray group = QStringLiteral("{\\pict\\wmetafile8\\picw%1\\pich%2\\picwgoal%3\\pichgoal%4 \r\n")
                         .arg(HiMetric(image.width()))
                         .arg(HiMetric(image.height()))
                         .arg(Twips(image.width()))
                         .arg(Twips(image.height()))
                         .toLatin1();
  group.reserve(group.size() + hex.size() + hex.size() / kHexLine * 2 + 3);
  for (qsizetype at = 0; at < hex.size(); at += kHexLine) group.append(hex.mid(at, kHexLine)).append("\r\n");
  return group.append('}');
}
