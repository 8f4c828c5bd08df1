#include "LinkMarker.h"

#include "WebLink.h"

LinkMarker::LinkMarker(QTextDocument* document, QColor linkColour) : QSyntaxHighlighter(document) {
  format_.setForeground(linkColour);
  format_.setFontUnderline(true);
}

void LinkMarker::highlightBlock(const QString& text) {
  for (const WebLink& link : FindWebLinks(text)) setFormat(link.start, link.end - link.start, format_);
}
