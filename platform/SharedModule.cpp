#include "SharedModule.h"

#include <QFileInfo>

#include <dlfcn.h>

namespace {

// dlerror() is per thread and cleared by reading it.
QString TakeError() {
  const char* text = dlerror();
  return text != nullptr ? QString::fromLocal8Bit(text) : QString();
}

}  // namespace

SharedModule::~SharedModule() { Unload(); }

SharedModule::Status SharedModule::Load(const QString& path) {
  Unload();
  error_.clear();
  const QFileInfo info(path);
  if (path.isEmpty() || !info.isAbsolute()) {
    error_ = QStringLiteral("not an absolute path: ") + path;
    return NotAbsolute;
  }
  // A folder or a device must never reach the loader.
  if (!info.exists() || !info.isFile()) {
    error_ = QStringLiteral("not a regular file: ") + path;
    return NotAFile;
  }
  TakeError();
  handle_ = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    error_ = TakeError();
    return LoadFailed;
  }
  return Loaded;
}

void* SharedModule::Symbol(const char* name) {
  if (handle_ == nullptr) {
    error_ = QStringLiteral("no module loaded");
    return nullptr;
  }
  TakeError();
  void* address = dlsym(handle_, name);
  error_ = address != nullptr ? QString() : TakeError();
  if (address == nullptr && error_.isEmpty()) error_ = QStringLiteral("symbol is null: ") + QLatin1String(name);
  return address;
}

void SharedModule::Unload() {
  if (handle_ == nullptr) return;
  if (dlclose(handle_) != 0) error_ = TakeError();
  handle_ = nullptr;
}
