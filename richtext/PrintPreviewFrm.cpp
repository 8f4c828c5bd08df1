#include "PrintPreviewFrm.h"

#include "TPreviewForm.h"

PrintPreviewFrm::PrintPreviewFrm(QWidget* owner, int firstPage, int lastPage)
    : form_(std::make_unique<TPreviewForm>(owner, firstPage, lastPage)) {}

PrintPreviewFrm::~PrintPreviewFrm() = default;

void PrintPreviewFrm::SetRenderer(PreviewRenderer* renderer, bool showNavigation) {
  form_->SetRenderer(renderer, showNavigation);
}

int PrintPreviewFrm::ShowModal() { return form_->exec(); }

bool PrintPreviewFrm::ReadPrintRequest() const { return form_->PrintRequest(); }
