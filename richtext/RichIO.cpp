#include "RichIO.h"

#include "ChunkedBytes.h"
#include "RichEdit20.h"
#include "RichIOTransfer.h"
#include "Yelk/GenSwerr.h"
#include "Yelk/HourGlass.h"
#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"

#include <QBuffer>

namespace {

constexpr int TextFormat = 1;
constexpr int RtfFormat = 2;
constexpr UINT SelectionRtf = SFF_SELECTION | SF_RTF;

QString& CachedPreamble() {
  static QString preamble;
  return preamble;
}

// The preamble is what precedes the first group or \uc after the opening brace.
QString CutPreamble(const QByteArray& head) {
  qsizetype cut = head.indexOf('{', 1);
  if (cut < 0) cut = head.indexOf("\\uc");
  if (cut < 0) cut = head.indexOf('}');
  if (cut < 0) cut = qMin<qsizetype>(1, head.size());
  return QString::fromLatin1(head.left(cut));
}

}  // namespace

RichIO::Running::Running(RichIO& io, const char* where) : io(io), refused(io.transferring_) {
  if (refused)
    TMsgLog::Add(QStringLiteral("RichIO::%1 - A transfer is already running.").arg(QLatin1String(where)));
  io.transferring_ = true;
}

RichIO::Running::~Running() {
  if (!refused) io.transferring_ = false;
}

RichIO::RichIO(RichEdit20& editor) : editor_(editor) {
  LocateConverters();
  Dummy = this;
}

RichIO::~RichIO() {
  CleanUpConverter();
  if (Dummy == this) Dummy = nullptr;
}

void RichIO::ShowIOExceptionMsg(const QString& text) {
  Prompt::ShowApp(QStringLiteral("Exception:  ") + text, Prompt::Stop);
}

bool RichIO::SaveToMemory(int format) {
  if (format != TextFormat && format != RtfFormat) {
    GenSwerr(QStringLiteral("Invalid format"));
    return false;
  }
  Running running(*this, "SaveToMemory");
  if (running.refused) return false;
  HourGlass::Scope busy;
  memFormat_ = format;
  ChunkedSink sink;
  XferInfo info;
  info.stream = &sink;
  const bool saved = StreamOutOver(editor_, UINT(format), info);
  memStream_ = std::make_unique<QByteArray>(sink.Take());
  if (saved) return true;
  if (!info.errorText.isEmpty()) ShowIOExceptionMsg(info.errorText);
  return false;
}

bool RichIO::RestoreFromMemory() {
  if (!memStream_) return false;
  const std::unique_ptr<QByteArray> kept = std::move(memStream_);
  Running running(*this, "RestoreFromMemory");
  if (running.refused) return false;
  HourGlass::Scope busy;
  QBuffer buffer(kept.get());
  buffer.open(QIODevice::ReadOnly);
  XferInfo info;
  info.stream = &buffer;
  info.remaining = info.total = kept->size();
  if (StreamInOver(editor_, UINT(memFormat_), info)) return true;
  if (!info.errorText.isEmpty()) ShowIOExceptionMsg(info.errorText);
  return false;
}

bool RichIO::GetContent(QByteArray* out) {
  if (out == nullptr) return false;
  std::unique_ptr<QByteArray> keptStream = std::move(memStream_);
  const int keptFormat = memFormat_;
  const bool saved = SaveToMemory(editor_.ReadPlainText() ? TextFormat : RtfFormat);
  *out = memStream_ ? *memStream_ : QByteArray();
  memStream_ = std::move(keptStream);
  memFormat_ = keptFormat;
  return saved;
}

bool RichIO::SetContent(const QByteArray* in) {
  if (in == nullptr) return false;
  std::unique_ptr<QByteArray> keptStream = std::move(memStream_);
  const int keptFormat = memFormat_;
  memFormat_ = in->startsWith("{\\rtf") ? RtfFormat : TextFormat;
  memStream_ = std::make_unique<QByteArray>(*in);
  const bool restored = RestoreFromMemory();
  // A note given from memory is a loaded document: clearing it later is a change to keep.
  if (restored) lastDocType = memFormat_ == RtfFormat ? DocRtf : DocText;
  memStream_ = std::move(keptStream);
  memFormat_ = keptFormat;
  return restored;
}

QString RichIO::GetRtfPreamble() {
  QString& preamble = CachedPreamble();
  if (!preamble.isEmpty()) return preamble;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  XferInfo info;
  info.stream = &buffer;
  StreamOutOver(editor_, SelectionRtf, info);
  preamble = CutPreamble(bytes.left(255));
  return preamble;
}

void RichIO::InsertRtfSegment(const QString& text) {
  QByteArray bytes = text.toLatin1();
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  XferInfo info;
  info.stream = &buffer;
  info.remaining = info.total = bytes.size();
  editor_.PrepareBookmarks();
  StreamInOver(editor_, SelectionRtf, info);
  editor_.UpdateBookmarks(false);
}
