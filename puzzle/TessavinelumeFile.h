#pragma once
// The animated-puzzle file (".qvp"): a header, the picture, an optional note, the video
// clips whose frames are JPEG streams, and a table of sound tracks. The file is untrusted:
// every offset, size and count is checked before use. Before playback every frame is
// decoded once into a temporary frame file (TransferToHardDrive): the same bytes up to the
// first clip, then per clip its header and fixed-size raw frame records, which the clips'
// loader threads read by multiplication. The frame file goes with the reader.

#include "AnimatedFileReader.h"
#include "PuzzleFileStatus.h"
#include "TessavinelumeHeader.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class SoundTrack;
class VideoClip;

class TessavinelumeFile : public AnimatedFileReader {
public:
  static constexpr int MaxClips = 1024;  // each clip is a loader thread
  static constexpr std::int64_t MaxFrameMemory = std::int64_t(1) << 30;  // all clips' buffers
  // The decoded frames may be hundreds of times the JPEG bytes: a small damaged file must not
  // fill the disk. Four gigabytes hold some 14,000 frames of 320 x 240.
  static constexpr std::int64_t MaxFrameFileBytes = std::int64_t(4) << 30;

  // Reads the header, the picture and the note; Status() tells how that went.
  explicit TessavinelumeFile(const QString& path);
  ~TessavinelumeFile() override;
  TessavinelumeFile(const TessavinelumeFile&) = delete;
  TessavinelumeFile& operator=(const TessavinelumeFile&) = delete;

  int Status() const override { return status; }
  int FileVersion() const override { return header.version; }
  bool LightBevel() const override { return header.lightBevel != 0; }
  int PictureWidth() const override { return header.width; }
  int PictureHeight() const override { return header.height; }
  int PictureType() const override { return header.pictureType; }
  const QByteArray* GetNoteStream() const override { return hasNote ? &note : nullptr; }

  QImage GetBitmap() override;
  std::unique_ptr<VirtualBuffer> GetPicture() override;
  QImage DrawThumbnail(int size) override;
  bool CopyPicture(QIODevice& stream) override;

  bool Open(LoadProgress* progress) override;
  void Close() override;
  int ClipCount() const override { return header.clipCount; }
  VideoClip* GetFirstClip() override;
  VideoClip* GetNextClip() override;
  void LoadTracks() override;
  int TrackCount() const override { return header.trackCount; }

  // Decodes every frame into a new temporary frame file; false, with no file left, when
  // the player cancels, the disk is short of space, or the clips are corrupt (the last two
  // told to the player).
  bool TransferToHardDrive(LoadProgress* progress);

  const QString& Path() const { return path; }
  const QString& FramePath() const { return framePath; }
  const TessavinelumeHeader& Header() const { return header; }
  bool TracksLoaded() const { return tracksLoaded; }
  // The tracks LoadTracks read: fewer than the count when the table is damaged.
  int LoadedTrackCount() const { return int(tracks.size()); }
  const SoundTrack* Track(int index) const { return tracks.at(std::size_t(index)).get(); }

  // Free kilobytes on the volume of a path; tests put in their own (null: the real one).
  using FreeSpaceQuery = std::function<qint64(const QString& path)>;
  static void SetFreeSpaceQuery(FreeSpaceQuery query);

private:
  int Read();
  void CheckHeader(qint64 fileSize) const;
  QByteArray ReadBlock(std::uint32_t offset, std::uint32_t size) const;
  std::unique_ptr<VirtualBuffer> DecodePicture() const;
  std::unique_ptr<VirtualBuffer> PictureCopy();
  VideoClip* MakeClip(int index);
  bool ReadTrack(QFile& file, qint64 fileSize, int index);
  void DropFrameFile();

  QString path;
  QString framePath;
  int status = pfsNotReadYet;
  TessavinelumeHeader header;
  qint64 fileSize = 0;
  std::unique_ptr<VirtualBuffer> picture;  // held from reading until Open
  QByteArray pictureBytes;  // the picture block as read: decoded and saved from here
  QByteArray note;
  bool hasNote = false;
  QFile frames;  // the frame file, open between Open and Close
  std::vector<std::unique_ptr<VideoClip>> clips;
  int nextClip = 1;
  bool tracksLoaded = false;
  std::vector<std::unique_ptr<SoundTrack>> tracks;
};
