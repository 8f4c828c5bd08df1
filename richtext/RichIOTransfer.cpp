#include "RichIOTransfer.h"

#include "RichEditWindow.h"
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

DWORD In(XferInfo& info, BYTE* buffer, LONG size, LONG* count) {
  QCoreApplication::processEvents();
  if (info.abortFlag != nullptr && *info.abortFlag) return 1;
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
  const qint64 written = info.stream->write(reinterpret_cast<const char*>(buffer), size);
  if (written != size) {
    // A short write is a full disk as the user sees it; a memory stream never fails so.
    info.diskFull = true;
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
