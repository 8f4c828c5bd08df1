#include "PreviewDecoder.h"

#include "imaging/DecodeCancel.h"
#include "imaging/DecodeRefusal.h"
#include "puzzle/PictureThumbnail.h"
#include "Yelk/TMsgLog.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

// One decode: its input is set before the thread starts; the receiver is shared with the
// thread under the mutex, and the result goes back by value.
struct PreviewJob {
  Puzzle::PictureBytes source;
  int box = 0;
  std::atomic<bool> cancelled{false};
  std::mutex mutex;
  QObject* receiver = nullptr;
  PreviewDecoder::Done done;  // main thread only
};

namespace {

// The decoding threads still running, which the program waits for before it ends.
std::mutex liveMutex;
std::condition_variable liveChanged;
int live = 0;
std::function<void(const QString&)> checkpoint;

bool CancelRequested(PreviewJob& job) {
  std::function<void(const QString&)> pause;
  {
    std::lock_guard lock(liveMutex);
    pause = checkpoint;
  }
  if (pause) pause(job.source.name);
  return job.cancelled;
}

// The pixels go to the main thread as they are. A cancelled job has no receiver any more; one
// cancelled after its result was sent drops the result when it comes.
void HandBack(const std::shared_ptr<PreviewJob>& job, PictureThumbnail thumbnail, const QString& refusal) {
  std::lock_guard lock(job->mutex);
  if (!job->receiver) return;
  QMetaObject::invokeMethod(
      job->receiver,
      [job, thumbnail = std::move(thumbnail), refusal] {
        if (!job->cancelled) job->done(thumbnail.ToImage(), refusal);
      },
      Qt::QueuedConnection);
}

void Decode(std::shared_ptr<PreviewJob> job) {
  PictureThumbnail thumbnail;
  QString refusal;
  try {
    const DecodeCancel cancel([&job] { return CancelRequested(*job); });
    const DecodeRefusal refused;
    thumbnail = PictureThumbnail::Make(job->source.bytes, job->source.format, job->box, job->source.name);
    refusal = refused.Reason();
  } catch (const std::bad_alloc&) {
    TMsgLog::Add(QStringLiteral("%1 - no memory for its preview").arg(job->source.name));
  }
  HandBack(job, std::move(thumbnail), refusal);
  job.reset();
  std::lock_guard lock(liveMutex);
  --live;
  liveChanged.notify_all();
}

}  // namespace

PreviewDecoder::PreviewDecoder(QObject* receiver) : receiver_(receiver) {}

PreviewDecoder::~PreviewDecoder() { Cancel(); }

void PreviewDecoder::Start(Puzzle::PictureBytes source, int box, Done done) {
  Cancel();
  auto job = std::make_shared<PreviewJob>();
  job->source = std::move(source);
  job->box = box;
  job->receiver = receiver_;
  job->done = std::move(done);
  static const bool waitsAtExit = [] {
    qAddPostRoutine(&PreviewDecoder::WaitForAll);
    return true;
  }();
  Q_UNUSED(waitsAtExit);
  std::lock_guard lock(liveMutex);
  try {
    std::thread(Decode, job).detach();
    ++live;
    job_ = std::move(job);
  } catch (const std::system_error& error) {
    TMsgLog::Add(QStringLiteral("The preview could not start: ") + QString::fromUtf8(error.what()));
    job->done(QImage(), QString());
  }
}

void PreviewDecoder::Cancel() {
  if (!job_) return;
  job_->cancelled = true;
  {
    std::lock_guard lock(job_->mutex);
    job_->receiver = nullptr;
  }
  job_.reset();
}

void PreviewDecoder::WaitForAll() {
  std::unique_lock lock(liveMutex);
  liveChanged.wait(lock, [] { return live == 0; });
}

void PreviewDecoder::SetCheckpoint(std::function<void(const QString& name)> pause) {
  std::lock_guard lock(liveMutex);
  checkpoint = std::move(pause);
}
