// Reading an animated puzzle's header, picture and note, and handing its clips and tracks to
// playback.

#include "TessavinelumeFile.h"

#include "PictureFile.h"
#include "SoundTrack.h"
#include "VideoClip.h"
#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "imaging/RegularFile.h"
#include "imaging/VirtualBuffer.h"

#include <QFileInfo>
#include <QtEndian>

#include <stdexcept>

namespace {
[[noreturn]] void Corrupt(const QString& what) { throw std::runtime_error(what.toStdString()); }

void ShowCorruption(const QString& reason) {
  Prompt::ShowApp(QStringLiteral("File corruption encountered.\r") + reason, Prompt::Stop);
}
}  // namespace

TessavinelumeFile::TessavinelumeFile(const QString& filePath) : path(filePath) {
  status = Read();
  if (status != pfsReady) {
    header.clipCount = 0;
    header.trackCount = 0;
    picture.reset();
    pictureBytes.clear();
    note.clear();
    hasNote = false;
  }
}

TessavinelumeFile::~TessavinelumeFile() {
  Close();
  tracks.clear();
  DropFrameFile();
}

int TessavinelumeFile::Read() {
  if (path.size() < 4 || path.right(3).toLower() != QLatin1String("qvp")) return pfsWrongKind;
  QFile file;
  if (RegularFile::Open(file, path) != RegularFile::Opened) return pfsNotFound;
  fileSize = file.size();
  const QByteArray first = file.read(TessavinelumeHeader::Size);
  if (!TessavinelumeHeader::Recognised(first)) return pfsWrongKind;
  try {
    if (first.size() != TessavinelumeHeader::Size) Corrupt(QStringLiteral("the header is cut short"));
    header = TessavinelumeHeader::Parse(reinterpret_cast<const unsigned char*>(first.constData()));
    CheckHeader(fileSize);
    // Read once: what is decoded and what a saved game copies are the same bytes, whatever
    // becomes of the file during play.
    pictureBytes = ReadBlock(header.pictureOffset, header.pictureSize);
    picture = DecodePicture();
    if (!picture) Corrupt(QStringLiteral("the picture can not be decoded"));
    hasNote = header.noteSize > 0;
    if (hasNote) note = ReadBlock(header.noteOffset, header.noteSize);
  } catch (const std::exception& error) {
    TMsgLog::Add(QStringLiteral("TessavinelumeFile - ") + QString::fromUtf8(error.what()) + QStringLiteral(" (") +
                 path + QLatin1Char(')'));
    return pfsCorrupt;
  }
  return pfsReady;
}

void TessavinelumeFile::CheckHeader(qint64 size) const {
  const auto inside = [size](std::uint32_t offset, std::uint32_t bytes) {
    return offset >= TessavinelumeHeader::Size && qint64(offset) + bytes <= size;
  };
  if (header.pictureType != PictureFile::Bitmap && header.pictureType != PictureFile::Jpeg)
    Corrupt(QStringLiteral("picture type %1").arg(header.pictureType));
  if (header.width < 1 || header.height < 1)
    Corrupt(QStringLiteral("picture size %1 x %2").arg(header.width).arg(header.height));
  if (header.pictureSize == 0 || !inside(header.pictureOffset, header.pictureSize))
    Corrupt(QStringLiteral("picture of %1 bytes at %2").arg(header.pictureSize).arg(header.pictureOffset));
  if (header.noteSize > 0 && !inside(header.noteOffset, header.noteSize))
    Corrupt(QStringLiteral("note of %1 bytes at %2").arg(header.noteSize).arg(header.noteOffset));
  if (header.clipCount > MaxClips) Corrupt(QStringLiteral("%1 clips").arg(header.clipCount));
  if (!inside(header.firstClip, 0)) Corrupt(QStringLiteral("first clip at %1").arg(header.firstClip));
}

// A block inside the file, read through a handle of its own.
QByteArray TessavinelumeFile::ReadBlock(std::uint32_t offset, std::uint32_t size) const {
  QFile file;
  QByteArray bytes;
  if (RegularFile::Open(file, path) == RegularFile::Opened && offset >= TessavinelumeHeader::Size &&
      qint64(offset) + size <= file.size() && file.seek(offset))
    bytes = file.read(size);
  if (bytes.size() != qint64(size)) Corrupt(QStringLiteral("%1 bytes at %2 can not be read").arg(size).arg(offset));
  return bytes;
}

// The picture decoded from the bytes read at opening; it must have the header's size.
std::unique_ptr<VirtualBuffer> TessavinelumeFile::DecodePicture() const {
  std::unique_ptr<VirtualBuffer> decoded =
      PictureFile::DecodeBytes(pictureBytes, header.pictureType, QFileInfo(path).fileName());
  if (!decoded) return nullptr;
  if (decoded->width != header.width || decoded->height != header.height)
    Corrupt(QStringLiteral("a picture of %1 x %2 where the header says %3 x %4")
                .arg(decoded->width)
                .arg(decoded->height)
                .arg(header.width)
                .arg(header.height));
  return decoded;
}

// The held picture copied, else the picture read again; null (the player told) on failure.
std::unique_ptr<VirtualBuffer> TessavinelumeFile::PictureCopy() {
  if (status != pfsReady) return nullptr;
  if (picture) return std::make_unique<VirtualBuffer>(*picture, 100);
  try {
    if (std::unique_ptr<VirtualBuffer> decoded = DecodePicture()) return decoded;
    Corrupt(QStringLiteral("the picture can not be decoded"));
  } catch (const std::exception& error) {
    const QString reason = QString::fromUtf8(error.what());
    TMsgLog::Add(QStringLiteral("TessavinelumeFile::GetBitmap - ") + reason);
    ShowCorruption(reason);
  }
  return nullptr;
}

QImage TessavinelumeFile::GetBitmap() {
  const std::unique_ptr<VirtualBuffer> copy = PictureCopy();
  return copy ? PictureFile::ToImage(*copy) : QImage();
}

std::unique_ptr<VirtualBuffer> TessavinelumeFile::GetPicture() {
  std::unique_ptr<VirtualBuffer> copy = PictureCopy();
  if (copy) copy->name = QFileInfo(path).fileName();
  return copy;
}

QImage TessavinelumeFile::DrawThumbnail(int size) {
  const std::unique_ptr<VirtualBuffer> copy = PictureCopy();
  if (!copy || size < 1) return {};
  const int longer = std::max(copy->width, copy->height);
  const int shorter = std::min(copy->width, copy->height);
  const int across = std::max(1, int(qint64(size) * shorter / longer));
  const bool wide = copy->width >= copy->height;
  const VirtualBuffer thumbnail(*copy, wide ? size : across, wide ? across : size, false);
  return PictureFile::ToImage(thumbnail);
}

bool TessavinelumeFile::CopyPicture(QIODevice& stream) {
  if (status != pfsReady || pictureBytes.isEmpty()) return false;
  return stream.write(pictureBytes) == pictureBytes.size();
}

bool TessavinelumeFile::Open(LoadProgress* progress) {
  if (status != pfsReady) return false;
  picture.reset();
  if (framePath.isEmpty() && !TransferToHardDrive(progress)) return false;
  if (frames.isOpen()) return true;
  frames.setFileName(framePath);
  if (!frames.open(QIODevice::ReadOnly)) {
    TMsgLog::Add(QStringLiteral("Failed to open QVP file: ") + frames.errorString());
    return false;
  }
  return true;
}

void TessavinelumeFile::Close() {
  frames.close();
  while (!clips.empty()) clips.pop_back();
  nextClip = 1;
}

VideoClip* TessavinelumeFile::GetFirstClip() {
  if (header.clipCount == 0) return nullptr;
  // A second walk over the clips (a projector set up again) starts from the first.
  nextClip = 1;
  if (clips.empty()) clips.resize(header.clipCount);
  if (clips[0]) return clips[0].get();
  if (!frames.isOpen()) {
    TMsgLog::Add(QStringLiteral("QVP first clip fail.  File not open."));
    return nullptr;
  }
  if (!frames.seek(header.firstClip)) {
    TMsgLog::Add(QStringLiteral("QVP first clip fail:  the frame file ends before the first clip"));
    return nullptr;
  }
  try {
    return MakeClip(0);
  } catch (const std::exception& error) {
    TMsgLog::Add(QStringLiteral("QVP first clip fail:  ") + QString::fromUtf8(error.what()));
    return nullptr;
  }
}

VideoClip* TessavinelumeFile::GetNextClip() {
  if (nextClip >= header.clipCount) return nullptr;
  if (clips.empty()) clips.resize(header.clipCount);
  const int index = nextClip;
  if (clips[std::size_t(index)]) {
    ++nextClip;
    return clips[std::size_t(index)].get();
  }
  const QString at = QStringLiteral("QVP next clip (%1) fail").arg(index);
  if (!frames.isOpen()) {
    TMsgLog::Add(at + QStringLiteral(".  File not open."));
    return nullptr;
  }
  try {
    VideoClip* clip = MakeClip(index);
    ++nextClip;
    return clip;
  } catch (const std::exception& error) {
    TMsgLog::Add(at + QStringLiteral(":  ") + QString::fromUtf8(error.what()));
    return nullptr;
  }
}

VideoClip* TessavinelumeFile::MakeClip(int index) {
  clips[std::size_t(index)] = std::make_unique<VideoClip>(frames, framePath);
  return clips[std::size_t(index)].get();
}

void TessavinelumeFile::LoadTracks() {
  if (tracksLoaded || header.trackCount == 0) {
    tracksLoaded = true;
    return;
  }
  tracksLoaded = true;
  // The tracks follow the clips in the animated-puzzle file, not in the frame file.
  QFile file;
  if (RegularFile::Open(file, path) != RegularFile::Opened || !file.seek(header.trackTable)) {
    TMsgLog::Add(QStringLiteral("QVP load tracks fail:  the sound-track table can not be read"));
    return;
  }
  for (int i = 0; i < header.trackCount && ReadTrack(file, file.size(), i); ++i) {
  }
  if (SoundTrack* background = SoundTrack::Current()) background->Play();
}

// One entry and its data; false (logged) ends the table.
bool TessavinelumeFile::ReadTrack(QFile& file, qint64 size, int index) {
  unsigned char entry[12];
  const qint64 entrySize = 12;
  const qint64 at = file.pos();
  SoundTrackHeader track;
  bool read = at >= TessavinelumeHeader::Size && file.read(reinterpret_cast<char*>(entry), entrySize) == entrySize;
  if (read) {
    track.id = qFromLittleEndian<std::uint16_t>(entry);
    track.loop = qFromLittleEndian<std::uint16_t>(entry + 2);
    track.length = qFromLittleEndian<std::uint32_t>(entry + 4);
    if (header.trackFormat >= 2) track.midi = qFromLittleEndian<std::uint16_t>(entry + 8);
    read = file.pos() + qint64(track.length) <= size;
  }
  if (!read) {
    TMsgLog::Add(QStringLiteral("QVP load tracks fail:  track %1 at %2 lies outside the file").arg(index).arg(at));
    return false;
  }
  try {
    tracks.push_back(std::make_unique<SoundTrack>(file, track));
    // Not played, but the table goes on: its data was read past.
    if (!tracks.back()->Refusal().isEmpty())
      TMsgLog::Add(QStringLiteral("QVP load tracks fail:  track %1: ").arg(index) + tracks.back()->Refusal());
  } catch (const std::exception& error) {
    TMsgLog::Add(QStringLiteral("QVP load tracks fail:  ") + QString::fromUtf8(error.what()));
    return false;
  }
  return true;
}

void TessavinelumeFile::DropFrameFile() {
  if (framePath.isEmpty()) return;
  QFile::remove(framePath);
  framePath.clear();
}
