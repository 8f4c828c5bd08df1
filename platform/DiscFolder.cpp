#include "DiscFolder.h"

#include <sys/vfs.h>

namespace {
constexpr unsigned long iso9660Magic = 0x9660;
constexpr unsigned long udfMagic = 0x15013346;
}  // namespace

bool IsOnOpticalDisc(const QString& folder) {
  struct statfs info {};
  if (folder.isEmpty() || statfs(folder.toLocal8Bit().constData(), &info) != 0) return false;
  const auto type = static_cast<unsigned long>(info.f_type);
  return type == iso9660Magic || type == udfMagic;
}
