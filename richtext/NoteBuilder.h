#pragma once
// What a reader produced, as a list of inserts: text runs with their formats, kept groups
// and paragraph ends. Building a document from it is all the work any reader must do on
// Qt's side; the list is applied either to a fresh document or at a cursor of a shown one.

#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QImage>

#include <memory>
#include <vector>

class QTextCursor;
class QTextDocument;

class NoteBuilder {
public:
  // Text without paragraph marks.
  void AddText(QStringView text, const QTextCharFormat& format);
  // Text in the control's characters: CR, LF or CRLF end a paragraph, "\v" is a line break;
  // what must not enter a document is cleaned out first.
  void AddControlText(QStringView text, const QTextCharFormat& format, const QTextBlockFormat& paragraph);
  void AddObject(const QTextCharFormat& objectFormat);
  // A kept group shown through its decoded picture, which the document gets as a resource.
  void AddPicture(QTextCharFormat objectFormat, const QImage& picture);
  void EndParagraph(const QTextBlockFormat& paragraph, const QTextCharFormat& mark);
  // The format of the paragraph that is still open at the end.
  void SetLastParagraph(const QTextBlockFormat& paragraph) { last_ = paragraph; }

  // Room for about this much text, so that a long note is not copied as it grows.
  void Reserve(qsizetype characters) {
    text_.reserve(characters);
    ops_.reserve(static_cast<size_t>(characters / 32));
  }

  qsizetype Length() const { return length_; }
  bool IsEmpty() const { return ops_.empty(); }

  // A fresh document: no undo, unmodified, kept groups drawable.
  std::unique_ptr<QTextDocument> Build() const;
  // Inserts at the cursor, whose selection must be empty. The paragraphs ended here take
  // their formats; the open one keeps the format it had.
  void InsertAt(QTextCursor& cursor) const;

private:
  enum class Kind : unsigned char { Text, Object, Paragraph };
  struct Op {
    Kind kind;
    int format;  // char format; for a paragraph the mark's
    int block;   // paragraph only
    qsizetype from, length;
  };

  int CharFormatIndex(const QTextCharFormat& format);
  struct Survey {
    double worstHeight = 0;  // in the narrowest window, a line per character
    std::vector<qint64> tabWork;  // per paragraph in order, the open one last
  };
  Survey Measure() const;
  // Per paragraph: shown with the default tab stops.
  std::vector<bool> DefaultTabs(const std::vector<qint64>& tabWork) const;
  void Apply(QTextCursor& cursor, bool whole) const;
  void AddResources(QTextDocument* document) const;

  std::vector<Op> ops_;
  QString text_;
  std::vector<QTextCharFormat> charFormats_;
  std::vector<QTextBlockFormat> blockFormats_;
  std::vector<std::pair<QString, QImage>> pictures_;
  QTextBlockFormat last_;
  qsizetype length_ = 0;
};
