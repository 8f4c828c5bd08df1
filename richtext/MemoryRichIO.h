#pragma once
// The editor's document set aside in memory through the editor's own stream transfer, as
// RTF or as UTF-8 text. Loading and saving files is not its work.

#include "RichIO.h"

#include <QByteArray>

class RichEditWindow;

class MemoryRichIO : public RichIO {
public:
  explicit MemoryRichIO(RichEditWindow& editor) : editor_(editor) {}

  bool SaveToMemory(int docType) override;
  bool RestoreFromMemory() override;

private:
  RichEditWindow& editor_;
  QByteArray kept_;
  unsigned format_ = 0;
};
