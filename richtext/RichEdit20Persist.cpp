// RichEdit20's persistent data: the printer's page set-up, the user's bookmarks, the
// client's note and the word wrap, as one RichPersist text.
#include "RichEdit20.h"

#include "RichPersist.h"
#include "RichPrinter.h"
#include "Yelk/TMsgLog.h"

#include <QStringList>

namespace {

void CopyFrom(RichPrinter& printer, RichPersist& persist) {
  persist.LMarg = printer.MarginLeft();
  persist.RMarg = printer.MarginRight();
  persist.TMarg = printer.MarginTop();
  persist.BMarg = printer.MarginBottom();
  persist.Equal = printer.equalMargins;
  persist.Orient = printer.GetDevMode().orientation;
  persist.Size = printer.GetDevMode().paperSize;
  persist.Rev = printer.reverseOrder;
  persist.Even = printer.evenOnly;
  persist.Odd = printer.oddOnly;
  persist.LHdr = printer.headerLeft;
  persist.MHdr = printer.headerMiddle;
  persist.RHdr = printer.headerRight;
  persist.LFtr = printer.footerLeft;
  persist.MFtr = printer.footerMiddle;
  persist.RFtr = printer.footerRight;
  persist.PrtHdr = printer.printHeader;
  persist.PrtFtr = printer.printFooter;
  persist.No1stHdr = !printer.headerOnFirstPage;
  persist.No1stFtr = !printer.footerOnFirstPage;
  persist.HdrMarg = printer.headerMargin;
  persist.FtrMarg = printer.footerMargin;
  persist.HdrFont = PersistFont::From(printer.HeaderFont());
  persist.HdrFont.color = printer.headerFontColor;
  persist.HdrFont.charset = printer.headerFontCharset;
}

void CopyTo(const RichPersist& persist, RichPrinter& printer) {
  // The margins as they are, then the flag: set one by one under the flag, all four would
  // take the last. Negative ones (not stored) change nothing.
  printer.ApplyMargins(QRect(QPoint(persist.LMarg, persist.TMarg), QPoint(persist.RMarg, persist.BMarg)));
  printer.equalMargins = persist.Equal;
  printer.reverseOrder = persist.Rev;
  printer.evenOnly = persist.Even;
  printer.oddOnly = persist.Odd;
  printer.headerLeft = persist.LHdr;
  printer.headerMiddle = persist.MHdr;
  printer.headerRight = persist.RHdr;
  printer.footerLeft = persist.LFtr;
  printer.footerMiddle = persist.MFtr;
  printer.footerRight = persist.RFtr;
  printer.printHeader = persist.PrtHdr;
  printer.printFooter = persist.PrtFtr;
  printer.headerOnFirstPage = !persist.No1stHdr;
  printer.footerOnFirstPage = !persist.No1stFtr;
  if (persist.HdrMarg >= 0) printer.headerMargin = persist.HdrMarg;
  if (persist.FtrMarg >= 0) printer.footerMargin = persist.FtrMarg;
  printer.SetHeaderFont(persist.HdrFont.ToFont());
  printer.headerFontColor = persist.HdrFont.color;
  printer.headerFontCharset = persist.HdrFont.charset;
  printer.SetDevModeData(persist.Size, persist.Orient);
}

}  // namespace

QString RichEdit20::ReadPersistentData() {
  RichPersist persist;
  if (richPrinter_) CopyFrom(*richPrinter_, persist);
  QStringList marks;
  for (int index = 0; index < ExternalBookmarks.Size(); ++index) {
    const int position = Bookmarks.Get(ExternalBookmarks.Get(index));
    if (position >= 0) marks << QString::number(position);
  }
  persist.Marks = marks.join(QLatin1Char(','));
  persist.Note = persistentNote_;
  persist.Wrap = GetWordWrap();
  return persist.ToText();
}

void RichEdit20::SetPersistentData(const QString& text) {
  if (text.isEmpty()) return;
  const RichPersist persist = RichPersist::FromText(text);
  if (richPrinter_) CopyTo(persist, *richPrinter_);
  if (!persist.Marks.isEmpty()) {
    const IntArray positions(IntArray::CommaList, persist.Marks, QStringLiteral("Marks"));
    for (int index = 0; index < positions.Size(); ++index) {
      // A negative position would mean the caret to SetExternalBookmark.
      if (positions.Get(index) < 0) {
        TMsgLog::Add(QStringLiteral("RichEdit20::SetPersistentData - bookmark position %1 skipped").arg(positions.Get(index)));
        continue;
      }
      SetExternalBookmark(positions.Get(index));
    }
  }
  persistentNote_ = persist.Note;
  SetWordWrap(persist.Wrap);
}
