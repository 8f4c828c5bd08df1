#pragma once
// The program's help: one HTML document whose topics start at headings carrying one or
// more anchors, named by the topic's context number ("210") and/or its name ("Contents").
// A topic runs from its heading to the next heading.

#include <QHash>
#include <QString>

class HelpDocument {
public:
  // The document bundled with the program.
  static const HelpDocument& Bundled();

  explicit HelpDocument(const QString& html);

  const QString& Html() const { return html; }
  bool HasTopic(const QString& name) const { return topics.contains(name); }
  // The topic's HTML from its heading to the next; empty when there is no such topic.
  QString Topic(const QString& name) const;
  QString Title(const QString& name) const;
  QStringList TopicNames() const { return topics.keys(); }

private:
  struct Span {
    qsizetype start;
    qsizetype end;
    QString title;
  };
  QString html;
  QHash<QString, Span> topics;
};
