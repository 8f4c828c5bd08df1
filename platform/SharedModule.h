#pragma once
// A shared library loaded at run time (dlopen), for modules the program finds by path.
// Failures come back as a status with the loader's own text; logging is the caller's.

#include <QString>

class SharedModule {
public:
  enum Status { Loaded, NotAbsolute, NotAFile, LoadFailed };

  SharedModule() = default;
  ~SharedModule();
  SharedModule(const SharedModule&) = delete;
  SharedModule& operator=(const SharedModule&) = delete;

  // Loads an absolute path to a regular file with every symbol bound at once and none of
  // them shared with later loads. Unloads what was loaded before.
  Status Load(const QString& path);
  // The address of an exported symbol; null (and ErrorText set) when there is none.
  void* Symbol(const char* name);
  void Unload();
  bool IsLoaded() const { return handle_ != nullptr; }
  // The loader's text for the last failure; empty after a success.
  const QString& ErrorText() const { return error_; }

private:
  void* handle_ = nullptr;
  QString error_;
};
