#include "JpegErrorManager.h"

namespace {

[[noreturn]] void ErrorExit(j_common_ptr info) {
  auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
  std::longjmp(manager->jump, 1);
}

void OutputMessage(j_common_ptr) {}

// libjpeg goes on after scan data that a marker or the file's end cuts off and fills the
// rest of the picture grey: such a file is damaged, and its decode ends there. So does a
// file whose restart marker is missing where its restart interval puts one: the data of that
// interval is lost (an arithmetic-coded scan without data would otherwise be resynchronised,
// with a warning, at every block). Other warnings (stray bytes before a marker) leave a
// whole picture and are only counted.
void EmitMessage(j_common_ptr info, int level) {
  if (level >= 0) return;
  const int code = info->err->msg_code;
  if (code == JWRN_HIT_MARKER || code == JWRN_JPEG_EOF || code == JWRN_MUST_RESYNC) ErrorExit(info);
  ++info->err->num_warnings;
}

}  // namespace

void JpegErrorManager::Install(j_common_ptr info) {
  info->err = jpeg_std_error(&pub);
  pub.error_exit = ErrorExit;
  pub.output_message = OutputMessage;
  pub.emit_message = EmitMessage;
}

QString JpegErrorManager::Describe(j_common_ptr info) {
  char text[JMSG_LENGTH_MAX] = {};
  info->err->format_message(info, text);
  return QStringLiteral("JPEG error #%1 (%2)").arg(info->err->msg_code).arg(QString::fromLatin1(text));
}
