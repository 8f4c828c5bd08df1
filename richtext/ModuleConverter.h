#pragma once
// A text converter module (textconv.h) loaded from a shared library for one file: it is asked
// whether it accepts the file, and converts on a ConverterThread, exchanging RTF with the
// editor's stream callbacks through a StreamManager.

#include "ConverterLink.h"
#include "TextConverter.h"
#include "textconv.h"

#include <chrono>
#include <memory>

class ConverterThread;
class SharedModule;
class StreamManager;

class ModuleConverter : public TextConverter {
public:
  // How long one side of the exchange waits for the other.
  static inline std::chrono::milliseconds ExchangeWait{180000};

  ModuleConverter();
  ~ModuleConverter() override;

  int Prepare(const QString& modulePath, const QString& path, Type type, Direction direction) override;
  bool FormatIsCorrect() override;
  void Start(XferInfo& info, Direction direction) override;
  void EndOfData() override;
  QString Wait(int milliseconds) override;
  bool EndedNormally(unsigned long streamError) const override;

  // A zero-terminated UTF-8 copy of text in a new block; throws when memory is short.
  static TcHandle StrToGlobalStr(const QString& text);
  // A conversion never ended: its module and state stay as they are, and no other
  // conversion may start in this process (Prepare answers 2).
  static bool Stuck();

private:
  void LoadEntryPoints(Direction direction);
  static void RefuseWhileStuck(const QString& path);
  void CleanUp();
  void Abandon();

  std::unique_ptr<SharedModule> module_;
  TcInitConverter init_ = nullptr;
  TcIsFormatCorrect isFormatCorrect_ = nullptr;
  TcForeignToRtf foreignToRtf_ = nullptr;
  TcRtfToForeign rtfToForeign_ = nullptr;
  TcHandle buffer_ = nullptr;
  TcHandle className_ = nullptr;
  TcHandle subset_ = nullptr;
  TcHandle file_ = nullptr;
  std::unique_ptr<StreamManager> exchange_;
  std::unique_ptr<ConverterProgress> progress_;
  std::unique_ptr<ConverterThread> thread_;
  // The record of the running transfer, and its direction.
  XferInfo* info_ = nullptr;
  Direction direction_ = Import;
};
