#include "MemoryRichIO.h"

#include "RichEditWindow.h"

#include <algorithm>
#include <cstring>

namespace {

struct Memory {
  QByteArray* bytes;
  qsizetype at = 0;
};

DWORD Write(DWORD_PTR cookie, BYTE* buffer, LONG cb, LONG* pcb) {
  auto* memory = reinterpret_cast<Memory*>(cookie);
  memory->bytes->append(reinterpret_cast<const char*>(buffer), cb);
  *pcb = cb;
  return 0;
}

DWORD Read(DWORD_PTR cookie, BYTE* buffer, LONG cb, LONG* pcb) {
  auto* memory = reinterpret_cast<Memory*>(cookie);
  const LONG n = static_cast<LONG>(std::min<qsizetype>(cb, memory->bytes->size() - memory->at));
  std::memcpy(buffer, memory->bytes->constData() + memory->at, static_cast<size_t>(n));
  memory->at += n;
  *pcb = n;
  return 0;
}

}  // namespace

bool MemoryRichIO::SaveToMemory(int docType) {
  format_ = docType == 1 ? (SF_TEXT | SF_USECODEPAGE | (CP_UTF8 << 16)) : SF_RTF;
  kept_.clear();
  Memory memory{&kept_};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&memory), 0, &Write};
  editor_.EmStreamOut(format_, stream);
  return stream.dwError == 0;
}

bool MemoryRichIO::RestoreFromMemory() {
  if (format_ == 0) return false;
  Memory memory{&kept_};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&memory), 0, &Read};
  editor_.EmStreamIn(format_, stream);
  return stream.dwError == 0;
}
