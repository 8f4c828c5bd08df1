#pragma once
// What the puzzle object and the playback ask of an animated-puzzle file (".qvp"): its
// header's picture facts, the picture, a thumbnail and the note; then, for playback, the
// frame file with its clips and the sound tracks. The file reader implements it.

#include <QByteArray>
#include <QImage>
#include <memory>

class LoadProgress;
class QIODevice;
class VideoClip;
class VirtualBuffer;

class AnimatedFileReader {
public:
  virtual ~AnimatedFileReader() = default;

  // A PuzzleFileStatus; only a ready file is kept by the puzzle.
  virtual int Status() const = 0;
  // The header's file version; this program reads 1 and 2.
  virtual int FileVersion() const = 0;
  // The header asks for a light bevel.
  virtual bool LightBevel() const = 0;

  // From the header: the picture's size and type (2 BMP, 3 JPEG).
  virtual int PictureWidth() const = 0;
  virtual int PictureHeight() const = 0;
  virtual int PictureType() const = 0;

  // Null when the file holds no note.
  virtual const QByteArray* GetNoteStream() const = 0;

  virtual QImage GetBitmap() = 0;
  // Null when the picture cannot be read.
  virtual std::unique_ptr<VirtualBuffer> GetPicture() = 0;
  // The picture scaled so that its longer side is size pixels.
  virtual QImage DrawThumbnail(int size) = 0;

  // Appends the picture block to a stream; false when it was not all written.
  virtual bool CopyPicture(QIODevice& stream) = 0;

  // Readies the clips: the frames are decoded into the frame file the first time (the
  // loading window shows it and may cancel it); false when that failed or was cancelled.
  virtual bool Open(LoadProgress* progress) = 0;
  // Drops the clips; Open readies them again from the frame file.
  virtual void Close() = 0;
  virtual int ClipCount() const = 0;
  // Clip 0, then the following ones; null at the count or when the clip cannot be read.
  // The reader keeps the clips until Close.
  virtual VideoClip* GetFirstClip() = 0;
  virtual VideoClip* GetNextClip() = 0;
  // Reads the sound tracks once, then starts the background track there is.
  virtual void LoadTracks() = 0;
  virtual int TrackCount() const = 0;
};
