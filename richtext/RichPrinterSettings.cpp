// The settings half of RichPrinter: margins, the printer settings that travel with the
// document, page-range rules, and headers and footers.
#include "RichPrinter.h"

#include "Printerfuncs.h"
#include "RichEdit20.h"
#include "Yelk/GenSwerr.h"
#include "Yelk/SystemUtils.h"
#include "Yelk/TMsgLog.h"
#include "platform/CurrentPrinter.h"
#include "platform/PrinterBackend.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

namespace {

// The first printer's settings, kept for every later editor of the process.
struct DefaultDevMode {
  bool inited = false;
  RichPrinter::DevMode settings;
  int printer = -1;
};

DefaultDevMode& Defaults() {
  static DefaultDevMode defaults;
  return defaults;
}

}  // namespace

RichPrinter::RichPrinter(RichEdit20& editor) : editor_(editor), headerFont_(QStringLiteral("Arial"), 8) {
  const bool metric = IsMetricLocale();
  marginTop_ = marginLeft_ = marginBottom_ = marginRight_ = metric ? 200 : 100;
  headerMargin = footerMargin = metric ? 100 : 50;
  ClearPagesInfo();
  InitDevMode();
}

void RichPrinter::InitDevMode() {
  DefaultDevMode& defaults = Defaults();
  const bool first = !defaults.inited;
  if (first) {
    defaults.inited = true;
    defaults.printer = CurrentPrinter::Backend().Index();
    try {
      defaults.settings = DevMode{true, Printerfuncs::GetPaperSize(), static_cast<short>(Printerfuncs::GetCollate() ? 1 : 0),
                                  static_cast<short>(Printerfuncs::GetLandscape() ? 2 : 1)};
    } catch (const EPrinter& error) {
      TMsgLog::Add(QStringLiteral("RichPrinter - no printer settings: %1").arg(QString::fromUtf8(error.what())));
    }
  }
  devMode_ = defaults.settings;
  if (first) return;
  if (CurrentPrinter::Backend().Index() == defaults.printer) {
    ApplyDevModeData(false);
    return;
  }
  try {
    Printerfuncs::SetPrinterIndex(-1);
  } catch (const EPrinter& error) {
    TMsgLog::Add(QStringLiteral("RichPrinter - default printer: %1").arg(QString::fromUtf8(error.what())));
  }
}

void RichPrinter::SetDevModeData(int paperSize, int orientation) {
  devMode_.paperSize = static_cast<short>(paperSize);
  devMode_.orientation = static_cast<short>(orientation);
  ApplyDevModeData(false);
}

void RichPrinter::ApplyDevModeData(bool updateStats) {
  if (devMode_.valid) {
    // Settings calls never fail: a printer that refuses them is only logged.
    try {
      Printerfuncs::SetPaperSize(devMode_.paperSize);
      Printerfuncs::SetCollate(devMode_.collate != 0);
      Printerfuncs::SetLandscape(devMode_.orientation == 2);
    } catch (const EPrinter& error) {
      TMsgLog::Add(QStringLiteral("RichPrinter::ApplyDevModeData - %1").arg(QString::fromUtf8(error.what())));
    }
  }
  if (updateStats) UpdatePageStats(true, true);
}

void RichPrinter::UpdatePageStats(bool count, bool current) {
  // A new count starts over: pages kept from a count cut short no longer hold.
  if (count) {
    needPageCount = true;
    countKept_ = false;
  }
  if (current) needCurrentPage = true;
}

void RichPrinter::ApplyMargins(const QRect& margins) {
  // A negative margin means "not set" and is ignored.
  if (margins.top() >= 0) marginTop_ = margins.top();
  if (margins.left() >= 0) marginLeft_ = margins.left();
  if (margins.bottom() >= 0) marginBottom_ = margins.bottom();
  if (margins.right() >= 0) marginRight_ = margins.right();
}

void RichPrinter::SetMargin(int& margin, int value) {
  if (value < 0 || value == margin) return;
  if (equalMargins)
    marginTop_ = marginLeft_ = marginBottom_ = marginRight_ = value;
  else
    margin = value;
}

void RichPrinter::SetMarginTop(int value) { SetMargin(marginTop_, value); }
void RichPrinter::SetMarginLeft(int value) { SetMargin(marginLeft_, value); }
void RichPrinter::SetMarginBottom(int value) { SetMargin(marginBottom_, value); }
void RichPrinter::SetMarginRight(int value) { SetMargin(marginRight_, value); }

qint64 RichPrinter::Twips(int margin) const { return qint64{margin} * 1440 / (IsMetricLocale() ? 254 : 100); }

int RichPrinter::AdjustEndPage(int page) {
  page = std::max(page, 1);
  if (!oddOnly && !evenOnly && !reverseOrder) return page;
  page = std::min(page, pageCount_ ? pageCount_ : GetPageCount());
  if ((oddOnly && page % 2 == 0) || (evenOnly && page % 2 == 1)) --page;
  return page;
}

QString RichPrinter::PageNumChk(const QString& text, int page) {
  QString out = text;
  const qsizetype at = out.indexOf(QStringLiteral("&p"));
  if (at >= 0) out.replace(at, 2, QString::number(page));
  return out;
}

bool RichPrinter::DecodeHeader(QString& text) {
  if (text.isEmpty() || text[0] != QChar(1)) return true;
  const int size = text.size() > 1 && text[1].isDigit() ? text[1].digitValue() : -1;
  if (size < 2 || size > text.size()) return false;
  text.remove(0, size);
  return true;
}

void RichPrinter::ApplyHeaderAndFooter() {
  if ((mode_ != PrintMode && mode_ != PreviewMode) || (!headerActive && !footerActive)) return;
  if (headerActive && (pageNo_ > 1 || headerOnFirstPage))
    DrawLine(device_.headerLine, headerLeft, headerMiddle, headerRight);
  if (footerActive && (pageNo_ > 1 || footerOnFirstPage))
    DrawLine(device_.pageHeight - device_.footerDistance - device_.textHeight, footerLeft, footerMiddle, footerRight);
}

void RichPrinter::DrawLine(int y, const QString& left, const QString& middle, const QString& right) {
  QPainter* painter = canvas_ ? canvas_ : sheetPainter_;
  if (!painter) return;
  painter->save();
  painter->setFont(QFont(headerFont_, printer_));
  // A system colour (top byte 0x80) is the window text's: the pen as it is.
  if ((headerFontColor & 0xFF000000) == 0)
    painter->setPen(QColor(headerFontColor & 0xFF, (headerFontColor >> 8) & 0xFF, (headerFontColor >> 16) & 0xFF));
  const QFontMetrics metrics(painter->font(), printer_);
  const int baseline = y + metrics.ascent();
  const int from = std::max(device_.textLeft, device_.offX);
  const QString texts[3] = {left, middle, right};
  for (int place = 0; place < 3; ++place) {
    QString text = texts[place];
    if (!DecodeHeader(text)) {
      // One report a pass: the same text comes back on every page.
      if (!headerReported_) GenSwerr(QStringLiteral("Invalid header encoding size"));
      else TMsgLog::Add(QStringLiteral("Invalid header encoding size"));
      headerReported_ = true;
    }
    if (text.isEmpty()) continue;
    text = PageNumChk(text, pageNo_);
    const int width = metrics.horizontalAdvance(text);
    const int x = place == 0 ? device_.textLeft : place == 1 ? from + (device_.textRight - from) / 2 - width / 2 : device_.textRight - width;
    painter->drawText(x, baseline, text);
  }
  painter->restore();
}
