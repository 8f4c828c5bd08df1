#pragma once
// One sheet of the print preview: white paper on which a page source draws one page,
// scaled from its size at 100 % to the panel.

#include "PreviewNumbers.h"

#include <QWidget>

class PreviewRenderer;

class PreviewPage : public QWidget {
  Q_OBJECT
public:
  explicit PreviewPage(QWidget* parent = nullptr);

  void SetRenderer(PreviewRenderer* renderer) { renderer_ = renderer; }
  void SetCurrentPage(int page);
  int CurrentPage() const { return page_; }
  // A blank sheet draws nothing on its paper (there is no room to show a page).
  void SetBlank(bool blank);
  bool IsBlank() const { return blank_; }

  // The current printer's sheet.
  static PreviewNumbers::Sheet PrinterSheet();
  // The sheet in screen pixels at 100 %; empty when the printer reports no size.
  static QSize SheetPixels(const PreviewNumbers::Sheet& sheet, QSize screenDpi);

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  PreviewRenderer* renderer_ = nullptr;
  int page_ = 1;
  bool blank_ = false;
};
