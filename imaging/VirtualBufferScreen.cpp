// VirtualBuffer on screen and paper.

#include "VirtualBuffer.h"

#include "BufferPresenter.h"
#include "BufferPrinter.h"

void VirtualBuffer::Render(QWidget* control) const { RenderAt(control, 0, 0); }

void VirtualBuffer::RenderAt(QWidget* control, int px, int py) const {
  BufferPresenter::Present(Image(), control, px, py);
}

void VirtualBuffer::RenderPart(QWidget* control, const QRect& part) const {
  BufferPresenter::Present(Image(), control, 0, 0, part);
}

bool VirtualBuffer::Print(QWidget* owner) const { return BufferPrinter::Print(Image(), name, owner); }
