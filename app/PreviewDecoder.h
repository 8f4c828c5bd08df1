#pragma once
// Decodes the open dialog's preview picture on a thread of its own, so that a picture that
// takes long to decode never holds up the dialog. Only the latest decode counts: starting
// another, Cancel or the decoder's end sets the older one's cancel check, and a result that
// comes back after that is dropped. The thread gets the file's bytes and gives back the
// thumbnail's pixels; the result comes to the main thread as a queued call, so no event runs
// inside a decode, and a decode whose dialog is gone hands nothing back.

#include "puzzle/Puzzle.h"

#include <QImage>
#include <QString>
#include <functional>
#include <memory>

class QObject;
struct PreviewJob;

class PreviewDecoder {
public:
  // The thumbnail, or a null image and the reason the picture was refused (empty when the
  // decoder gave none).
  using Done = std::function<void(const QImage& thumbnail, const QString& refusal)>;

  // Results are handed to the receiver's (the main) thread while it lives.
  explicit PreviewDecoder(QObject* receiver);
  ~PreviewDecoder();
  PreviewDecoder(const PreviewDecoder&) = delete;
  PreviewDecoder& operator=(const PreviewDecoder&) = delete;

  // Cancels the decode under way and starts one of the bytes, shrunk into a square box.
  void Start(Puzzle::PictureBytes source, int box, Done done);
  void Cancel();

  // Waits until every preview decode of the program has ended; the program does so before
  // it ends. Queued results are not run.
  static void WaitForAll();
  // Tests: called on the decoding thread with the picture's name each time the decode asks
  // its cancel check, before the check answers.
  static void SetCheckpoint(std::function<void(const QString& name)> checkpoint);

private:
  QObject* receiver_;
  std::shared_ptr<PreviewJob> job_;
};
