#pragma once
// libjpeg's error exit ends in a longjmp back to the decoding or encoding call, never in
// exit() and never in a C++ exception through libjpeg's C frames. A warning of missing
// scan data or a missing restart marker ends the call as an error; other warnings are
// counted, not printed.

#include <QString>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

struct JpegErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;

  // Installs the manager on a compress or decompress object.
  void Install(j_common_ptr info);
  // "JPEG error #<code>" and libjpeg's text for the last message.
  static QString Describe(j_common_ptr info);
};
