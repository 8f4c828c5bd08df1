#pragma once
// The body of an RTF stream: control words for what changes from run to run and from
// paragraph to paragraph, escaped text, kept groups and field groups. RtfWriter gives it
// the font and colour tables it has collected.

#include "NoteFormat.h"

#include <QByteArray>
#include <QList>
#include <QString>

class RtfRunWriter {
public:
  struct Font {
    QString face;
    int charSet = 0;
    int pitchFamily = 0;
    bool operator==(const Font&) const = default;
  };

  RtfRunWriter(QByteArray& out, const QList<Font>& fonts, const QList<QRgb>& colors, int symbolFont);

  static constexpr int NoPage = -1;  // Escape writes every non-ASCII character as \u

  static int FontIndex(const QList<Font>& fonts, const CharAttrs& attrs);
  static void Escape(QByteArray& out, const QString& text, int codePage, bool symbolFace, bool row);

  // A paragraph's words; `marker` is the text of its numbering marker.
  // A table row's start: its cell boundaries.
  void Row(const QList<int>& cells);
  void Paragraph(const ParaAttrs& para, bool first);
  void Marker(const ParaAttrs& para, const QString& marker);
  void Text(const QString& text, const CharAttrs& attrs, bool row);
  void Kept(const QByteArray& bytes, const CharAttrs& attrs);
  void EndParagraph(bool row);
  void CloseField();

private:
  void Word(const char* word);
  void Word(const char* word, int param);
  void Change(const CharAttrs& to);
  void Field(const CharAttrs& attrs);
  int ColorIndex(QRgb rgb) const;

  QByteArray& out_;
  const QList<Font>& fonts_;
  const QList<QRgb>& colors_;
  int symbolFont_;
  CharAttrs state_;
  CharAttrs saved_;  // the state outside the open field
  int openField_ = 0;
  bool delimit_;  // the last thing written was a control word
};
