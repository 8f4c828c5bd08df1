#pragma once
// A picture or object group of RTF kept as it was read: one position (U+FFFC) in the
// document whose format holds the group's bytes, written back unchanged, and its shown size.
// Until pictures are decoded it is drawn by Qt's image object as a grey box of that size.

#include <QByteArray>
#include <QSize>
#include <QTextCharFormat>

class QTextDocument;

class KeptGroup {
public:
  static constexpr int MaxSide = 32767;  // pixels

  // The format of a kept group's position: the character attributes around it plus the group.
  static void SetGroup(QTextCharFormat& format, const QByteArray& bytes, QSize size);
  static bool IsKept(const QTextCharFormat& format);
  static QByteArray Bytes(const QTextCharFormat& format);
  static QSize Size(const QTextCharFormat& format);

  // Gives the document the grey box its kept groups are drawn with. Cheap: no layout.
  static void Install(QTextDocument* document);
};
