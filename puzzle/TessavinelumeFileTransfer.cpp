// Decoding an animated puzzle's frames once into the temporary frame file that playback
// reads. Every value from the file is checked first; a corrupt clip, a full disk or a cancel
// leaves no file behind.

#include "TessavinelumeFile.h"

#include "LoadProgress.h"
#include "VideoClip.h"
#include "VideoFrame.h"
#include "Yelk/FileUtils.h"
#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "Yelk/TempFiles.h"
#include "imaging/RegularFile.h"
#include "imaging/VirtualBuffer.h"

#include <QBuffer>
#include <QStorageInfo>

#include <stdexcept>
#include <vector>

namespace {
constexpr qint64 PrefixChunk = 65534;
constexpr qint64 SpareKilobytes = 9766;

TessavinelumeFile::FreeSpaceQuery& FreeSpace() {
  static TessavinelumeFile::FreeSpaceQuery query;
  return query;
}

// How a transfer ended; thrown to end it early.
struct TransferStop {
  enum Kind { Done, Cancelled, Corrupt, NoSpace, Failed } kind;
  QString reason;
};

// One pass over the clips, from the animated-puzzle file into the frame file.
class FrameTransfer {
public:
  FrameTransfer(const TessavinelumeHeader& header, QFile& in, QFile& out, LoadProgress* progress)
      : header(header), in(in), out(out), progress(progress), total(std::max<qint64>(header.totalFrames, 1)) {}

  // The frame file's exact size, from the clip and frame headers alone: nothing is decoded
  // or written before the whole file is known to fit.
  qint64 Measure() {
    qint64 bytes = header.firstClip;
    if (!in.seek(header.firstClip)) Corrupt(QStringLiteral("The first clip lies outside the file"));
    for (int index = 0; index < header.clipCount; ++index) {
      const QString what = QStringLiteral("Clip %1").arg(index + 1);
      unsigned char raw[ClipHeader::Size];
      const ClipHeader clip = ReadClipHeader(what, raw);
      if (clip.frames == 0) {
        bytes += ClipHeader::Size;
        continue;
      }
      bufferBytes += std::min<int>(clip.frames, VideoClip::MaxBuffers) * VideoFrame::RecordSize(clip.width, clip.height);
      if (bufferBytes > TessavinelumeFile::MaxFrameMemory) Corrupt(what + QStringLiteral(" needs too much memory"));
      bytes += ClipHeader::Size + clip.frames * VideoFrame::RecordSize(clip.width, clip.height);
      if (bytes > TessavinelumeFile::MaxFrameFileBytes)
        Corrupt(what + QStringLiteral(" makes the frame file larger than %1 bytes").arg(TessavinelumeFile::MaxFrameFileBytes));
      for (int i = 0; i < clip.frames; ++i) {
        ReadFrameHeader(what + QStringLiteral(", frame %1,").arg(i + 1));
        in.seek(in.pos() + qint64(lastTrailer.jpegSize));
      }
    }
    return bytes;
  }

  void Run() {
    CopyPrefix();
    for (int clip = 0; clip < header.clipCount; ++clip) CopyClip(clip);
    if (!out.flush()) throw TransferStop{TransferStop::NoSpace, out.errorString()};
  }

private:
  [[noreturn]] static void Corrupt(const QString& reason) { throw TransferStop{TransferStop::Corrupt, reason}; }

  void ReadExactly(char* into, qint64 bytes, const QString& what) {
    if (in.pos() + bytes > in.size() || in.read(into, bytes) != bytes) Corrupt(what + QStringLiteral(" lies outside the file"));
  }

  void Write(const void* bytes, qint64 size) {
    if (out.write(static_cast<const char*>(bytes), size) != size)
      throw TransferStop{TransferStop::NoSpace, out.errorString()};
  }

  void CopyPrefix() {
    char chunk[PrefixChunk];
    in.seek(0);
    for (qint64 left = header.firstClip; left > 0;) {
      const qint64 part = std::min(left, PrefixChunk);
      ReadExactly(chunk, part, QStringLiteral("The header"));
      Write(chunk, part);
      left -= part;
    }
  }

  void CopyClip(int index) {
    const QString what = QStringLiteral("Clip %1").arg(index + 1);
    const qint64 headerAt = out.pos();
    unsigned char bytes[ClipHeader::Size];
    ClipHeader clip = ReadClipHeader(what, bytes);
    Write(bytes, ClipHeader::Size);
    if (clip.frames > 0) {
      // The rows lie one pixel off a 16-byte boundary: the decoder then stores them through the
      // cache instead of around it, and the passes that follow read them from there.
      const std::size_t pixels = std::size_t(clip.width) * std::size_t(clip.height);
      if (rows.size() < pixels + 1) rows.assign(pixels + 1, 0);
      VirtualBuffer frame(clip.width, clip.height, QStringLiteral("temp frame"), rows.data() + 1, pixels * 4);
      if (frame.IsEmpty()) Corrupt(what + QStringLiteral(" has frames of a refused size"));
      for (int i = 0; i < clip.frames; ++i) CopyFrame(frame, what + QStringLiteral(", frame %1,").arg(i + 1));
    }
    // The next clip's header follows this clip's last record.
    clip.nextClip = std::uint32_t(out.pos());
    clip.Store(bytes);
    if (!out.seek(headerAt)) Corrupt(what + QStringLiteral(" can not be finished"));
    Write(bytes, ClipHeader::Size);
    out.seek(out.size());
  }

  ClipHeader ReadClipHeader(const QString& what, unsigned char* bytes) {
    ReadExactly(reinterpret_cast<char*>(bytes), ClipHeader::Size, what);
    const ClipHeader clip = ClipHeader::Parse(bytes);
    if (clip.frames < 0) Corrupt(what + QStringLiteral(" has %1 frames").arg(clip.frames));
    if (clip.frames > 0 &&
        (clip.width < 1 || clip.width > header.width || clip.height < 1 || clip.height > header.height))
      Corrupt(what + QStringLiteral(" has frames of %1 x %2 on a picture of %3 x %4")
                         .arg(clip.width)
                         .arg(clip.height)
                         .arg(header.width)
                         .arg(header.height));
    return clip;
  }

  // The frame header into trailerBytes and lastTrailer; its JPEG stream must lie in the file.
  void ReadFrameHeader(const QString& what) {
    ReadExactly(reinterpret_cast<char*>(trailerBytes), FrameTrailer::Size, what);
    lastTrailer = FrameTrailer::Parse(trailerBytes);
    if (lastTrailer.jpegSize == 0 || in.pos() + qint64(lastTrailer.jpegSize) > in.size())
      Corrupt(what + QStringLiteral(" of %1 bytes lies outside the file").arg(lastTrailer.jpegSize));
  }

  void CopyFrame(VirtualBuffer& frame, const QString& what) {
    ReadFrameHeader(what);
    jpeg.resize(qsizetype(lastTrailer.jpegSize));
    ReadExactly(jpeg.data(), jpeg.size(), what);
    // The decoder sees exactly the declared bytes.
    QBuffer stream(&jpeg);
    stream.open(QIODevice::ReadOnly);
    if (!frame.Read(stream, VirtualBuffer::JpegMode))
      Corrupt(what + QStringLiteral(" does not decode to %1 x %2").arg(frame.width).arg(frame.height));
    Write(frame.memory, qint64(frame.stride) * frame.height);
    Write(trailerBytes, FrameTrailer::Size);
    ++done;
    if (!progress) return;
    progress->SetBarPosition(int(done * 100 / total + 1));
    if (progress->IsCancelled()) throw TransferStop{TransferStop::Cancelled, {}};
  }

  const TessavinelumeHeader& header;
  QFile& in;
  QFile& out;
  LoadProgress* progress;
  const qint64 total;
  qint64 done = 0;
  qint64 bufferBytes = 0;
  unsigned char trailerBytes[FrameTrailer::Size] = {};
  FrameTrailer lastTrailer{};
  QByteArray jpeg;
  std::vector<std::uint32_t> rows;
};

// Runs one step of a transfer; how it ended.
template <class Step>
TransferStop Attempt(Step step) {
  try {
    step();
    return {TransferStop::Done, {}};
  } catch (const TransferStop& stop) {
    return stop;
  } catch (const std::exception& error) {
    return {TransferStop::Failed, QString::fromUtf8(error.what())};
  }
}

void ShowLowSpace(qint64 neededKilobytes) {
  const QString mount = QStorageInfo(GetTempFileFolder()).rootPath();
  Prompt::ShowApp(QStringLiteral("There is not enough free space on drive \"") + mount +
                      QStringLiteral("\" to load the puzzle.\n\n") + QString::number(neededKilobytes / 1000) +
                      QStringLiteral(" megabytes of temporary free space is required."),
                  Prompt::Information);
}
}  // namespace

void TessavinelumeFile::SetFreeSpaceQuery(FreeSpaceQuery query) { FreeSpace() = std::move(query); }

bool TessavinelumeFile::TransferToHardDrive(LoadProgress* progress) {
  if (status != pfsReady || !framePath.isEmpty()) return !framePath.isEmpty();
  framePath = CreateTempFile();
  if (framePath.isEmpty()) return false;
  const qint64 freeKilobytes = FreeSpace() ? FreeSpace()(framePath) : DiskFreeSpace(framePath);
  if (progress) progress->SetStage(5);
  QFile in;
  QFile out(framePath);
  if (progress && progress->IsCancelled()) {
    DropFrameFile();
    return false;
  }
  if (RegularFile::Open(in, path) != RegularFile::Opened) {
    TMsgLog::Add(QStringLiteral("TransferToHardDrive failure\n\n") + path + QStringLiteral(" can not be read"));
    DropFrameFile();
    return false;
  }
  FrameTransfer transfer(header, in, out, progress);
  qint64 frameFileBytes = 0;
  TransferStop outcome = Attempt([&] { frameFileBytes = transfer.Measure(); });
  const qint64 needed = (frameFileBytes + 1023) / 1024 + SpareKilobytes;
  if (outcome.kind == TransferStop::Done) {
    const bool room = needed < freeKilobytes && out.open(QIODevice::WriteOnly | QIODevice::Truncate);
    outcome = room ? Attempt([&] { transfer.Run(); }) : TransferStop{TransferStop::NoSpace, {}};
  }
  out.close();
  if (outcome.kind == TransferStop::Done) return true;
  DropFrameFile();
  if (!outcome.reason.isEmpty()) TMsgLog::Add(QStringLiteral("TransferToHardDrive failure\n\n") + outcome.reason);
  if (outcome.kind == TransferStop::Corrupt)
    Prompt::ShowApp(QStringLiteral("File corruption encountered.\r") + outcome.reason, Prompt::Stop);
  else if (outcome.kind == TransferStop::NoSpace)
    ShowLowSpace(needed);
  return false;
}
