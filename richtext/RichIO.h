#pragma once
// Loading and saving an editor's document, and moving it, or an RTF fragment, between the
// editor and memory. All transfer goes through the editor's stream-in and stream-out with
// one pair of callbacks (RichIOTransfer.h). The editor creates one on first use
// (RichEdit20::GetIO) and owns it.

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class RichEdit20;
struct XferInfo;

class RichIO : public QObject {
public:
  using Progress = std::function<void(QObject* sender)>;

  explicit RichIO(RichEdit20& editor);
  ~RichIO() override;

  // The whole document as RTF, or as text in plain-text mode.
  virtual bool GetContent(QByteArray* out);
  // Replaces the document: RTF when the bytes begin with "{\rtf", else text.
  virtual bool SetContent(const QByteArray* in);
  // The document into memory: format 1 as text, 2 as RTF. False when that failed.
  virtual bool SaveToMemory(int format);
  // The document kept by the last SaveToMemory back into the editor; the copy is dropped.
  virtual bool RestoreFromMemory();
  // The header the editor writes before an RTF selection, computed once per process.
  virtual QString GetRtfPreamble();
  // An RTF fragment in place of the selection, as one undo step.
  virtual void InsertRtfSegment(const QString& text);

  static void ShowIOExceptionMsg(const QString& text);

  void SetOnProgress(Progress handler) { onProgress_ = std::move(handler); }
  int ProgressPercent() const { return progressPercent_; }

  // The kind of the last document loaded or stored (0 text, 1 RTF, ... 4 nothing yet).
  int lastDocType = 4;

protected:
  RichEdit20& editor_;

private:
  // Refuses (logged) a transfer that would start while one runs: the application is let in
  // between the chunks, and its timers still fire.
  struct Running;

  std::unique_ptr<QByteArray> memStream_;
  int memFormat_ = 2;
  bool aborted_ = false;
  int progressPercent_ = 0;
  Progress onProgress_;
  bool transferring_ = false;
};
