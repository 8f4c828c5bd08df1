#pragma once
// The record handed to the editor's stream callbacks as their cookie, and the two
// callbacks: TransferIn feeds a stream-in from a device, TransferOut writes a stream-out to
// one. Both keep an exception's message instead of letting it cross the editor.

#include "RichEditDefs.h"

#include <QString>

#include <functional>

class ExchangeStream;
class QIODevice;
class QObject;
class StreamManager;
struct ConverterProgress;

struct XferInfo {
  using Progress = std::function<void(QObject* sender)>;

  QIODevice* stream = nullptr;
  QString errorText;
  qint64 remaining = 0;
  qint64 total = 0;
  Progress progress;
  QObject* sender = nullptr;
  int* percent = nullptr;
  bool percentChanged = true;
  // A store checks the free space of this folder before each chunk; empty for loads.
  QString rootPath;
  bool diskFull = false;
  // The owner's abort flag, set through the abort register while a load runs.
  const bool* abortFlag = nullptr;
  // A converter thread feeds the transfer (or takes it) through the exchange instead of a
  // stream; on a load, the stream being handed over and the converter's progress.
  bool threaded = false;
  StreamManager* exchange = nullptr;
  ExchangeStream* current = nullptr;
  bool streamInProgress = false;
  ConverterProgress* converterProgress = nullptr;
  // The load reached the converter's end-of-data marker.
  bool endOfData = false;
};

DWORD TransferIn(DWORD_PTR cookie, BYTE* buffer, LONG size, LONG* count);
DWORD TransferOut(DWORD_PTR cookie, BYTE* buffer, LONG size, LONG* count);

// The free space of a store's folder in kilobytes, -1 when unknown; an empty query restores
// the system's answer. Tests act out a full disk through it.
using FreeSpaceQuery = std::function<qint64(const QString& folder)>;
void SetFreeSpaceQuery(FreeSpaceQuery query);

// The editor's stream transfer of a format over a record; false when the callbacks failed.
class RichEditWindow;
bool StreamInOver(RichEditWindow& editor, UINT format, XferInfo& info);
bool StreamOutOver(RichEditWindow& editor, UINT format, XferInfo& info);
