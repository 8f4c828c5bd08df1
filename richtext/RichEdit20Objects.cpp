// Embedded objects. The platform has no object servers, so insertion ends with the error
// of missing object support; a JPEG path is still converted to a bitmap first, as the
// inserted object would have been, and the temporary files go again.

#include "RichEdit20.h"

#include "imaging/BitmapCodec.h"
#include "imaging/ImageFileHeader.h"
#include "imaging/RegularFile.h"
#include "imaging/VirtualBuffer.h"

#include "Yelk/Prompt.h"
#include "Yelk/TempFiles.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Error codes of insertion; 5: object support is not set up.
constexpr int NoObjectSupport = 5;

// The JPEG decoded and written as a bitmap file; the paths made are added to `made`.
bool JpegToBitmap(const QString& path, QStringList& made) {
  QFile file;
  if (RegularFile::Open(file, path) != RegularFile::Opened) return false;
  int width = 0, height = 0;
  if (!ImageFileHeader::JpegSize(file, width, height) || width <= 0 || height <= 0 || !file.seek(0)) return false;
  VirtualBuffer picture(width, height, QStringLiteral("InsertObjectFile"));
  if (!picture.Read(file, VirtualBuffer::JpegMode)) return false;
  const QString temp = CreateTempFile();
  if (temp.isEmpty()) return false;
  made << temp;
  const QString bitmap = QFileInfo(temp).path() + QLatin1Char('/') + QFileInfo(temp).completeBaseName() + ".bmp";
  made << bitmap;
  QFile out(bitmap);
  return out.open(QIODevice::WriteOnly | QIODevice::NewOnly) && BitmapCodec::Encode(picture.Image(), out, bitmap);
}

}  // namespace

bool RichEdit20::InsertObject() {
  PrepareBookmarks();
  Prompt::ShowApp(tr("The requested object could not be inserted.  %1").arg(NoObjectSupport), Prompt::Information);
  EndEdit(false);
  return false;
}

bool RichEdit20::InsertObjectFile(const QString& path) {
  QStringList made;
  if (path.contains(QLatin1String(".jpg")) || path.contains(QLatin1String(".jpeg"))) {
    if (!JpegToBitmap(path, made))
      Prompt::ShowApp(tr("An error occurred while trying to insert file\n") + path, Prompt::Stop);
  }
  const CHARRANGE selection = GetSelection();
  PrepareBookmarks();
  // Without object support nothing is inserted and, as for every failure here, nothing shown.
  for (const QString& temp : made) QFile::remove(temp);
  EndEdit(false);
  SetSelection(selection);
  return false;
}

// Storage for objects: none without object support, which the answer true reports.
bool RichEdit20::GetNewStorage() { return true; }
