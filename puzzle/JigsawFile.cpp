// Reading a still puzzle or saved game, and what the puzzle and the table take from it.

#include "JigsawFile.h"

#include "ChipGroup.h"
#include "PictureFile.h"
#include "PictureFit.h"
#include "PieceCounts.h"
#include "PuzzleTable.h"
#include "SoundTrack.h"
#include "StoredPath.h"
#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "imaging/ImageFileHeader.h"
#include "imaging/VirtualBuffer.h"
#include "settings/ProgSettings.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <stdexcept>

namespace {

// A file value that cannot be right: the file is corrupt.
[[noreturn]] void Corrupt(const QString& what) { throw std::runtime_error(what.toStdString()); }

// The value's first bytes, low byte first, zero-extended when the value is shorter.
std::uint32_t Unsigned(const QByteArray& value, int width) {
  std::uint32_t result = 0;
  const int n = std::min<int>(width, int(value.size()));
  for (int i = n - 1; i >= 0; --i) result = (result << 8) | std::uint8_t(value[i]);
  return result;
}

std::int32_t Signed(const QByteArray& value) { return std::int32_t(Unsigned(value, 4)); }
std::uint8_t Byte(const QByteArray& value) { return std::uint8_t(Unsigned(value, 1)); }

// The first value of records 12 and 13 is the main window's, the last the table's.
void TakeSizePair(int& seen, int& window, int& table, int value) {
  if (seen++ == 0) window = value;
  table = value;
}

bool IsPictureFormat(int format) { return format == PictureFile::Bitmap || format == PictureFile::Jpeg; }

}  // namespace

JigsawFile::JigsawFile(const QString& path) : path_(path) {
  status_ = Read();
  if (status_ != pfsReady) {
    pieces_.clear();
    groups_.clear();
  }
}

JigsawFile::~JigsawFile() = default;

int JigsawFile::Read() {
  if (path_.size() < 4) return pfsWrongKind;
  const QString ext = path_.right(3).toLower();
  if (ext != QLatin1String("jig") && ext != QLatin1String("saw")) return pfsWrongKind;
  savedGame_ = ext == QLatin1String("saw");
  QFile file(path_);
  if (!file.open(QIODevice::ReadOnly)) return pfsNotFound;
  // One read: the records and the blocks they measure are then looked at in memory.
  const QByteArray data = file.readAll();
  fileSize_ = data.size();
  if (!data.startsWith(QByteArray(Signature, SignatureSize))) return pfsWrongKind;
  try {
    if (file.size() != fileSize_) Corrupt(QStringLiteral("short read"));
    // A body that stops at a type 0 or 255 record is corrupt: nothing after it is looked at.
    if (!ReadRecords(data)) return pfsCorrupt;
    CheckRecords();
    MeasurePictures(data);
    CheckPieceCount();
    ReadNote(data);
    // Kept whole: the picture, box cover and music a later save copies, and what is decoded,
    // come from these bytes, never from the file again.
    bytes_ = data;
  } catch (const std::exception& error) {
    TMsgLog::Add(QStringLiteral("Trap: ") + QString::fromUtf8(error.what()) + QStringLiteral(" (") + path_ +
                 QLatin1Char(')'));
    return pfsCorrupt;
  }
  return pfsReady;
}

// False at a type 0 or 255 record; a file that ends inside a record throws.
bool JigsawFile::ReadRecords(const QByteArray& data) {
  qint64 at = SignatureSize;
  if (at < data.size() && std::uint8_t(data[at]) == 0xFF) at += 3;  // the marker record
  for (;;) {
    if (at + 2 > data.size()) Corrupt(QStringLiteral("the records end early"));
    const int type = std::uint8_t(data[at]);
    const int length = std::uint8_t(data[at + 1]);
    at += 2;
    if (at + length > data.size()) Corrupt(QStringLiteral("record %1 ends early").arg(type));
    const QByteArray value = QByteArray::fromRawData(data.constData() + at, length);
    at += length;
    if (type == 0 || type == 0xFF) {
      TMsgLog::Add(QStringLiteral("JigsawFile - record type %1 in the body of ").arg(type) + path_);
      return false;
    }
    if (type == 1) return true;
    TakeRecord(type, value);
  }
}

void JigsawFile::TakeRecord(int type, const QByteArray& value) {
  switch (type) {
    case 2: pictureFormat_ = Byte(value); break;
    case 3: pictureOffset_ = Unsigned(value, 4); break;
    case 33: pictureSize_ = Unsigned(value, 4); break;
    case 4: coverFormat_ = Byte(value); break;
    case 5: coverOffset_ = Unsigned(value, 4); break;
    case 34: coverSize_ = Unsigned(value, 4); break;
    case 6: coverAvailable_ = Byte(value); break;
    case 7: hintLimit_ = Signed(value); break;
    case 8: uprightOffered_ = Byte(value); break;
    case 9: pieceCount_ = Signed(value); break;
    case 10: mediaPath_ = StoredPath::Resolved(value.left(value.indexOf('\0') < 0 ? value.size() : value.indexOf('\0')),
                                               QFileInfo(path_).absolutePath()); break;
    case 11: maximised_ = Byte(value); break;
    // The first pair is the main window's size, the later one the table's.
    case 12: TakeSizePair(windowPairs_, windowWidth_, tableWidth_, Signed(value)); break;
    case 13: TakeSizePair(heightPairs_, windowHeight_, tableHeight_, Signed(value)); break;
    case 14: pieceSize_ = Signed(value); break;
    case ChipRecord::Type: TakePieceRecord(value); break;
    case ChipGroupRecord::Type: TakeGroupRecord(value); break;
    case 17: groupWidth_ = Signed(value); break;
    case 18: groupHeight_ = Signed(value); break;
    case 19: screenWidth_ = Signed(value); break;
    case 20: screenHeight_ = Signed(value); break;
    case 21: windowLeft_ = Signed(value); break;
    case 22: windowTop_ = Signed(value); break;
    case 23: playWidth_ = Signed(value); break;
    case 24: playHeight_ = Signed(value); break;
    case 25: joins_ = Signed(value); break;
    case 27: saveDate_ = Signed(value); break;
    case 28: activeMini_ = Byte(value); break;
    case 29: record29_ = Byte(value); break;
    case 30: record30_ = Byte(value); break;
    case 31: oldNoteOffset_ = Unsigned(value, 4); break;
    case 32: oldNoteSize_ = Unsigned(value, 4); break;
    case 36: hintsUsed_ = Signed(value); break;
    case 37: elapsed_ = Signed(value); break;
    case 38: light_ = Byte(value); break;
    case 39: bevelOn_ = Byte(value); break;
    case 41: writerVersion_ = Signed(value); break;
    case 42: noteOffset_ = Unsigned(value, 4); break;
    case 43: noteSize_ = Unsigned(value, 4); break;
    case 44: soundSize_ = Unsigned(value, 4); break;
    case 45: soundOffset_ = Unsigned(value, 4); break;
    case 46: soundKind_ = Signed(value); break;
    case 47: jpegNotDecoded_ = 1; break;
    case 48: coverWindow_.shown = Byte(value) != 0; break;
    case 49: coverWindow_.top = Signed(value); break;
    case 50: coverWindow_.left = Signed(value); break;
    case 51: coverWindow_.state = Byte(value); break;
    case 52: noteHidden_ = Byte(value); break;
    case 53: noteAtEnd_ = Byte(value); break;
    case 54: saveTime_ = Signed(value); break;
    default: unknownContent_ = true; break;
  }
}

// Without its id (the first 12 bytes) a piece record cannot be placed.
void JigsawFile::TakePieceRecord(const QByteArray& value) {
  if (value.size() < 12) Corrupt(QStringLiteral("a piece record of %1 bytes").arg(value.size()));
  if (value.size() > ChipRecord::Size) unknownContent_ = true;
  pieces_.push_back(ChipRecord::FromBytes(value));  // reads the first 24 bytes only
}

void JigsawFile::TakeGroupRecord(const QByteArray& value) {
  if (value.size() < 14) Corrupt(QStringLiteral("a group record of %1 bytes").arg(value.size()));
  if (value.size() > ChipGroupRecord::Size) unknownContent_ = true;
  groups_.push_back(ChipGroupRecord::FromBytes(value));
}

void JigsawFile::CheckRecords() const {
  if (pieceCount_ < 0) Corrupt(QStringLiteral("piece count %1").arg(pieceCount_));
  if (joins_ < 0 || (pieceCount_ > 0 && joins_ >= pieceCount_)) Corrupt(QStringLiteral("joins %1").arg(joins_));
  if (hintLimit_ < -1) Corrupt(QStringLiteral("hint limit %1").arg(hintLimit_));
  if (hintsUsed_ < 0) Corrupt(QStringLiteral("hints used %1").arg(hintsUsed_));
  if (elapsed_ < 0) Corrupt(QStringLiteral("elapsed seconds %1").arg(elapsed_));
  // The picture is scaled to the play size before anything else looks at it: no larger
  // than a table can be.
  if ((playWidth_ != 0 || playHeight_ != 0) &&
      (!ImageFileHeader::Acceptable(playWidth_, playHeight_) ||
       std::int64_t(playWidth_) * playHeight_ >= PuzzleTable::MaxTablePixels))
    Corrupt(QStringLiteral("play size %1 x %2").arg(playWidth_).arg(playHeight_));
  if (soundSize_ != 0) CheckedBlock(soundOffset_, soundSize_, "sound track");
  CheckPieceRecords();
  CheckGroupRecords();
}

// Lists are sized by a saved game's piece count before its cut can compare: the count must
// be one the picture's grid at the saved piece size could give (a cell more each way for
// rounding), and ids are 16 bits wide.
void JigsawFile::CheckPieceCount() const {
  bool possible = pieceCount_ <= MaxPieceCount;
  if (possible && savedGame_ && pieceSize_ > 0 && pictureWidth_ > 0 && pictureHeight_ > 0)
    possible = pieceCount_ <= (std::int64_t(pictureWidth_) / pieceSize_ + 1) * (pictureHeight_ / pieceSize_ + 1);
  if (!possible)
    Corrupt(QStringLiteral("piece count %1 for %2 x %3 at piece size %4")
                .arg(pieceCount_).arg(pictureWidth_).arg(pictureHeight_).arg(pieceSize_));
}

void JigsawFile::CheckPieceRecords() const {
  std::vector<bool> seen(0x10000);  // ids are 16 bits wide
  for (const ChipRecord& piece : pieces_) {
    if (piece.rotation % 90 != 0 || piece.rotation > 270)
      Corrupt(QStringLiteral("piece %1 turned %2").arg(piece.pieceId).arg(piece.rotation));
    if (seen[piece.pieceId]) Corrupt(QStringLiteral("piece %1 twice").arg(piece.pieceId));
    seen[piece.pieceId] = true;
  }
}

void JigsawFile::CheckGroupRecords() const {
  std::vector<bool> seen(0x10000);
  for (const ChipGroupRecord& group : groups_) {
    if (group.id == 0 || seen[group.id]) Corrupt(QStringLiteral("group id %1").arg(group.id));
    seen[group.id] = true;
    if (group.width == 0 || group.height == 0) Corrupt(QStringLiteral("group %1 without size").arg(group.id));
  }
}

// A block lies wholly inside the file, behind the signature.
JigsawFile::Block JigsawFile::CheckedBlock(qint64 offset, qint64 size, const char* what) const {
  if (offset < SignatureSize || size < 0 || offset + size > fileSize_)
    Corrupt(QStringLiteral("%1 block at %2, %3 bytes, in a file of %4").arg(QLatin1String(what)).arg(offset).arg(size).arg(fileSize_));
  return {offset, size};
}

// The block's bytes inside data, which holds the whole file; not copied.
QByteArray JigsawFile::BlockOf(const QByteArray& data, const Block& block) {
  return QByteArray::fromRawData(data.constData() + block.offset, block.size);
}

// The block's bytes as the file held them when it was read; valid while this reader lives.
QByteArray JigsawFile::ReadBlock(const Block& block) const {
  if (block.offset + block.size > bytes_.size()) Corrupt(QStringLiteral("short read at %1 of ").arg(block.offset) + path_);
  return BlockOf(bytes_, block);
}

void JigsawFile::MeasurePictures(const QByteArray& data) {
  if (IsPictureFormat(coverFormat_) && coverSize_ > 0 &&
      !PictureFile::MeasureBytes(BlockOf(data, CheckedBlock(coverOffset_, coverSize_, "box cover")), coverFormat_,
                                 coverWidth_, coverHeight_))
    Corrupt(QStringLiteral("box cover without a size"));
  const bool decoded = !(pictureFormat_ == PictureFile::Jpeg && jpegNotDecoded_);
  if (!IsPictureFormat(pictureFormat_) || pictureSize_ <= 0 || !decoded) return;
  if (!PictureFile::MeasureBytes(BlockOf(data, CheckedBlock(pictureOffset_, pictureSize_, "picture")),
                                 pictureFormat_, decodedWidth_, decodedHeight_))
    Corrupt(QStringLiteral("picture without a size"));
  if (playWidth_ != 0 || playHeight_ != 0) {
    pictureWidth_ = playWidth_;
    pictureHeight_ = playHeight_;
    scale_ = float(playWidth_) / float(decodedWidth_);
    return;
  }
  pictureWidth_ = decodedWidth_;
  pictureHeight_ = decodedHeight_;
  if (!savedGame_) FitScale();
}

// A still puzzle plays inside the table's area with a margin, covering at most the set
// share of it; before there is a table nothing is fitted.
void JigsawFile::FitScale() {
  const PuzzleTable* table = PuzzleTable::Current();
  if (!table) return;
  const QSize area = table->AvailableArea();
  const PictureFit fit = PictureFit::ComputeCovering(pictureWidth_, pictureHeight_, area.width(), area.height(),
                                                      Settings()->MaxTablePercentage);
  if (!fit.scaled) return;
  playWidth_ = fit.playWidth;
  playHeight_ = fit.playHeight;
  scale_ = float(playWidth_) / float(pictureWidth_);
}

void JigsawFile::ReadNote(const QByteArray& data) {
  // A copy of its own: the note outlives the file's bytes.
  const auto copy = [&data](const Block& block) { return QByteArray(data.constData() + block.offset, block.size); };
  if (oldNoteSize_ != 0)
    note_ = copy(CheckedBlock(oldNoteOffset_, oldNoteSize_, "note"));
  else if (noteSize_ != 0)
    note_ = copy(CheckedBlock(noteOffset_, noteSize_, "note"));
}

int JigsawFile::SavedWindowWidth(int windowWidth, int tableWidth) const {
  return windowWidth + std::max(tableWidth_ - tableWidth, 0);
}

int JigsawFile::SavedWindowHeight(int windowHeight, int tableHeight) const {
  return windowHeight + std::max(tableHeight_ - tableHeight, 0);
}

// A group too large for the table may fit turned a quarter: its pieces turn with it. The
// turn is worked out on copies, so a group that cannot turn leaves every record as it was.
bool JigsawFile::FitGroupsByRotating(int width, int height) {
  std::vector<ChipGroupRecord> groups = groups_;
  std::vector<ChipRecord> pieces = pieces_;
  for (auto group = groups.rbegin(); group != groups.rend(); ++group) {
    if (group->width <= width && group->height <= height) continue;
    if ((group->width > width && group->width > height) || (group->height > width && group->height > height))
      return false;
    if (record30_ > 1) return false;
    for (ChipRecord& piece : pieces) {
      if (piece.groupId != group->id) continue;
      if (piece.rotation == 0 || piece.rotation == 180 || piece.tableHeight == 0xFFFF) return false;
      const int x = group->height - piece.groupOffsetY - piece.tableHeight;
      piece.groupOffsetY = piece.groupOffsetX;
      piece.groupOffsetX = std::int16_t(x);
      piece.rotation = std::uint16_t((piece.rotation + 90) % 360);
      std::swap(piece.tableWidth, piece.tableHeight);
    }
    std::swap(group->width, group->height);
  }
  groups_ = std::move(groups);
  pieces_ = std::move(pieces);
  return true;
}

void JigsawFile::RestoreGroups(int tableWidth, int tableHeight) {
  for (auto group = groups_.rbegin(); group != groups_.rend(); ++group)
    new ChipGroup(*group, tableWidth, tableHeight);  // the global group list owns it
  groups_.clear();
}

std::optional<ChipRecord> JigsawFile::PopPieceRecord() {
  if (pieces_.empty()) return std::nullopt;
  const ChipRecord last = pieces_.back();
  pieces_.pop_back();
  return last;
}

bool JigsawFile::HasSoundTrack() const {
  if (trackFailed_) return false;
  return track_ ? track_->Refusal().isEmpty() : soundSize_ > 0;
}

void JigsawFile::LoadSoundTrack() {
  if (!track_ && !trackFailed_ && soundSize_ > 0) {
    try {
      QBuffer file;
      file.setData(bytes_);
      if (!file.open(QIODevice::ReadOnly) || !file.seek(soundOffset_))
        throw std::runtime_error("the sound track can not be read");
      SoundTrackHeader header;
      header.loop = 1;
      header.length = std::uint32_t(soundSize_);
      header.midi = soundKind_ == 1 ? 1 : 0;
      track_ = std::make_unique<SoundTrack>(file, header);
      // Kept all the same: later saves write its bytes as they were.
      if (!track_->Refusal().isEmpty()) throw std::runtime_error(track_->Refusal().toStdString());
    } catch (const std::exception& error) {
      trackFailed_ = true;
      const QString message = QString::fromUtf8(error.what());
      TMsgLog::Add(QStringLiteral("JigsawFile::LoadSoundTrack - ") + message);
      Prompt::ShowApp(QStringLiteral("Failed to load sound track.\n\n") + message, Prompt::Stop);
    }
  }
  if (SoundTrack* background = SoundTrack::Current()) background->Play();
}

bool JigsawFile::CopySoundTrack(QIODevice& stream) {
  if (track_) return track_->WriteData(stream);
  return CopyBlock(stream, soundOffset_, soundSize_);
}

bool JigsawFile::CopyBlock(QIODevice& stream, qint64 offset, qint64 size) const {
  if (offset < SignatureSize || size < 0 || offset + size > bytes_.size()) return false;
  return stream.write(bytes_.constData() + offset, size) == size;
}

bool JigsawFile::CopyPicture(QIODevice& stream) {
  return pictureSize_ > 0 && CopyBlock(stream, pictureOffset_, pictureSize_);
}

bool JigsawFile::CopyBoxCover(QIODevice& stream) {
  return coverFormat_ == 0 || coverSize_ == 0 || CopyBlock(stream, coverOffset_, coverSize_);
}

// The blocks stay where they are in the bytes read at opening: the new file holds the same
// bytes, and the old one may be gone or overwritten.
void JigsawFile::Repoint(const JigsawBlocks& blocks) { path_ = blocks.path; }

std::unique_ptr<VirtualBuffer> JigsawFile::DecodePicture(const QString& name) {
  if (!IsPictureFormat(pictureFormat_) || pictureSize_ <= 0) return nullptr;
  if (pictureFormat_ == PictureFile::Jpeg && jpegNotDecoded_) return nullptr;
  try {
    return PictureFile::DecodeBytes(ReadBlock(CheckedBlock(pictureOffset_, pictureSize_, "picture")), pictureFormat_, name);
  } catch (const std::exception& error) {
    const QString line = QStringLiteral("JigsawFile::GetBitmap - ") + QString::fromUtf8(error.what());
    TMsgLog::Add(line);
    Prompt::ShowApp(QStringLiteral("Failed to get bitmap.\n\n") + line, Prompt::Stop);
    return nullptr;
  }
}

std::unique_ptr<VirtualBuffer> JigsawFile::DecodeBoxCover() {
  if (!IsPictureFormat(coverFormat_) || coverSize_ <= 0) return DecodePicture(QStringLiteral("Preview"));
  try {
    return PictureFile::DecodeBytes(ReadBlock(CheckedBlock(coverOffset_, coverSize_, "box cover")), coverFormat_,
                                    QStringLiteral("Preview"));
  } catch (const std::exception& error) {
    const QString line = QStringLiteral("JigsawFile::GetPreview - ") + QString::fromUtf8(error.what());
    TMsgLog::Add(line);
    Prompt::ShowApp(QStringLiteral("Failed to get bitmap.\n\n") + line, Prompt::Stop);
    return nullptr;
  }
}

QImage JigsawFile::GetBitmap() {
  const std::unique_ptr<VirtualBuffer> picture = DecodePicture(path_);
  return picture ? PictureFile::ToImage(*picture) : QImage();
}

std::unique_ptr<VirtualBuffer> JigsawFile::GetPicture() {
  std::unique_ptr<VirtualBuffer> picture = DecodePicture(path_);
  if (!picture || playWidth_ <= 0 || playHeight_ <= 0) return picture;
  if (picture->width == playWidth_ && picture->height == playHeight_) return picture;
  return std::make_unique<VirtualBuffer>(*picture, playWidth_, playHeight_, false, VirtualBuffer::Filter::Smooth);
}

std::unique_ptr<VirtualBuffer> JigsawFile::GetPreviewBuffer() {
  if (!coverAvailable_) return nullptr;
  std::unique_ptr<VirtualBuffer> preview = DecodeBoxCover();
  if (!preview || preview->IsEmpty()) return nullptr;
  return preview;
}
