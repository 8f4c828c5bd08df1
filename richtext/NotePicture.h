#pragma once
// The pictures of a note: what a kept picture or object group shows, decoded within the
// caps (each picture within the picture-buffer caps, a document within MaxDocumentBytes of
// decoded pictures), and the group a new picture is written as.

#include <QByteArray>
#include <QImage>
#include <QSize>

class NotePicture {
public:
  static constexpr qint64 MaxDocumentBytes = qint64(512) * 1024 * 1024;

  // The picture a group shows; null when it is drawn as a box: a metafile without a bitmap
  // (EMF and others), or a picture that is broken or over the caps (one log line). A decoded
  // picture's bytes are taken from budget, the decoded bytes its document has left.
  static QImage Decode(const QByteArray& group, qint64& budget);

  // The group of a new picture, as the editor writes a pasted one: \pict\wmetafile8 holding
  // one 24-bit DIB, which every reader of the format shows, at the picture's pixel size.
  // Empty when the picture is over the caps.
  static QByteArray GroupFor(const QImage& image);
};
