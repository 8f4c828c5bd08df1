#include "KeptGroup.h"

#include "NoteFormat.h"
#include "PictureFit.h"

#include <QImage>
#include <QTextDocument>
#include <QUrl>

#include <atomic>

namespace {

const QString kBoxName = QStringLiteral("kept-group:box");

}  // namespace

void KeptGroup::SetGroup(QTextCharFormat& format, const QByteArray& bytes, QSize size) {
  size = QSize(qBound(1, size.width(), MaxSide), qBound(1, size.height(), MaxSide));
  format.setObjectType(QTextFormat::ImageObject);
  format.setProperty(QTextFormat::ImageName, kBoxName);
  // Shown no taller than the tallest window's room even before a window fits it: Qt lays out
  // the first lines of a document as soon as it has a layout.
  const QSizeF shown = PictureFit::Fit(size, 0, PictureFit::MaxRoomHeight);
  format.setProperty(QTextFormat::ImageWidth, shown.width());
  format.setProperty(QTextFormat::ImageHeight, shown.height());
  format.setProperty(NoteProperty::KeptBytes, bytes);
  format.setProperty(NoteProperty::KeptSize, size);
}

bool KeptGroup::IsKept(const QTextCharFormat& format) { return format.hasProperty(NoteProperty::KeptBytes); }

QByteArray KeptGroup::Bytes(const QTextCharFormat& format) {
  return format.property(NoteProperty::KeptBytes).toByteArray();
}

QSize KeptGroup::Size(const QTextCharFormat& format) { return format.property(NoteProperty::KeptSize).toSize(); }

QString KeptGroup::ShowPicture(QTextCharFormat& format) {
  static std::atomic<quint64> count{0};
  const QString name = QStringLiteral("kept-group:picture-%1").arg(++count);
  format.setProperty(QTextFormat::ImageName, name);
  return name;
}

void KeptGroup::Install(QTextDocument* document) {
  static const QImage box = [] {
    QImage image(1, 1, QImage::Format_RGB32);
    image.fill(QColor(0xC0, 0xC0, 0xC0));
    return image;
  }();
  document->addResource(QTextDocument::ImageResource, QUrl(kBoxName), box);
  PictureFit::Install(document);
}
