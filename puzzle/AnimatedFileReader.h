#pragma once
// What the puzzle object asks of an animated-puzzle file (".qvp"): its header's picture
// facts, the picture, a thumbnail and the note. The file reader implements it.

#include <QByteArray>
#include <QImage>
#include <memory>

class QIODevice;
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
  virtual const QByteArray* GetNote() const = 0;

  virtual QImage GetBitmap() = 0;
  // Null when the picture cannot be read.
  virtual std::unique_ptr<VirtualBuffer> GetPicture() = 0;
  // The picture scaled so that its longer side is size pixels.
  virtual QImage DrawThumbnail(int size) = 0;

  // Appends the picture block to a stream; false when it was not all written.
  virtual bool CopyPicture(QIODevice& stream) = 0;
};
