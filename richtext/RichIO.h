#pragma once
// Loading and saving an editor's document, and setting it aside in memory while the
// editor changes mode. The editor creates one on first use (RichEdit20::GetIO).

class RichIO {
public:
  virtual ~RichIO() = default;

  // The document into memory: docType 1 as text, 2 as RTF. False when that failed.
  virtual bool SaveToMemory(int docType) = 0;
  // The document kept by the last SaveToMemory back into the editor.
  virtual bool RestoreFromMemory() = 0;

  // The kind of the last document loaded or stored (0 text, 1 RTF, ... 4 nothing yet).
  int lastDocType = 4;
};
