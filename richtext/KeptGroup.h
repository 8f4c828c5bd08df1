#pragma once
// A picture or object group of RTF kept as it was read: one position (U+FFFC) in the
// document whose format holds the group's bytes, written back unchanged, and its shown size.
// Qt's image object draws it at that size: its decoded picture, or a grey box.

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
  // Shows the group through a picture of the document's instead of the box: the name of
  // an image resource, unique in the process so that pictures pasted from elsewhere keep theirs.
  static QString ShowPicture(QTextCharFormat& format);

  // Gives the document the grey box its kept groups are drawn with, and shows its pictures
  // fitted to the window. Cheap: no layout.
  static void Install(QTextDocument* document);
};
