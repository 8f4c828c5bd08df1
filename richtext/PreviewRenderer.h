#pragma once
// A source of pages for the print preview.

class QPainter;

class PreviewRenderer {
public:
  virtual ~PreviewRenderer() = default;
  virtual int GetPageCount() = 0;
  // Draws one page (from 1) on the painter; answers the pages produced.
  virtual int Render(QPainter* painter, int page) = 0;
};
