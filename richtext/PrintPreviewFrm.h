#pragma once
// Runs the print preview over a page source: made with the range, given the source, shown
// modally; the caller then reads whether the user asked to print.

#include <memory>

class PreviewRenderer;
class QWidget;
class TPreviewForm;

class PrintPreviewFrm {
public:
  PrintPreviewFrm(QWidget* owner, int firstPage, int lastPage);
  ~PrintPreviewFrm();
  PrintPreviewFrm(const PrintPreviewFrm&) = delete;
  PrintPreviewFrm& operator=(const PrintPreviewFrm&) = delete;

  void SetRenderer(PreviewRenderer* renderer, bool showNavigation);
  int ShowModal();
  bool ReadPrintRequest() const;
  TPreviewForm* Form() const { return form_.get(); }

private:
  std::unique_ptr<TPreviewForm> form_;
};
