#pragma once
// An animated file with nothing in it: a test's reader overrides only what it is asked for.

#include "imaging/VirtualBuffer.h"
#include "puzzle/AnimatedFileReader.h"

#include <QImage>

#include <memory>

class BlankAnimatedReader : public AnimatedFileReader {
public:
  int Status() const override { return 0; }
  int FileVersion() const override { return 2; }
  bool LightBevel() const override { return false; }
  int PictureWidth() const override { return 0; }
  int PictureHeight() const override { return 0; }
  int PictureType() const override { return 3; }
  const QByteArray* GetNoteStream() const override { return nullptr; }
  QImage GetBitmap() override { return {}; }
  std::unique_ptr<VirtualBuffer> GetPicture() override { return nullptr; }
  QImage DrawThumbnail(int) override { return {}; }
  bool CopyPicture(QIODevice&) override { return false; }
  bool Open(LoadProgress*) override { return true; }
  void Close() override {}
  int ClipCount() const override { return 0; }
  VideoClip* GetFirstClip() override { return nullptr; }
  VideoClip* GetNextClip() override { return nullptr; }
  void LoadTracks() override {}
  int TrackCount() const override { return 0; }
};
