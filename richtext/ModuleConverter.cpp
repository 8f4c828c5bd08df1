#include "ModuleConverter.h"

#include "ConverterThread.h"
#include "RichIO.h"
#include "RichIOTransfer.h"
#include "StreamManager.h"

#include "Yelk/GameApplication.h"
#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "platform/SharedModule.h"

#include <QCoreApplication>

#include <cstring>
#include <stdexcept>
#include <vector>

namespace {

constexpr std::size_t TransferBlockSize = 4096;
constexpr std::size_t ClassNameSize = 256;
const QString ConversionError = QStringLiteral("Error occurred during file conversion.");

bool& StuckFlag() {
  static bool stuck = false;
  return stuck;
}

template <typename Entry>
Entry EntryPoint(SharedModule& module, const char* name) {
  return reinterpret_cast<Entry>(module.Symbol(name));
}

}  // namespace

ModuleConverter::ModuleConverter() = default;

ModuleConverter::~ModuleConverter() { CleanUp(); }

bool ModuleConverter::Stuck() { return StuckFlag(); }

// A load prepares converters more than once for its file, and prepares one for every file:
// the refusal is told once a load or store, and never for a document that needs no converter.
void ModuleConverter::RefuseWhileStuck(const QString& path) {
  static bool told = false;
  TMsgLog::Add(QStringLiteral("RichIO::PrepareConverter - refused: a conversion never ended"));
  const RichIO::DocType type = RichIO::DocTypeFromExtension(path);
  if (type == RichIO::DocText || type == RichIO::DocRtf || told) return;
  // A load or store runs within one event; the next one is told again.
  if (QCoreApplication* application = QCoreApplication::instance()) {
    told = true;
    QMetaObject::invokeMethod(application, [] { told = false; }, Qt::QueuedConnection);
  }
  RichIO::ShowIOExceptionMsg(ConversionError);
}

TcHandle ModuleConverter::StrToGlobalStr(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  TcHandle block = TcBlockAlloc(static_cast<std::size_t>(bytes.size()) + 1);
  if (block == nullptr) throw std::runtime_error("Failed to alloc global string memory");
  void* data = TcBlockLock(block);
  if (data == nullptr) {
    TcBlockFree(block);
    throw std::runtime_error("Failed to lock string memory");
  }
  std::memcpy(data, bytes.constData(), static_cast<std::size_t>(bytes.size()));
  TcBlockUnlock(block);
  return block;
}

void ModuleConverter::LoadEntryPoints(Direction direction) {
  init_ = EntryPoint<TcInitConverter>(*module_, "InitConverter32");
  isFormatCorrect_ = EntryPoint<TcIsFormatCorrect>(*module_, "IsFormatCorrect32");
  foreignToRtf_ = EntryPoint<TcForeignToRtf>(*module_, "ForeignToRtf32");
  rtfToForeign_ = EntryPoint<TcRtfToForeign>(*module_, "RtfToForeign32");
  if (init_ == nullptr || isFormatCorrect_ == nullptr || (direction == Import && foreignToRtf_ == nullptr) ||
      (direction == Export && rtfToForeign_ == nullptr))
    throw std::runtime_error("Failed to load converter procs");
}

int ModuleConverter::Prepare(const QString& modulePath, const QString& path, Type, Direction direction) {
  CleanUp();
  // Not supported any more: a Word file is then refused, not shown as text.
  if (Stuck()) {
    RefuseWhileStuck(path);
    return 2;
  }
  module_ = std::make_unique<SharedModule>();
  if (module_->Load(modulePath) != SharedModule::Loaded) {
    TMsgLog::Add(QStringLiteral("RichIO::PrepareConverter - ") + module_->ErrorText());
    module_.reset();
    Prompt::ShowApp(QStringLiteral("Failed to open converter file \"") + modulePath + QStringLiteral("\"."),
                    Prompt::Stop);
    return 1;
  }
  const bool prepared = GameApplication::Guarded([&] {
    LoadEntryPoints(direction);
    init_(nullptr, QCoreApplication::applicationFilePath().toUtf8().constData());
    buffer_ = TcBlockAlloc(TransferBlockSize);
    if (buffer_ == nullptr) throw std::runtime_error("Failed to allocate converter buffer");
    className_ = StrToGlobalStr(QString());
    subset_ = StrToGlobalStr(QString());
    file_ = StrToGlobalStr(path);
    exchange_ = std::make_unique<StreamManager>(ExchangeWait);
    progress_ = std::make_unique<ConverterProgress>();
    ConverterLink::ExceptionMsg().clear();
    return true;
  });
  if (prepared) return 0;
  CleanUp();
  return 1;
}

bool ModuleConverter::FormatIsCorrect() {
  if (!module_ || isFormatCorrect_ == nullptr) return false;
  TcHandle className = TcBlockAlloc(ClassNameSize);
  if (className == nullptr) throw std::runtime_error("GlobalAlloc failed");
  TcResult result = TcNoErr;
  try {
    result = isFormatCorrect_(file_, className);
  } catch (...) {
    // The module's exception must not cross into the editor; it simply does not claim the file.
    TMsgLog::Add(QStringLiteral("RichIO::FormatIsCorrect - the converter failed."));
    result = TcNoErr;
  }
  TcBlockFree(className);
  return result == TcFormatMine;
}

void ModuleConverter::CleanUp() {
  if (thread_) {
    // A thread that did not end in time is past every wait: joining would hang the editor,
    // and freeing would pull its state from under it.
    if (Stuck()) return Abandon();
    exchange_->Abort();
    thread_->Join();
    thread_.reset();
    ConverterLink::Close();
  }
  info_ = nullptr;
  if (!Stuck()) ConverterLink::ExceptionMsg().clear();
  TcBlockFree(file_);
  TcBlockFree(subset_);
  TcBlockFree(className_);
  TcBlockFree(buffer_);
  file_ = subset_ = className_ = buffer_ = nullptr;
  exchange_.reset();
  progress_.reset();
  module_.reset();
  init_ = nullptr;
  isFormatCorrect_ = nullptr;
  foreignToRtf_ = nullptr;
  rtfToForeign_ = nullptr;
}

// Everything the running thread may still touch stays allocated, and the module loaded;
// it is kept reachable, since it is kept on purpose.
void ModuleConverter::Abandon() {
  static auto* kept = new std::vector<const void*>();
  thread_->Detach();
  kept->push_back(thread_.release());
  kept->push_back(exchange_.release());
  kept->push_back(progress_.release());
  kept->push_back(module_.release());
  for (TcHandle block : {file_, subset_, className_, buffer_}) kept->push_back(block);
  file_ = subset_ = className_ = buffer_ = nullptr;
}

void ModuleConverter::Start(XferInfo& info, Direction direction) {
  progress_->wanted = static_cast<bool>(info.progress);
  progress_->total = info.total;
  progress_->done = 0;
  progress_->percent = info.percent != nullptr ? *info.percent : -1;
  progress_->changed = true;
  info.threaded = true;
  info.exchange = exchange_.get();
  info.converterProgress = progress_.get();
  info_ = &info;
  direction_ = direction;
  // The callbacks' state is in place before the thread that calls them exists.
  ConverterLink::Open(buffer_, exchange_.get(), progress_.get());
  const ConverterThread::Call call{foreignToRtf_, rtfToForeign_, file_, buffer_, className_, subset_};
  thread_ = std::make_unique<ConverterThread>(call, direction == Export ? ConverterThread::Export : ConverterThread::Import,
                                              *exchange_);
}

void ModuleConverter::EndOfData() {
  if (!exchange_) return;
  try {
    exchange_->QueueEmptyStream();
  } catch (const StreamError& e) {
    TMsgLog::Add(QStringLiteral("RichIO::Store - ") + QString::fromStdString(e.what()));
  }
}

QString ModuleConverter::Wait(int milliseconds) {
  if (!thread_) return QString();
  // The editor's side is done: a converter still waiting for it stops now instead of
  // waiting out the exchange's time. What was queued before still reaches it.
  exchange_->Abort();
  if (!thread_->WaitForEnd(std::chrono::milliseconds(milliseconds))) {
    exchange_->Abort();
    StuckFlag() = true;
    TMsgLog::Add(QStringLiteral("RichIO - the converter did not end in time; it is left running."));
    return ConversionError;
  }
  thread_->Join();
  thread_.reset();
  ConverterLink::Close();
  // An exporter that returned before the end of the data wrote only part of the document.
  if (direction_ == Export && ConverterLink::ExceptionMsg().empty() && !ConverterLink::EndReached()) return ConversionError;
  return QString::fromStdString(ConverterLink::ExceptionMsg());
}

bool ModuleConverter::EndedNormally(unsigned long streamError) const {
  // The stream-in's callback stops it at the end marker; anything else stopped it early.
  return streamError == 0 || (streamError == 1 && info_ != nullptr && info_->endOfData);
}
