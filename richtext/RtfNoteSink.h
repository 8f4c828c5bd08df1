#pragma once
// The document side of the RTF reader: collects runs of text in their attributes, kept
// groups, paragraph marks and table cells into a NoteBuilder, counting positions against
// the document cap. A paragraph mark is held back until something follows it, because the
// last \par of a whole document is the document's own final mark.

#include "NoteBuilder.h"
#include "NoteFormat.h"

#include <QByteArray>
#include <QSize>

#include <vector>

class RtfNoteSink {
public:
  // pictureBytes: what the note's pictures may decode to in all; those beyond are boxes.
  RtfNoteSink(qint64 maxPositions, qint64 pictureBytes) : max_(maxPositions), pictureBudget_(pictureBytes) {}
  void Reserve(qsizetype characters) { builder_.Reserve(characters); }

  // Text of one paragraph; characters that must not enter a document are cleaned out.
  void Text(const QString& text, const CharAttrs& attrs);
  void Object(const QByteArray& bytes, QSize size, const CharAttrs& attrs);
  void Paragraph(const ParaAttrs& para, const CharAttrs& mark);
  // A table row: cells are separated by tabs in one paragraph.
  void Cell(const CharAttrs& attrs);
  void Row(const ParaAttrs& para, const CharAttrs& mark);
  // whole: a mark still held back is the document's final one and adds no paragraph.
  void Finish(const ParaAttrs& para, bool whole);

  bool Full() const { return full_; }
  NoteBuilder TakeBuilder() { return std::move(builder_); }

private:
  void Before();
  void FlushRun();
  void PendingTab();
  void Count(qint64 positions);
  const QTextCharFormat& Format(const CharAttrs& attrs);
  const QTextBlockFormat& BlockFormat(const ParaAttrs& para);

  NoteBuilder builder_;
  QString run_;
  CharAttrs runAttrs_;
  bool pendingBreak_ = false;
  QTextBlockFormat pendingPara_;
  QTextCharFormat pendingMark_;
  bool pendingTab_ = false;  // a cell ended; its separator is due when another follows
  CharAttrs tabAttrs_;
  qint64 positions_ = 0;
  qint64 max_;
  qint64 pictureBudget_;  // decoded picture bytes left
  bool full_ = false;
  // A note uses a handful of looks over and over: each is made into a Qt format once.
  std::vector<std::pair<CharAttrs, QTextCharFormat>> charCache_;
  std::vector<std::pair<ParaAttrs, QTextBlockFormat>> blockCache_;
};
