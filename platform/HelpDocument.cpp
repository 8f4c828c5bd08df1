#include "HelpDocument.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextDocumentFragment>

const HelpDocument& HelpDocument::Bundled() {
  static const HelpDocument document([] {
    QFile file(":/help/Help.html");
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  }());
  return document;
}

HelpDocument::HelpDocument(const QString& text) : html(text) {
  static const QRegularExpression heading(R"re(<h[1-3][^>]*>(.*?)</h[1-3]>)re",
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression anchor(R"re(<a\s+name\s*=\s*"([^"]+)"\s*>)re", QRegularExpression::CaseInsensitiveOption);
  const qsizetype bodyEnd = [&] {
    const qsizetype end = html.indexOf("</body>", 0, Qt::CaseInsensitive);
    return end < 0 ? html.size() : end;
  }();
  QList<QRegularExpressionMatch> headings;
  for (auto it = heading.globalMatch(html); it.hasNext();) headings << it.next();
  for (int i = 0; i < headings.size(); ++i) {
    const QRegularExpressionMatch& h = headings[i];
    const qsizetype end = i + 1 < headings.size() ? headings[i + 1].capturedStart() : bodyEnd;
    const QString title = QTextDocumentFragment::fromHtml(h.captured(1)).toPlainText().trimmed();
    for (auto names = anchor.globalMatch(h.captured(1)); names.hasNext();)
      topics.insert(names.next().captured(1), {h.capturedStart(), end, title});
  }
}

QString HelpDocument::Topic(const QString& name) const {
  const auto it = topics.find(name);
  return it == topics.end() ? QString() : html.mid(it->start, it->end - it->start);
}

QString HelpDocument::Title(const QString& name) const {
  const auto it = topics.find(name);
  return it == topics.end() ? QString() : it->title;
}
