#include "Sponser.h"

#include "Yelk/IniText.h"
#include "Yelk/PathUtils.h"
#include "Yelk/TMsgLog.h"
#include "imaging/ImageFileHeader.h"
#include "imaging/VirtualBuffer.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

Sponser::Sponser(const QString& folder) {
  const QString path = folder + QStringLiteral("Spnsr.dat");
  const IniText ini(ReadFile(path));
  const QString general = QStringLiteral("General");
  Ver = ini.ReadInteger(general, QStringLiteral("Ver"), 0);
  Id = ini.ReadString(general, QStringLiteral("Id"));
  Name = ini.ReadString(general, QStringLiteral("Name"));
  Aff = ini.ReadInteger(general, QStringLiteral("Aff"), 0);
  URL = ini.ReadString(general, QStringLiteral("URL"));
  LoadSponsorIcon(ini);
  LoadSponsorLogo(ini);
  SetCurrent(this);
}

Sponser::~Sponser() = default;

QString& Sponser::SponsorFolder() {
  static QString folder = GetExePath();
  return folder;
}

// A file that is not there reads as empty; one too large to be a sponsor's is not read.
QByteArray Sponser::ReadFile(const QString& path) {
  QFile file(path);
  if (!file.exists()) return {};
  if (!file.open(QIODevice::ReadOnly)) {
    TMsgLog::Add(QStringLiteral("Sponser - cannot read ") + path);
    return {};
  }
  QByteArray bytes = file.read(MaxFileBytes + 1);
  if (bytes.size() > MaxFileBytes) {
    TMsgLog::Add(QStringLiteral("Sponser - %1 is larger than %2 bytes and is ignored")
                     .arg(path)
                     .arg(MaxFileBytes));
    return {};
  }
  return bytes;
}

bool Sponser::HexToStream(const QString& text, QByteArray& bytes) {
  const qsizetype length = text.size() / 2;
  bytes.resize(length);
  auto digit = [](QChar c) {
    const char16_t u = c.unicode();
    return u >= '0' && u <= '9' ? int(u - '0') : u >= 'A' && u <= 'F' ? int(u - 55) : -1;
  };
  for (qsizetype i = 0; i < length; ++i) {
    const int high = digit(text[2 * i]);
    const int low = digit(text[2 * i + 1]);
    if (high < 0 || low < 0) {
      bytes.clear();
      return false;
    }
    bytes[i] = char(high << 4 | low);
  }
  return true;
}

void Sponser::LoadSponsorIcon(const IniText& ini) {
  const QString data = ini.ReadString(QStringLiteral("Icon"), QStringLiteral("Data"));
  if (data.isEmpty()) return;
  QByteArray bytes;
  QString reason;
  if (!HexToStream(data, bytes)) {
    reason = QStringLiteral("the data holds a character that is not a hex digit");
  } else {
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    QImageReader reader(&stream, "BMP");
    const QSize size = reader.size();
    QImage read;
    if (!ImageFileHeader::Acceptable(size.width(), size.height()))
      reason = QStringLiteral("the bitmap's size is not acceptable");
    else if (!reader.read(&read))
      reason = reader.errorString();
    else {
      read = read.convertToFormat(QImage::Format_ARGB32);
      read.setAlphaChannel(read.createMaskFromColor(qRgb(255, 0, 255), Qt::MaskOutColor));
      icon = read.scaled(IconSide, IconSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
      return;
    }
  }
  TMsgLog::Add(QStringLiteral("Error loading sponser icon:  ") + reason);
}

void Sponser::LoadSponsorLogo(const IniText& ini) {
  const QString section = QStringLiteral("Logo");
  const bool display = ini.ReadBool(section, QStringLiteral("Display"), false);
  const QString data = ini.ReadString(section, QStringLiteral("Data"));
  const int width = ini.ReadInteger(section, QStringLiteral("Width"), 0);
  const int height = ini.ReadInteger(section, QStringLiteral("Height"), 0);
  const int dilute = ini.ReadInteger(section, QStringLiteral("Dilute"), 0);
  if (!display || data.isEmpty() || width == 0 || height == 0 || dilute == 0) return;
  QByteArray bytes;
  const QString reason = HexToStream(data, bytes)
                             ? MakeLogo(bytes, width, height, dilute)
                             : QStringLiteral("the data holds a character that is not a hex digit");
  if (reason.isEmpty()) return;
  logo.reset();
  TMsgLog::Add(QStringLiteral("Error loading signature:  ") + reason);
}

QString Sponser::MakeLogo(const QByteArray& bitmap, int width, int height, int dilute) {
  if (!ImageFileHeader::Acceptable(width, height))
    return QStringLiteral("%1 x %2 is not an acceptable size").arg(width).arg(height);
  QByteArray copy = bitmap;
  QBuffer stream(&copy);
  stream.open(QIODevice::ReadOnly);
  // The size comes from the text: no buffer before the bitmap itself says it is that large.
  int bitmapWidth = 0, bitmapHeight = 0;
  const bool sized = ImageFileHeader::BmpSize(stream, bitmapWidth, bitmapHeight) && bitmapWidth == width &&
                     bitmapHeight == height && stream.seek(0);
  if (sized) logo = std::make_unique<VirtualBuffer>(width, height, QStringLiteral("Signature"), VirtualBuffer::Uncleared{});
  if (!sized || logo->IsEmpty() || !logo->Read(stream, VirtualBuffer::BitmapMode))
    return QStringLiteral("the bitmap is not a %1 x %2 picture").arg(width).arg(height);
  logo->MakeShadeMap(dilute, 1);
  return {};
}
