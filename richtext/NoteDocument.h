#pragma once
// The windowless document of the note editor: a QTextDocument with the positions, texts,
// undo, modified flag, text mode and text limit of the rich-edit control. The window side
// shows Document() and follows DocumentReplaced when a whole document is put in place.

#include "RichEditDefs.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class QTextCharFormat;
class QTextDocument;

class NoteDocument : public QObject {
  Q_OBJECT

public:
  static constexpr LONG NoLimit = 0x7FFFFFFF;

  explicit NoteDocument(QObject* parent = nullptr);
  ~NoteDocument() override;

  QTextDocument* Document() const { return document_.get(); }

  // Positions: one per UTF-16 code unit; the final paragraph mark is not counted.
  LONG GetLength() const;
  // end -1 (or past the length) is the length.
  QString GetText(LONG start, LONG end) const;
  QByteArray GetTextCp1252(LONG start, LONG end) const;

  // Replaces [start, end) by text in the control's characters. Without an undo step the
  // undo and redo history is dropped, since its positions no longer hold. The text limit
  // cuts what does not fit. The text takes the given format, or else the one at the range.
  // Answers the number of positions inserted.
  LONG ReplaceRange(LONG start, LONG end, const QString& text, bool canUndo, const QTextCharFormat* format = nullptr);

  bool IsModified() const;
  void SetModified(bool modified);
  bool CanUndo() const;
  bool CanRedo() const;
  bool Undo();
  bool Redo();
  void EmptyUndoBuffer();
  void SetUndoLimit(int limit) { undoLimit_ = limit; }  // kept only: Qt's history is unbounded
  int GetUndoLimit() const { return undoLimit_; }

  UINT GetTextMode() const { return textMode_; }
  // Refused (false) unless the document is empty.
  bool SetTextMode(UINT mode);
  LONG GetTextLimit() const { return textLimit_; }
  // 0 means the control's default of 64 K characters.
  void SetTextLimit(LONG limit);

  CHARRANGE GetSelection() const { return selection_; }
  void SetSelection(LONG start, LONG end);

  // Puts a whole document in place: unmodified, nothing to undo or redo, caret at 0.
  // Answers the document it replaced.
  std::unique_ptr<QTextDocument> Install(std::unique_ptr<QTextDocument> document);

signals:
  void DocumentReplaced(QTextDocument* document);

private:
  LONG Clamp(LONG position) const;

  std::unique_ptr<QTextDocument> document_;
  UINT textMode_ = TM_RICHTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE;
  LONG textLimit_ = NoLimit;
  int undoLimit_ = 100;
  CHARRANGE selection_;
};
