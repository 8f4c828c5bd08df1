#include "RichIOTransfer.h"

#include "ConverterLink.h"
#include "RichEditWindow.h"
#include "StreamManager.h"
#include "Yelk/FileUtils.h"
#include "Yelk/MulDiv.h"

#include <QCoreApplication>
#include <QIODevice>

#include <algorithm>
#include <climits>
#include <exception>
#include <stdexcept>

namespace {

constexpr qint64 MinFreeKb = 10;

void ReportProgress(XferInfo& info) {
  if (!info.progress || info.percent == nullptr) return;
  const int percent = info.total > 0 ? 100 - MulDiv(100, static_cast<int>(std::min<qint64>(info.remaining, INT_MAX)),
                                                    static_cast<int>(std::min<qint64>(info.total, INT_MAX)))
                                     : 100;
  info.percentChanged = percent != *info.percent;
  *info.percent = percent;
  if (info.percentChanged) info.progress(info.sender);
}

FreeSpaceQuery& CurrentFreeSpaceQuery() {
  static FreeSpaceQuery query;
  return query;
}

// A failed query is unknown, not full: only a known shortage stops the store.
bool FolderIsFull(const QString& folder) {
  const FreeSpaceQuery& query = CurrentFreeSpaceQuery();
  const qint64 availableKb = query ? query(folder) : DiskFreeSpaceOrUnknown(folder);
  return availableKb >= 0 && availableKb < MinFreeKb;
}

// The converter thread computes the percentage; the handler runs here, on the editor's thread.
void ReportConverterProgress(XferInfo& info) {
  if (!info.progress || info.percent == nullptr || info.converterProgress == nullptr) return;
  *info.percent = info.converterProgress->percent;
  info.percentChanged = info.converterProgress->changed.exchange(false);
  if (info.percentChanged) info.progress(info.sender);
}

// A load fed by a converter thread: chunk after chunk from the exchange, each given back once
// handed over; the end marker, or an exchange stopped meanwhile, ends the stream-in.
DWORD InThreaded(XferInfo& info, BYTE* buffer, LONG size, LONG* count) {
  if (!info.streamInProgress) {
    info.current = info.exchange->DequeueStream();
    if (info.current == nullptr) return 1;
    if (info.current->Size() == 0) {
      info.exchange->ReleaseStream(info.current);
      info.current = nullptr;
      info.endOfData = true;
      return 1;
    }
    info.remaining = static_cast<qint64>(info.current->Size());
  }
  const std::size_t read = info.current->Read(buffer, static_cast<std::size_t>(std::min<qint64>(size, info.remaining)));
  *count = static_cast<LONG>(read);
  info.remaining -= static_cast<qint64>(read);
  ReportConverterProgress(info);
  info.streamInProgress = info.remaining > 0;
  if (!info.streamInProgress) {
    info.exchange->ReleaseStream(info.current);
    info.current = nullptr;
  }
  return 0;
}

DWORD In(XferInfo& info, BYTE* buffer, LONG size, LONG* count) {
  QCoreApplication::processEvents();
  if (info.abortFlag != nullptr && *info.abortFlag) {
    // The converter's next request for a stream gets none, and it stops.
    if (info.exchange != nullptr) info.exchange->Abort();
    return 1;
  }
  if (info.threaded) return InThreaded(info, buffer, size, count);
  const qint64 wanted = std::min<qint64>(size, info.remaining);
  const qint64 read = wanted > 0 ? info.stream->read(reinterpret_cast<char*>(buffer), wanted) : 0;
  if (read < 0) throw std::runtime_error(info.stream->errorString().toStdString());
  // A file that ends before its size was read has changed under the load.
  if (read == 0 && wanted > 0) throw std::runtime_error("Stream read error");
  *count = static_cast<LONG>(read);
  info.remaining -= read;
  ReportProgress(info);
  return 0;
}

DWORD Out(XferInfo& info, BYTE* buffer, LONG size, LONG* count) {
  if (!info.rootPath.isEmpty() && FolderIsFull(info.rootPath)) {
    info.diskFull = true;
    return 1;
  }
  if (info.threaded) {
    // Null: the converter ended before the data did, and says why when it is waited for.
    ExchangeStream* stream = info.exchange->GetFreeStream();
    if (stream == nullptr) return 1;
    stream->Write(buffer, static_cast<std::size_t>(size));
    info.exchange->QueueStream(stream);
    *count = size;
    return 0;
  }
  const qint64 written = info.stream->write(reinterpret_cast<const char*>(buffer), size);
  if (written != size) {
    // The system's reason, whatever it is: a full disk is only one of them.
    info.errorText = info.stream->errorString();
    return 1;
  }
  *count = size;
  return 0;
}

}  // namespace

void SetFreeSpaceQuery(FreeSpaceQuery query) { CurrentFreeSpaceQuery() = std::move(query); }

DWORD TransferIn(DWORD_PTR cookie, BYTE* buffer, LONG size, LONG* count) {
  auto& info = *reinterpret_cast<XferInfo*>(cookie);
  *count = 0;
  try {
    return In(info, buffer, size, count);
  } catch (const std::exception& e) {
    info.errorText = QString::fromLocal8Bit(e.what());
  }
  return 1;
}

DWORD TransferOut(DWORD_PTR cookie, BYTE* buffer, LONG size, LONG* count) {
  auto& info = *reinterpret_cast<XferInfo*>(cookie);
  *count = 0;
  try {
    return Out(info, buffer, size, count);
  } catch (const std::exception& e) {
    info.errorText = QString::fromLocal8Bit(e.what());
  }
  return 1;
}

bool StreamInOver(RichEditWindow& editor, UINT format, XferInfo& info) {
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&info), 0, &TransferIn};
  editor.EmStreamIn(format, stream);
  return stream.dwError == 0 && info.errorText.isEmpty();
}

bool StreamOutOver(RichEditWindow& editor, UINT format, XferInfo& info) {
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&info), 0, &TransferOut};
  editor.EmStreamOut(format, stream);
  return stream.dwError == 0 && info.errorText.isEmpty() && !info.diskFull;
}
