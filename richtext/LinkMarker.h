#pragma once
// Marks the web and mail addresses of a document as links (underlined, in the link colour)
// on the layout only: the document's formats and its modified flag stay as they are.

#include <QColor>
#include <QSyntaxHighlighter>

class LinkMarker : public QSyntaxHighlighter {
  Q_OBJECT
public:
  LinkMarker(QTextDocument* document, QColor linkColour);

protected:
  void highlightBlock(const QString& text) override;

private:
  QTextCharFormat format_;
};
