#pragma once
// A picture or object group of RTF kept as it was read: one position (U+FFFC) in the
// document whose format holds the group's bytes, written back unchanged, and its shown size.
// Until pictures are decoded it is drawn as a grey box of that size.

#include <QByteArray>
#include <QObject>
#include <QSize>
#include <QTextCharFormat>
#include <QTextObjectInterface>

class QTextDocument;

class KeptGroup : public QObject, public QTextObjectInterface {
  Q_OBJECT
  Q_INTERFACES(QTextObjectInterface)

public:
  static constexpr int ObjectType = QTextFormat::UserObject + 1;
  static constexpr int MaxSide = 32767;  // pixels

  // The format of a kept group's position: the character attributes around it plus the group.
  static void SetGroup(QTextCharFormat& format, const QByteArray& bytes, QSize size);
  static bool IsKept(const QTextCharFormat& format);
  static QByteArray Bytes(const QTextCharFormat& format);
  static QSize Size(const QTextCharFormat& format);

  // Lets the document lay out and draw its kept groups. Once per document.
  static void Install(QTextDocument* document);

  QSizeF intrinsicSize(QTextDocument* doc, int pos, const QTextFormat& format) override;
  void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* doc, int pos,
                  const QTextFormat& format) override;

private:
  explicit KeptGroup(QObject* parent) : QObject(parent) {}
};
