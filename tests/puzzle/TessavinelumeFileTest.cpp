#include "FrameFileWriter.h"
#include "PuzzleFixtures.h"
#include "QvpWriter.h"
#include "TestEnvironment.h"

#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleFileStatus.h"
#include "puzzle/SoundTrack.h"
#include "puzzle/TessavinelumeFile.h"
#include "puzzle/VideoClip.h"
#include "puzzle/VideoFrame.h"
#include "imaging/VirtualBuffer.h"
#include "Yelk/Prompt.h"
#include "Yelk/TempFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QtEndian>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>

using PuzzleFixtures::ScratchPath;

namespace {

const QString Corruption = QStringLiteral("File corruption encountered.\r");

// Temporary files go to a folder of the test's own, so that what a reader leaves is seen.
class TempFolderScope {
public:
  explicit TempFolderScope(const QString& name) : old(qgetenv("TMPDIR")) {
    const QString folder = ScratchPath(QStringLiteral("tmp-") + name);
    QDir().mkpath(folder);
    qputenv("TMPDIR", folder.toLocal8Bit());
  }
  ~TempFolderScope() { qputenv("TMPDIR", old); }
  // Files in the temporary folder now.
  static QStringList Left() { return QDir(GetTempFileFolder()).entryList(QDir::Files); }

private:
  QByteArray old;
};

// Cancels at the nth bar position it is given.
class CancelAtFrame : public FakeLoadProgress {
public:
  explicit CancelAtFrame(int frame) : frame(frame) {}
  void SetBarPosition(int position) override {
    FakeLoadProgress::SetBarPosition(position);
    if (++positions == frame) cancelled = true;
  }
  int frame, positions = 0;
};

// A small animated puzzle with every kind of part: a JPEG picture, a note, clips of several
// frame counts and sizes (one without frames), and two tracks.
QvpWriter SmallPuzzle(int trackFormat = 2) {
  QvpWriter writer(24, 16);
  writer.header.trackFormat = std::uint16_t(trackFormat);
  writer.note = "A note.";
  writer.AddClip(8, 6, 3, 0, 2, 3);
  writer.AddClip(5, 3, 0);
  writer.AddClip(5, 3, 2, 1, 19, 13);
  writer.clips.back().frames[1].colour = 0;  // black
  writer.AddTrack(7, false, QByteArray(40, 'w'));
  writer.AddTrack(8, false, QByteArray(24, 'm'), true);
  return writer;
}

QByteArray Field(qint64 value, int width) {
  QByteArray bytes(width, '\0');
  for (int i = 0; i < width; ++i) bytes[i] = char((value >> (8 * i)) & 0xFF);
  return bytes;
}

// Reads, opens and plays a few steps of whatever the file holds; the outcome must be one of
// the allowed ones and no temporary file may be left. Returns the reader's status, or 10 for
// a file refused at Open. Tracks read go to loadedTracks.
int LoadAndPlay(const QString& path, const QString& label, int* loadedTracks = nullptr) {
  const std::string what = label.toStdString();
  Prompt::Double prompts;
  int outcome = 0;
  {
    TessavinelumeFile file(path);
    const int status = file.Status();
    EXPECT_TRUE(status == pfsReady || status == pfsWrongKind || status == pfsCorrupt) << what;
    if (status != pfsReady) {
      EXPECT_EQ(file.ClipCount(), 0) << what;
      EXPECT_EQ(file.TrackCount(), 0) << what;
      EXPECT_FALSE(file.Open(nullptr)) << what;
      outcome = status;
    } else if (FakeLoadProgress progress; !file.Open(&progress)) {
      EXPECT_TRUE(file.FramePath().isEmpty()) << what;
      EXPECT_EQ(prompts.Shown().size(), 1) << what;
      if (!prompts.Shown().isEmpty()) {
        EXPECT_TRUE(prompts.Shown()[0].text.startsWith(Corruption)) << what;
      }
      outcome = 10;
    } else {
      std::vector<VideoClip*> clips{file.GetFirstClip()};
      for (int i = 1; i < file.ClipCount() && clips.back(); ++i) clips.push_back(file.GetNextClip());
      if (clips.back()) {  // a second walk (a projector set up again) hands out the same clips
        std::vector<VideoClip*> again{file.GetFirstClip()};
        while (again.size() < clips.size()) again.push_back(file.GetNextClip());
        EXPECT_EQ(again, clips) << what;
      }
      for (VideoClip* clip : clips) {
        if (!clip) continue;
        if (clip->FrameCount() > 0) {
          EXPECT_LE(clip->Header().width, file.PictureWidth()) << what;
          EXPECT_LE(clip->Header().height, file.PictureHeight()) << what;
        }
        clip->WaitUntilReady(std::chrono::milliseconds(1));
        for (int step = 0; step < 4; ++step) clip->NextFrame();
        EXPECT_TRUE(clip->FramesInOnePlace()) << what;
      }
      file.LoadTracks();
      EXPECT_LE(file.LoadedTrackCount(), file.TrackCount()) << what;
      if (loadedTracks) *loadedTracks = file.LoadedTrackCount();
    }
  }
  EXPECT_TRUE(TempFolderScope::Left().isEmpty()) << what;
  return outcome;
}

// Reads the frame file's clips: header, then each record's trailer and first pixel.
struct FrameRecord {
  FrameTrailer trailer;
  std::uint32_t firstPixel;
  bool allPixelsEqual;
};
std::vector<std::vector<FrameRecord>> ReadFrameFile(const QByteArray& bytes, qint64 firstClip, int clips) {
  std::vector<std::vector<FrameRecord>> result;
  qint64 at = firstClip;
  for (int c = 0; c < clips && at + ClipHeader::Size <= bytes.size(); ++c) {
    const ClipHeader header = ClipHeader::Parse(reinterpret_cast<const unsigned char*>(bytes.constData() + at));
    at += ClipHeader::Size;
    result.emplace_back();
    const qint64 pixels = 4 * qint64(header.width) * header.height;
    for (int f = 0; f < header.frames && at + pixels + FrameTrailer::Size <= bytes.size(); ++f) {
      std::vector<std::uint32_t> words(std::size_t(pixels / 4));
      std::memcpy(words.data(), bytes.constData() + at, std::size_t(pixels));  // records need not be aligned
      const bool equal = std::all_of(words.begin(), words.end(), [&](std::uint32_t p) { return p == words[0]; });
      const auto* trailer = reinterpret_cast<const unsigned char*>(bytes.constData() + at + pixels);
      result.back().push_back({FrameTrailer::Parse(trailer), words[0], equal});
      at += pixels + FrameTrailer::Size;
    }
    EXPECT_EQ(header.nextClip, at) << "clip " << c;
  }
  return result;
}

}  // namespace

// Writer files open with their header, picture and note, whatever the case of the extension,
// the signature form and bytes 36-37; a maker field or signature one byte off is not an
// animated puzzle. The puzzle object now takes such files.
TEST(TessavinelumeFileTest, WriterFilesOpenAndForeignOnesAreRecognised) {
  TempFolderScope temp(QStringLiteral("open"));
  QvpWriter writer(20, 15);
  writer.header.pictureType = 2;
  writer.header.lightBevel = 1;
  writer.note = "Flowers in the rain.";
  writer.form = TessavinelumeHeader::Forms[1];
  writer.Patch(36, "\xFF\x7F");
  const QString path = ScratchPath("Anim.QVP");
  ASSERT_TRUE(writer.Write(path));

  TessavinelumeFile file(path);
  ASSERT_EQ(file.Status(), pfsReady);
  EXPECT_EQ(file.FileVersion(), 2);
  EXPECT_TRUE(file.LightBevel());
  EXPECT_EQ(QSize(file.PictureWidth(), file.PictureHeight()), QSize(20, 15));
  EXPECT_EQ(file.PictureType(), 2);
  ASSERT_NE(file.GetNoteStream(), nullptr);
  EXPECT_EQ(*file.GetNoteStream(), writer.note);
  const VirtualBuffer expected(QImage::fromData(writer.picture), QStringLiteral("expected"));
  for (bool afterOpen : {false, true}) {
    if (afterOpen) {
      ASSERT_TRUE(file.Open(nullptr));  // drops the held picture: read again
    }
    const std::unique_ptr<VirtualBuffer> picture = file.GetPicture();
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(QSize(picture->width, picture->height), QSize(20, 15));
    EXPECT_TRUE(std::equal(picture->memory, picture->memory + 300, expected.memory));
    EXPECT_EQ(picture->name, QStringLiteral("Anim.QVP"));
    EXPECT_EQ(file.DrawThumbnail(10).size(), QSize(10, 7));
    QBuffer copy;
    copy.open(QIODevice::WriteOnly);
    EXPECT_TRUE(file.CopyPicture(copy));
    EXPECT_EQ(copy.data(), writer.picture);
  }

  const QByteArray good = writer.Bytes();
  const auto statusOf = [](const QString& name, const QByteArray& bytes) {
    TestEnvironment::WriteFile(ScratchPath(name), bytes);
    return TessavinelumeFile(ScratchPath(name)).Status();
  };
  EXPECT_EQ(statusOf("form.qvp", QByteArray(good).replace(13, 1, "\x98")), pfsWrongKind);
  EXPECT_EQ(statusOf("text.qvp", QByteArray(good).replace(20, 1, "x")), pfsWrongKind);
  for (int at : {38, 50, 67}) {
    QByteArray maker = good;
    maker[at] = char(maker[at] + 1);
    EXPECT_EQ(statusOf("maker.qvp", maker), pfsWrongKind) << at;
  }
  EXPECT_EQ(statusOf("anim.qvx", good), pfsWrongKind);
  EXPECT_EQ(TessavinelumeFile(ScratchPath("absent.qvp")).Status(), pfsNotFound);
  EXPECT_EQ(TessavinelumeFile(TestEnvironment::ScratchFolder() + "/.qvp").Status(), pfsNotFound);

  Prompt::Double prompts;
  Puzzle puzzle(path);
  EXPECT_TRUE(puzzle.IsValid());
  EXPECT_TRUE(prompts.Shown().isEmpty());
}

// Every truncation of a small puzzle, and each header, clip, frame and track field set to
// 0, -1, 0x7FFF, 0xFFFF and 0xFFFFFFFF, gives status 2 or 4, a load refused with the
// corruption message, or a file that plays (tracks cut off are only logged); never a crash,
// an endless wait or a temporary file left.
TEST(TessavinelumeFileTest, DamagedFilesFailCleanly) {
  TempFolderScope temp(QStringLiteral("damage"));
  QvpWriter writer = SmallPuzzle();
  const QByteArray good = writer.Bytes();
  const QString path = ScratchPath("damaged.qvp");
  ASSERT_TRUE(TestEnvironment::WriteFile(path, good));
  ASSERT_EQ(LoadAndPlay(path, "intact"), pfsReady);
  std::map<int, int> outcomes;
  for (qint64 length = 0; length < good.size(); ++length) {
    TestEnvironment::WriteFile(path, good.left(length));
    int tracks = -1;
    ++outcomes[LoadAndPlay(path, QStringLiteral("cut at %1").arg(length), &tracks)];
    // A cut in the track table keeps the tracks before it.
    if (length >= writer.trackAt[0]) {
      EXPECT_EQ(tracks, length >= writer.trackAt[1] ? 1 : 0) << length;
    }
  }
  EXPECT_GT(outcomes[pfsWrongKind], 0);
  EXPECT_GT(outcomes[pfsCorrupt], 0);
  EXPECT_GT(outcomes[10], 0);

  std::vector<std::pair<qint64, int>> fields;  // offset, width
  for (int at : {68, 70, 72, 74, 76, 94, 100, 114}) fields.emplace_back(at, 2);
  for (int at : {78, 82, 86, 90, 96, 102, 116}) fields.emplace_back(at, 4);
  for (std::size_t c = 0; c < writer.clipAt.size(); ++c) {
    fields.emplace_back(writer.clipAt[c], 4);
    for (int at : {4, 6, 8}) fields.emplace_back(writer.clipAt[c] + at, 2);
    for (qint64 frame : writer.frameAt[c]) {
      for (int at : {0, 2, 4}) fields.emplace_back(frame + at, 2);
      fields.emplace_back(frame + 8, 4);
    }
  }
  for (qint64 track : writer.trackAt) {
    fields.emplace_back(track + 4, 4);
    fields.emplace_back(track + 8, 2);
  }
  std::map<int, int> fieldOutcomes;
  for (const auto& [offset, width] : fields)
    for (qint64 value : {0LL, -1LL, 0x7FFFLL, 0xFFFFLL, 0xFFFFFFFFLL}) {
      TestEnvironment::WriteFile(path, QByteArray(good).replace(offset, width, Field(value, width)));
      ++fieldOutcomes[LoadAndPlay(path, QStringLiteral("%1 at %2").arg(value).arg(offset))];
    }
  EXPECT_GT(fieldOutcomes[pfsCorrupt], 0);
  EXPECT_GT(fieldOutcomes[10], 0);
  EXPECT_GT(fieldOutcomes[pfsReady], 0);
}

// The frame file is the animated file's bytes up to the first clip, then per clip its header
// (next offset: just after its records) and raw records whose trailers are the frame headers
// unchanged, in order; black arrives as 1. The tracks after the clips load, in table format 1
// (whatever the skipped bytes hold: WAVE) and 2.
TEST(TessavinelumeFileTest, TransferWritesEveryFrameRaw) {
  TempFolderScope temp(QStringLiteral("transfer"));
  for (int trackFormat : {1, 2}) {
    QvpWriter writer = SmallPuzzle(trackFormat);
    const QByteArray bytes = writer.Bytes();
    if (trackFormat == 1) writer.Patch(writer.trackAt[0] + 8, Field(1, 2));  // skipped there
    const QString path = ScratchPath("transfer.qvp");
    ASSERT_TRUE(writer.Write(path));
    Prompt::Double prompts;
    TessavinelumeFile file(path);
    FakeLoadProgress progress;
    ASSERT_TRUE(file.Open(&progress));
    EXPECT_EQ(progress.stages, std::vector<int>{5});
    EXPECT_EQ(progress.bar, 100 + 1);
    const QByteArray frames = TestEnvironment::ReadFile(file.FramePath());
    ASSERT_EQ(frames.size(), writer.FrameFileSize());
    EXPECT_EQ(frames.left(writer.firstClipAt), bytes.left(writer.firstClipAt));
    const auto clips = ReadFrameFile(frames, writer.firstClipAt, int(writer.clips.size()));
    ASSERT_EQ(clips.size(), writer.clips.size());
    for (std::size_t c = 0; c < clips.size(); ++c) {
      ASSERT_EQ(clips[c].size(), writer.clips[c].frames.size());
      for (std::size_t f = 0; f < clips[c].size(); ++f) {
        const QvpFrame& written = writer.clips[c].frames[f];
        const FrameTrailer& trailer = clips[c][f].trailer;
        EXPECT_EQ(trailer.tag, written.tag);
        EXPECT_EQ(QPoint(trailer.x, trailer.y), QPoint(written.x, written.y));
        EXPECT_EQ(trailer.hold, written.hold);
        EXPECT_TRUE(clips[c][f].allPixelsEqual);
        if (written.colour == 0) {
          EXPECT_EQ(clips[c][f].firstPixel, 1u);
        }
      }
    }
    file.LoadTracks();
    ASSERT_EQ(file.LoadedTrackCount(), 2);
    EXPECT_EQ(file.Track(0)->Length(), 40);
    EXPECT_FALSE(file.Track(0)->IsMidi());
    EXPECT_EQ(file.Track(1)->Length(), 24);
    EXPECT_EQ(file.Track(1)->IsMidi(), trackFormat == 2);
    EXPECT_TRUE(prompts.Shown().isEmpty());
  }
}

// Esc at any frame, or before the first, leaves no file and says nothing; too little space
// asks for the file size plus about 10 megabytes (10 MB free and a 2 MB file: 11), naming the
// volume; a write that fails says the same and leaves no file.
TEST(TessavinelumeFileTest, CancelledOrShortOfSpaceLeavesNoFile) {
  TempFolderScope temp(QStringLiteral("cancel"));
  QvpWriter writer = SmallPuzzle();
  const QString path = ScratchPath("cancel.qvp");
  ASSERT_TRUE(writer.Write(path));
  for (int frame = 0; frame <= 5; ++frame) {
    Prompt::Double prompts;
    TessavinelumeFile file(path);
    CancelAtFrame progress(frame);
    progress.cancelled = frame == 0;
    EXPECT_FALSE(file.Open(&progress)) << frame;
    EXPECT_TRUE(file.FramePath().isEmpty());
    EXPECT_TRUE(TempFolderScope::Left().isEmpty()) << frame;
    EXPECT_TRUE(prompts.Shown().isEmpty()) << frame;
  }

  const QString mount = QStorageInfo(GetTempFileFolder()).rootPath();
  writer.note = QByteArray(2 * 1024 * 1024 - int(writer.Bytes().size()) + int(writer.note.size()), 'n');
  ASSERT_TRUE(writer.Write(path));
  ASSERT_EQ(QFileInfo(path).size(), 2 * 1024 * 1024);
  TessavinelumeFile::SetFreeSpaceQuery([](const QString&) { return qint64(10 * 1024); });
  {
    Prompt::Double prompts;
    TessavinelumeFile file(path);
    EXPECT_FALSE(file.Open(nullptr));
    ASSERT_EQ(prompts.Shown().size(), 1);
    EXPECT_EQ(prompts.Shown()[0].text, "There is not enough free space on drive \"" + mount +
                                           "\" to load the puzzle.\n\n11 megabytes of temporary free space is required.");
    EXPECT_TRUE(TempFolderScope::Left().isEmpty());
  }
  TessavinelumeFile::SetFreeSpaceQuery({});

  // The disk fills up: writes beyond a few kilobytes fail.
  Prompt::Double prompts;
  TessavinelumeFile file(path);
  EXPECT_FALSE(PuzzleFixtures::WithFileSizeLimit(4096, [&] { return file.Open(nullptr); }));
  ASSERT_EQ(prompts.Shown().size(), 1);
  EXPECT_TRUE(prompts.Shown()[0].text.startsWith("There is not enough free space on drive"));
  EXPECT_TRUE(TempFolderScope::Left().isEmpty());
}

// Flat frames decode to hundreds of times their JPEG bytes: the room asked for is the frame
// file's exact size, known before anything is written, and a file declaring more frames than
// the cap allows is damaged.
TEST(TessavinelumeFileTest, TheFrameFileIsMeasuredExactlyBeforeAnyFrameIsWritten) {
  TempFolderScope temp(QStringLiteral("room"));
  QvpWriter writer(200, 150);
  writer.AddClip(200, 150, 200);
  const QString path = ScratchPath("flat.qvp");
  ASSERT_TRUE(writer.Write(path));
  const qint64 frameFile = writer.firstClipAt + 12 + 200 * (200 * 150 * 4 + 12);
  ASSERT_LT(QFileInfo(path).size() * 50, frameFile);
  const qint64 neededKilobytes = (frameFile + 1023) / 1024 + 9766;
  for (const qint64 free : {neededKilobytes, neededKilobytes + 1}) {
    TessavinelumeFile::SetFreeSpaceQuery([free](const QString&) { return free; });
    Prompt::Double prompts;
    TessavinelumeFile file(path);
    const bool room = free > neededKilobytes;
    EXPECT_EQ(file.Open(nullptr), room);
    if (room) {
      EXPECT_EQ(QFileInfo(file.FramePath()).size(), frameFile);
      continue;
    }
    ASSERT_EQ(prompts.Shown().size(), 1);
    const QString mount = QStorageInfo(GetTempFileFolder()).rootPath();
    EXPECT_EQ(prompts.Shown()[0].text, "There is not enough free space on drive \"" + mount + "\" to load the puzzle.\n\n" +
                                           QString::number(neededKilobytes / 1000) +
                                           " megabytes of temporary free space is required.")
        << prompts.Shown()[0].text.toStdString();
    EXPECT_TRUE(TempFolderScope::Left().isEmpty());
  }
  TessavinelumeFile::SetFreeSpaceQuery({});

  // 300 frames of 2048 x 2048 would make 4.8 gigabytes; the file holds one.
  QvpWriter huge(2048, 2048);
  huge.picture = QvpWriter::SolidJpeg(2048, 2048, 0x203040);
  huge.AddClip(2048, 2048, 1);
  huge.Bytes();
  huge.Patch(huge.clipAt[0] + 4, QByteArray("\x2C\x01", 2));
  ASSERT_TRUE(huge.Write(path));
  Prompt::Double prompts;
  TessavinelumeFile file(path);
  EXPECT_FALSE(file.Open(nullptr));
  ASSERT_EQ(prompts.Shown().size(), 1);
  EXPECT_TRUE(prompts.Shown()[0].text.startsWith("File corruption encountered.\rClip 1 makes the frame file larger than"))
      << prompts.Shown()[0].text.toStdString();
  EXPECT_TRUE(TempFolderScope::Left().isEmpty());
}
