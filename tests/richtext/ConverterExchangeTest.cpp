// The converter thread, its two callbacks and the stream exchange, with two threads at work.
// Plain C++ only: these cases also build alone under ThreadSanitizer (tests/richtext/tsan).

#include "richtext/ConverterLink.h"
#include "richtext/ConverterThread.h"
#include "richtext/StreamManager.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using std::chrono::milliseconds;
constexpr milliseconds Long{60000};

// The fake converter's behaviour: the test sets it, the converter thread runs it.
std::function<TcResult(TcHandle buffer, TcCallback callback)>& Script() {
  static std::function<TcResult(TcHandle, TcCallback)> script;
  return script;
}

TcResult FakeImport(TcHandle, void*, TcHandle buffer, TcHandle, TcHandle, TcCallback output) {
  return Script()(buffer, output);
}

TcResult FakeExport(TcHandle, void*, TcHandle buffer, TcHandle, TcCallback input) { return Script()(buffer, input); }

// Hands text over in chunks of the given sizes (cycled), resizing the block to each first.
TcResult Produce(const std::string& text, const std::vector<std::size_t>& sizes, TcHandle buffer, TcCallback output) {
  std::size_t at = 0;
  for (std::size_t i = 0; at < text.size(); ++i) {
    const std::size_t n = std::min(sizes[i % sizes.size()], text.size() - at);
    if (!TcBlockReAlloc(buffer, n)) return TcNoMemory;
    std::memcpy(TcBlockLock(buffer), text.data() + at, n);
    TcBlockUnlock(buffer);
    if (output(static_cast<std::int32_t>(n), 0) < 0) return TcUserCancel;
    at += n;
  }
  return TcNoErr;
}

// The editor's side of an import: every chunk read from its start, in pieces, until the end
// marker (an empty stream) or null.
std::string Consume(StreamManager& exchange, std::size_t piece, bool* sawMarker = nullptr) {
  std::string all;
  for (;;) {
    ExchangeStream* stream = exchange.DequeueStream();
    if (stream == nullptr) return all;
    if (stream->Size() == 0) {
      if (sawMarker != nullptr) *sawMarker = true;
      exchange.ReleaseStream(stream);
      return all;
    }
    EXPECT_EQ(stream->Position(), 0u);
    std::string chunk(stream->Size(), '\0');
    for (std::size_t at = 0; at < chunk.size();) at += stream->Read(chunk.data() + at, std::min(piece, chunk.size() - at));
    all += chunk;
    exchange.ReleaseStream(stream);
  }
}

std::string Document(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string text = "{\\rtf1 ";
  while (text.size() < size) text += static_cast<char>('a' + random() % 26);
  return text + "}";
}

struct Session {
  explicit Session(milliseconds wait = Long) : exchange(wait) {
    buffer = TcBlockAlloc(4096);
    ConverterLink::Open(buffer, &exchange, &progress);
  }
  ~Session() {
    ConverterLink::Close();
    TcBlockFree(buffer);
  }
  ConverterThread::Call Call() const {
    ConverterThread::Call call;
    call.foreignToRtf = &FakeImport;
    call.rtfToForeign = &FakeExport;
    call.buffer = buffer;
    return call;
  }
  StreamManager exchange;
  ConverterProgress progress;
  TcHandle buffer;
};

}  // namespace

// Whatever the chunk sizes on both sides, the editor receives the converter's bytes whole
// and in order, each chunk from its start, then the end marker; and what the editor sends
// reaches an exporter whole, at most min(4096, block size) bytes per call.
TEST(ConverterExchangeTest, EveryByteArrivesInOrderWhateverTheChunkSizes) {
  const std::vector<std::vector<std::size_t>> sizes = {{1}, {7, 4096, 3}, {4096}, {100, 5000, 1}, {3000, 9000}};
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    const std::string text = Document(1000 + 7919 * i, static_cast<unsigned>(i));
    {
      Session session;
      Script() = [&](TcHandle buffer, TcCallback output) { return Produce(text, sizes[i], buffer, output); };
      ConverterThread thread(session.Call(), ConverterThread::Import, session.exchange);
      bool marker = false;
      EXPECT_EQ(Consume(session.exchange, 1 + 977 * i, &marker), text) << i;
      EXPECT_TRUE(marker);
      ASSERT_TRUE(thread.WaitForEnd(Long));
      thread.Join();
      EXPECT_EQ(ConverterLink::ExceptionMsg(), "");
    }
    {
      Session session;
      std::string received;
      std::size_t largest = 0;
      Script() = [&](TcHandle buffer, TcCallback input) {
        for (std::size_t call = 0;; ++call) {
          TcBlockReAlloc(buffer, sizes[i][call % sizes[i].size()]);
          const std::int32_t n = input(0, 0);
          if (n <= 0) return n < 0 ? TcUserCancel : TcNoErr;
          EXPECT_LE(static_cast<std::size_t>(n), std::min<std::size_t>(4096, TcBlockSize(buffer)));
          largest = std::max(largest, static_cast<std::size_t>(n));
          received.append(static_cast<const char*>(TcBlockLock(buffer)), static_cast<std::size_t>(n));
          TcBlockUnlock(buffer);
        }
      };
      ConverterThread thread(session.Call(), ConverterThread::Export, session.exchange);
      for (std::size_t at = 0; at < text.size(); at += 3333) {
        ExchangeStream* stream = session.exchange.GetFreeStream();
        ASSERT_NE(stream, nullptr);
        stream->Write(text.data() + at, std::min<std::size_t>(3333, text.size() - at));
        session.exchange.QueueStream(stream);
      }
      session.exchange.QueueEmptyStream();
      ASSERT_TRUE(thread.WaitForEnd(Long));
      thread.Join();
      EXPECT_EQ(received, text) << i;
      EXPECT_GT(largest, 0u);
      EXPECT_TRUE(ConverterLink::EndReached());
    }
  }
}

// Two streams circulate: with both queued, a third request waits for a release (here its
// short wait runs out instead), and a release from the other thread satisfies it; Abort
// wakes a waiter of either side with null.
TEST(ConverterExchangeTest, TheThirdStreamWaitsForAReleaseAndAbortWakesWaitersWithNull) {
  {
    StreamManager exchange(milliseconds(30));
    ExchangeStream* first = exchange.GetFreeStream();
    ExchangeStream* second = exchange.GetFreeStream();
    first->Write("ab", 2);
    exchange.QueueStream(first);
    exchange.QueueStream(second);
    try {
      exchange.GetFreeStream();
      ADD_FAILURE() << "a third stream was handed out";
    } catch (const StreamError& e) {
      EXPECT_STREQ(e.what(), "Bad GetFree.  RC = 1");
    }
    // The time-out stopped the exchange for both sides; what was queued still drains.
    EXPECT_TRUE(exchange.Aborted());
    EXPECT_EQ(exchange.DequeueStream(), first);
    EXPECT_EQ(exchange.DequeueStream(), second);
    EXPECT_EQ(exchange.DequeueStream(), nullptr);
  }
  {
    StreamManager exchange(Long);
    ExchangeStream* first = exchange.GetFreeStream();
    exchange.QueueStream(exchange.GetFreeStream());
    std::atomic<ExchangeStream*> third{nullptr};
    std::thread producer([&] { third = exchange.GetFreeStream(); });
    ExchangeStream* ready = exchange.DequeueStream();
    exchange.ReleaseStream(ready);
    producer.join();
    EXPECT_EQ(third.load(), ready);
    exchange.ReleaseStream(first);
  }
  for (const bool consumerWaits : {true, false}) {
    StreamManager exchange(Long);
    if (!consumerWaits) {
      exchange.GetFreeStream();
      exchange.GetFreeStream();
    }
    std::atomic<bool> woke{false};
    ExchangeStream* got = reinterpret_cast<ExchangeStream*>(1);
    std::thread waiter([&] {
      got = consumerWaits ? exchange.DequeueStream() : exchange.GetFreeStream();
      woke = true;
    });
    exchange.Abort();
    waiter.join();
    EXPECT_TRUE(woke);
    EXPECT_EQ(got, nullptr);
  }
}

// Every way a conversion can end still delivers the end marker (or stops the editor's side),
// and ends the thread: no data, success, an error result (which never passes for success),
// an exception, a stop asked by the editor, a count the block cannot hold, an exporter that
// returns before the end, and a converter that stops delivering while the editor waits.
TEST(ConverterExchangeTest, EveryEndingReachesTheEditorAndEndsTheThread) {
  struct Case {
    const char* name;
    std::function<TcResult(TcHandle, TcCallback)> script;
    std::string delivered;
    std::string message;
  };
  const std::string text = Document(10000, 7);
  std::vector<Case> cases = {
      {"no data", [](TcHandle, TcCallback) { return TcNoErr; }, "", ""},
      {"success", [&](TcHandle b, TcCallback out) { return Produce(text, {999}, b, out); }, text, ""},
      {"error after one chunk",
       [&](TcHandle b, TcCallback out) {
         Produce(text.substr(0, 500), {500}, b, out);
         return TcReadErr;
       },
       text.substr(0, 500), "Error occurred during file conversion.  Code=-2"},
      {"exception", [](TcHandle, TcCallback) -> TcResult { throw std::runtime_error("x"); }, "",
       "Error occurred during file conversion."},
      {"count beyond the block",
       [](TcHandle b, TcCallback out) { return out(static_cast<std::int32_t>(TcBlockSize(b)) + 1, 0) < 0 ? TcUserCancel : TcNoErr; },
       "", "Error occurred during file conversion.  Code=-13"},
      {"negative count", [](TcHandle, TcCallback out) { return out(-5, 0) < 0 ? TcUserCancel : TcNoErr; }, "",
       "Error occurred during file conversion.  Code=-13"},
  };
  for (const Case& c : cases) {
    Session session;
    Script() = c.script;
    ConverterThread thread(session.Call(), ConverterThread::Import, session.exchange);
    bool marker = false;
    EXPECT_EQ(Consume(session.exchange, 4096, &marker), c.delivered) << c.name;
    EXPECT_TRUE(marker) << c.name;
    ASSERT_TRUE(thread.WaitForEnd(Long)) << c.name;
    thread.Join();
    EXPECT_EQ(ConverterLink::ExceptionMsg(), c.message) << c.name;
  }
  {
    // The editor stops (Esc): the converter's next request gets null, its callback stops it.
    Session session;
    std::atomic<int> stops{0};
    Script() = [&](TcHandle b, TcCallback out) {
      while (Produce(text, {100}, b, out) == TcNoErr) {
      }
      ++stops;
      return TcUserCancel;
    };
    ConverterThread thread(session.Call(), ConverterThread::Import, session.exchange);
    ExchangeStream* first = session.exchange.DequeueStream();
    ASSERT_NE(first, nullptr);
    session.exchange.Abort();
    session.exchange.ReleaseStream(first);
    ASSERT_TRUE(thread.WaitForEnd(Long));
    thread.Join();
    EXPECT_EQ(stops.load(), 1);
  }
  {
    // An exporter that returns after its first chunk: the editor, waiting for a free stream,
    // is woken with null instead of waiting out its time.
    Session session;
    Script() = [](TcHandle, TcCallback in) { return in(0, 0) > 0 ? TcNoErr : TcReadErr; };
    ConverterThread thread(session.Call(), ConverterThread::Export, session.exchange);
    int handedOver = 0;
    for (ExchangeStream* stream; (stream = session.exchange.GetFreeStream()) != nullptr; ++handedOver) {
      stream->Write(text.data(), 4096);
      session.exchange.QueueStream(stream);
    }
    session.exchange.QueueEmptyStream();
    EXPECT_LE(handedOver, 3);
    ASSERT_TRUE(thread.WaitForEnd(Long));
    thread.Join();
    EXPECT_FALSE(ConverterLink::EndReached());
  }
  {
    // The converter stops delivering: the editor's wait runs out with "Bad Dequeue.  RC = 1",
    // which aborts the exchange, so the converter's next request stops it too.
    Session session(milliseconds(50));
    Script() = [&](TcHandle b, TcCallback out) {
      while (!session.exchange.Aborted()) std::this_thread::yield();
      return Produce("late", {4}, b, out);
    };
    ConverterThread thread(session.Call(), ConverterThread::Import, session.exchange);
    try {
      session.exchange.DequeueStream();
      ADD_FAILURE() << "a stream arrived";
    } catch (const StreamError& e) {
      EXPECT_STREQ(e.what(), "Bad Dequeue.  RC = 1");
    }
    ASSERT_TRUE(thread.WaitForEnd(Long));
    thread.Join();
    EXPECT_EQ(ConverterLink::ExceptionMsg(), "Error occurred during file conversion.  Code=-13");
  }
}

// The import callback's progress: 64-bit arithmetic for totals far beyond 32 bits (a file
// of 3 MiB is estimated at 8 GB of RTF), capped at 100, and no percentage for a total of 0.
TEST(ConverterExchangeTest, ProgressOfLargeTotalsIsExactAndAZeroTotalGivesNone) {
  for (const std::int64_t size : {std::int64_t(0), std::int64_t(8000), std::int64_t(3) << 20}) {
    Session session;
    const std::int64_t total = std::max<std::int64_t>(0, size - 11) * 256000 / 100;
    const std::int64_t start = std::max<std::int64_t>(0, total - 2 * 4096);
    session.progress.wanted = true;
    session.progress.total = total;
    session.progress.done = start;
    Script() = [&](TcHandle b, TcCallback out) {
      for (std::int64_t done = start; done < start + 4 * 4096; done += 4096) {
        std::memset(TcBlockLock(b), 'x', 4096);
        TcBlockUnlock(b);
        if (out(4096, 0) < 0) return TcUserCancel;
        const std::int64_t expected = total > 0 ? std::min<std::int64_t>(100, (done * 100 + total / 2) / total) : -1;
        EXPECT_EQ(session.progress.percent.load(), expected) << size << " at " << done;
      }
      return TcNoErr;
    };
    ConverterThread thread(session.Call(), ConverterThread::Import, session.exchange);
    EXPECT_EQ(Consume(session.exchange, 65536).size(), 4u * 4096);
    ASSERT_TRUE(thread.WaitForEnd(Long));
    thread.Join();
    EXPECT_EQ(session.progress.done.load(), start + 4 * 4096);
  }
}
