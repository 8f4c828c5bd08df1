// A text converter module for the tests. Its "foreign" files are a header line and RTF:
//   TVDOC <claim> <import> <chunk> <block>\n<rtf>
// claim: what IsFormatCorrect32 answers; import: how ForeignToRtf32 behaves (ok, error,
// throw, endless, hang, oversize); chunk: bytes per callback; block: the size the module
// gives the transfer block first (0 keeps it); a hanging import holds its thread for chunk
// milliseconds. The exporter writes "TVDOC 1 ok 4096 0\n" and the RTF it receives, so that
// what it wrote loads again, or for a ".htm" file the RTF inside a font tag; how it behaves
// is fixed when the module is built (TV_EXPORT: ok, error, throw, early; none leaves
// RtfToForeign32 out).

#include "richtext/textconv.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

struct Header {
  int claim = 0;
  std::string import;
  std::int32_t chunk = 4096;
  std::size_t block = 0;
  std::string rtf;
};

std::string Text(TcHandle handle) {
  const char* text = static_cast<const char*>(TcBlockLock(handle));
  std::string copy = text != nullptr ? text : "";
  TcBlockUnlock(handle);
  return copy;
}

bool ReadHeader(const std::string& path, Header& header) {
  std::ifstream file(path, std::ios::binary);
  std::string line;
  if (!file || !std::getline(file, line)) return false;
  std::istringstream fields(line);
  std::string magic;
  if (!(fields >> magic >> header.claim >> header.import >> header.chunk >> header.block) || magic != "TVDOC") return false;
  std::ostringstream rest;
  rest << file.rdbuf();
  header.rtf = rest.str();
  return header.chunk > 0;
}

// Hands text to the host chunk by chunk; false once the host said stop.
bool Deliver(const std::string& text, TcHandle buffer, std::int32_t chunk, TcCallback output) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t room = TcBlockSize(buffer);
    const std::size_t n = std::min({text.size() - at, static_cast<std::size_t>(chunk), room});
    std::memcpy(TcBlockLock(buffer), text.data() + at, n);
    TcBlockUnlock(buffer);
    if (output(static_cast<std::int32_t>(n), static_cast<std::int32_t>(100 * at / text.size())) < 0) return false;
    at += n;
  }
  return true;
}

[[maybe_unused]] TcResult Import(const Header& header, TcHandle buffer, TcCallback output) {
  if (header.block != 0 && !TcBlockReAlloc(buffer, header.block)) return TcNoMemory;
  if (header.import == "ok") return Deliver(header.rtf, buffer, header.chunk, output) ? TcNoErr : TcUserCancel;
  if (header.import == "error") {
    Deliver(header.rtf.substr(0, static_cast<std::size_t>(header.chunk)), buffer, header.chunk, output);
    return TcReadErr;
  }
  if (header.import == "throw") throw std::runtime_error("the test converter throws");
  if (header.import == "endless") {
    while (Deliver(header.rtf, buffer, header.chunk, output)) {
    }
    return TcUserCancel;
  }
  if (header.import == "hang") {
    // Holds its thread, without a word to the host, so that the host's waits run out.
    std::this_thread::sleep_for(std::chrono::milliseconds(header.chunk));
    return TcNoErr;
  }
  if (header.import == "oversize") return output(static_cast<std::int32_t>(TcBlockSize(buffer)) + 1, 0) < 0 ? TcUserCancel : TcNoErr;
  return TcInvalidFile;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) std::int32_t InitConverter32(void*, const char*) { return 1; }

__attribute__((visibility("default"))) TcResult IsFormatCorrect32(TcHandle file, TcHandle className) {
  Header header;
  if (!ReadHeader(Text(file), header)) return 0;
  char* name = static_cast<char*>(TcBlockLock(className));
  if (name != nullptr && TcBlockSize(className) > 6) std::strcpy(name, "TVDOC");
  TcBlockUnlock(className);
  return header.claim;
}

#ifndef TV_NO_IMPORT
__attribute__((visibility("default"))) TcResult ForeignToRtf32(TcHandle file, void*, TcHandle buffer, TcHandle,
                                                               TcHandle, TcCallback output) {
  const std::string path = Text(file);
  Header header;
  if (!ReadHeader(path, header)) return TcOpenInFileErr;
  return Import(header, buffer, output);
}
#endif

#ifndef TV_NO_EXPORT
__attribute__((visibility("default"))) TcResult RtfToForeign32(TcHandle file, void*, TcHandle buffer, TcHandle,
                                                               TcCallback input) {
  std::string rtf;
  for (;;) {
    const std::int32_t n = input(0, 0);
    if (n < 0) return TcUserCancel;
    if (n == 0) break;
    if (static_cast<std::size_t>(n) > TcBlockSize(buffer)) return TcInvalidDoc;
    rtf.append(static_cast<const char*>(TcBlockLock(buffer)), static_cast<std::size_t>(n));
    TcBlockUnlock(buffer);
    if (std::strcmp(TV_EXPORT, "error") == 0) return TcWriteErr;
    if (std::strcmp(TV_EXPORT, "throw") == 0) throw std::runtime_error("the test exporter throws");
    if (std::strcmp(TV_EXPORT, "early") == 0) break;
    // Odd block sizes: the host must read the size anew on every call.
    TcBlockReAlloc(buffer, 1000 + rtf.size() % 3000);
  }
  const std::string path = Text(file);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (path.size() > 4 && path.compare(path.size() - 4, 4, ".htm") == 0)
    out << "<HTML><BODY><FONT SIZE=2>" << rtf << "</FONT></BODY></HTML>";
  else
    out << "TVDOC 1 ok 4096 0\n" << rtf;
  return out ? TcNoErr : TcWriteErr;
}
#endif
}
