// Loading when memory runs out: the address space is limited while a picture loads, so
// that its large allocations fail as on a machine short of memory. Each is a refusal with
// a log line, never a crash. (The BMP reader's own memory is a row and a table of at most
// 256 KB, which the freed memory of earlier tests may already hold.)

#include "ImagingFixtures.h"
#include "JpegFixtureWriter.h"
#include "Yelk/TMsgLog.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/resource.h>

// Under AddressSanitizer a failed allocation must come back as null, as it does without.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }

namespace {

std::size_t AddressSpaceInUse() {
  QFile status("/proc/self/status");
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmSize:")) return line.mid(7).trimmed().split(' ').first().toULongLong() * 1024;
  return 0;
}

// While alive, the process may map only headroom bytes more than it has now.
class AddressSpaceLimit {
public:
  explicit AddressSpaceLimit(std::size_t headroom) {
    getrlimit(RLIMIT_AS, &old);
    rlimit lower = old;
    lower.rlim_cur = AddressSpaceInUse() + headroom;
    applied = lower.rlim_cur > headroom && lower.rlim_cur < old.rlim_max && setrlimit(RLIMIT_AS, &lower) == 0;
  }
  ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &old); }
  rlimit old{};
  bool applied = false;
};

bool LastLineSays(const char* text) { return TMsgLog::Lines().last().contains(text); }

}  // namespace

TEST(OutOfMemory, ThePictureOrLibjpegFailingToGetMemoryIsARefusal) {
  // The picture's own memory: a 16384 × 16384 picture (1 GB) in 64 MB.
  {
    AddressSpaceLimit limit(64 << 20);
    ASSERT_TRUE(limit.applied);
    VirtualBuffer huge(16384, 16384, "huge", VirtualBuffer::Uncleared{});
    EXPECT_TRUE(huge.IsEmpty());
    EXPECT_TRUE(LastLineSays("out of memory")) << TMsgLog::Lines().last().toStdString();
  }
  // libjpeg's: a progressive 6000 × 6000 frame keeps about 100 MB of coefficients.
  QByteArray progressive = JpegFixtureWriter::Write(ImagingFixtures::ColourfulImage(16, 16), {JpegFixtureWriter::Kind::YCbCr, true});
  progressive.replace(progressive.indexOf("\xFF\xC2") + 5, 4, QByteArray("\x17\x70\x17\x70", 4));
  VirtualBuffer large(6000, 6000, "large", VirtualBuffer::Uncleared{});
  ASSERT_FALSE(large.IsEmpty());
  {
    AddressSpaceLimit limit(32 << 20);
    EXPECT_FALSE(ImagingFixtures::ReadBytes(progressive, large, VirtualBuffer::JpegMode));
    EXPECT_TRUE(LastLineSays("Insufficient memory")) << TMsgLog::Lines().last().toStdString();
  }
}
