#include "JpegErrorManager.h"

namespace {

[[noreturn]] void ErrorExit(j_common_ptr info) {
  auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
  std::longjmp(manager->jump, 1);
}

void OutputMessage(j_common_ptr) {}

}  // namespace

void JpegErrorManager::Install(j_common_ptr info) {
  info->err = jpeg_std_error(&pub);
  pub.error_exit = ErrorExit;
  pub.output_message = OutputMessage;
}

QString JpegErrorManager::Describe(j_common_ptr info) {
  char text[JMSG_LENGTH_MAX] = {};
  info->err->format_message(info, text);
  return QStringLiteral("JPEG error #%1 (%2)").arg(info->err->msg_code).arg(QString::fromLatin1(text));
}
