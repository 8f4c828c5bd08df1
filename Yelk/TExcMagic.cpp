#include "TExcMagic.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cxxabi.h>
#include <dlfcn.h>
#include <execinfo.h>
#include <memory>

namespace {
std::atomic<bool> enabled{false};

// Room for the frames of the recording itself (a sanitizer may add one of its own).
constexpr int spareFrames = 4;
constexpr int capturedFrames = TExcMagic::MaxFrames + spareFrames;

struct RecordedThrow {
  const void* thrown = nullptr;
  void* frames[capturedFrames] = {};
  int count = 0;
};
// The last few throws of each thread: a handler may catch one exception after others were
// thrown and caught while the stack unwound.
constexpr int remembered = 4;
thread_local RecordedThrow recorded[remembered];
thread_local int newest = -1;

QString Demangled(const char* name) {
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> plain(
      abi::__cxa_demangle(name, nullptr, nullptr, &status), &std::free);
  return QString::fromLocal8Bit(status == 0 && plain ? plain.get() : name);
}

// "name + 0x1f  (module)", or the bare address when the symbol is not exported.
QString Describe(void* address) {
  Dl_info info{};
  if (!dladdr(address, &info)) return QStringLiteral("0x%1").arg(quintptr(address), 0, 16);
  const QString module = info.dli_fname ? QString::fromLocal8Bit(info.dli_fname).section('/', -1)
                                        : QStringLiteral("?");
  if (!info.dli_sname) {
    const quintptr offset = quintptr(address) - quintptr(info.dli_fbase);
    return QStringLiteral("0x%1  (%2)").arg(offset, 0, 16).arg(module);
  }
  const quintptr offset = quintptr(address) - quintptr(info.dli_saddr);
  return QStringLiteral("%1 + 0x%2  (%3)").arg(Demangled(info.dli_sname)).arg(offset, 0, 16).arg(module);
}

// The frames after the one in `recorder` (the function that took the stack), less `skip`.
QStringList Describe(void* const* frames, int count, const void* recorder, int skip) {
  int first = 1;
  for (int i = 0; i < std::min(count, spareFrames); ++i) {
    Dl_info info{};
    if (dladdr(frames[i], &info) && info.dli_saddr == recorder) first = i + 1;
  }
  first += std::max(skip, 0);
  QStringList lines;
  for (int i = first; i < count && lines.size() < TExcMagic::MaxFrames; ++i)
    lines << QStringLiteral("#%1  %2").arg(lines.size()).arg(Describe(frames[i]));
  return lines;
}

using ThrowFunction = void (*)(void*, std::type_info*, void (*)(void*));
}  // namespace

// Every throw of the program passes here first: the stack is recorded while it still exists.
namespace __cxxabiv1 {
extern "C" void __cxa_throw(void* thrown, std::type_info* type, void (*destroy)(void*)) {
  if (enabled.load(std::memory_order_relaxed)) {
    newest = (newest + 1) % remembered;
    RecordedThrow& entry = recorded[newest];
    entry.thrown = thrown;
    entry.count = backtrace(entry.frames, capturedFrames);
  }
  static const auto realThrow = reinterpret_cast<ThrowFunction>(dlsym(RTLD_NEXT, "__cxa_throw"));
  if (!realThrow) std::abort();
  realThrow(thrown, type, destroy);
  __builtin_unreachable();
}
}  // namespace __cxxabiv1

TExcMagic* const Excmagic::ExceptionHook = [] {
  static TExcMagic hook;
  return &hook;
}();

void TExcMagic::SetEnabled(bool on) { enabled = on; }

bool TExcMagic::Enabled() const { return enabled; }

QStringList TExcMagic::StackOf(const void* thrown) {
  if (newest < 0) return {};
  const RecordedThrow* found = &recorded[newest];
  for (int age = 0; thrown && age < remembered; ++age) {
    const RecordedThrow& entry = recorded[(newest - age + remembered) % remembered];
    if (entry.thrown == thrown) {
      found = &entry;
      break;
    }
  }
  return Describe(found->frames, found->count, reinterpret_cast<const void*>(&__cxxabiv1::__cxa_throw), 0);
}

QStringList TExcMagic::CurrentStack(int skip) {
  constexpr int mostSkipped = 8;
  skip = std::clamp(skip, 0, mostSkipped);
  void* frames[capturedFrames + mostSkipped];
  const int count = backtrace(frames, capturedFrames + skip);
  return Describe(frames, count, reinterpret_cast<const void*>(&TExcMagic::CurrentStack), skip);
}

void TExcMagic::ClearRecorded() {
  for (RecordedThrow& entry : recorded) entry = RecordedThrow();
  newest = -1;
}
