#pragma once
// The window side of the note editor: a QTextEdit over a NoteDocument that answers the edit
// messages of the rich-edit control, one method per message (EM_EXGETSEL is EmExGetSel).
// Positions are the document's; points are client coordinates: the contents rectangle
// inside the frame, the gutter's strip included. The formatting rectangle's insets are
// viewport margins; the gutter's strip is the first part of the left one, and the rest of
// the left inset is the selection bar, which selects whole lines.

#include "DisplayLines.h"
#include "NoteDocument.h"
#include "NoteFormat.h"
#include "PageFormatter.h"
#include "RichEditDefs.h"

#include <QPoint>
#include <QTextEdit>

class RichEditWindow : public QTextEdit {
  Q_OBJECT

public:
  explicit RichEditWindow(QWidget* parent = nullptr);
  ~RichEditWindow() override;

  NoteDocument& Note() { return note_; }
  const NoteDocument& Note() const { return note_; }

  // Selection and editing.
  CHARRANGE EmExGetSel() const;
  // (0, -1) selects all; a start of -1 puts the caret at the end, an end of -1 is the end.
  void EmExSetSel(CHARRANGE range);
  // In the format at the selection's start; works in a read-only window too.
  LONG EmReplaceSel(const QString& text, bool canUndo);
  // The same for a range, leaving the selection and the view alone; answers the positions inserted.
  LONG ReplaceRange(CHARRANGE range, const QString& text, bool canUndo);
  QString EmGetSelText() const;
  QString EmGetTextRange(LONG start, LONG end) const;
  LONG EmGetTextLengthEx() const { return note_.GetLength(); }
  // Lays out range.chrg into range.rc with range.hdcTarget as the layout device; see PageFormatter.
  LONG EmFormatRange(FORMATRANGE& range, bool draw) const { return pages_.Format(*note_.Document(), range, draw); }
  // Forgets the layout EmFormatRange keeps between passes (an edit does it too).
  void EmptyPrintLayout() const { pages_.Clear(); }
  bool EmUndo();
  bool EmRedo();
  bool EmCanUndo() const { return note_.CanUndo(); }
  bool EmCanRedo() const { return note_.CanRedo(); }
  void EmEmptyUndoBuffer() { note_.EmptyUndoBuffer(); }
  void EmSetUndoLimit(int limit) { note_.SetUndoLimit(limit); }
  bool EmGetModify() const { return note_.IsModified(); }
  void EmSetModify(bool modified) { note_.SetModified(modified); }
  // The user cannot edit; code can, and selecting and copying stay.
  bool EmSetReadOnly(bool readOnly);
  UINT EmGetTextMode() const { return note_.GetTextMode(); }
  bool EmSetTextMode(UINT mode) { return note_.SetTextMode(mode); }
  void EmExLimitText(LONG limit) { note_.SetTextLimit(limit); }
  LONG EmGetLimitText() const { return note_.GetTextLimit(); }
  DWORD EmSetOptions(UINT operation, DWORD options);
  DWORD EmGetOptions() const { return options_; }
  bool EmSetTypographyOptions(UINT options, UINT mask);
  UINT EmGetTypographyOptions() const { return typography_; }
  DWORD EmSetEventMask(DWORD mask);
  DWORD EmGetEventMask() const { return eventMask_; }
  // Only kept: links are found elsewhere.
  void EmAutoUrlDetect(bool on) { autoUrlDetect_ = on; }
  bool EmGetAutoUrlDetect() const { return autoUrlDetect_; }
  bool EmCanPaste() const;
  void WmCopy();
  void WmCut();
  // Refused in a read-only window.
  void WmPaste();

  // View.
  void EmSetBkgndColor(const QColor& color);
  void EmHideSelection(bool hide);
  void WmSetRedraw(bool on);
  void SetWordWrapStyle(bool wrap);
  void SetBorderStyle(bool border);
  void SetScrollBarStyle(bool horizontal, bool vertical);
  void SetTransparentStyle(bool transparent);
  // The formatting rectangle in client coordinates; the gutter's strip is the part of the
  // left inset that belongs to the gutter, not to the text.
  void EmSetRect(const RECT& rect);
  RECT EmGetRect() const;
  void SetGutterStrip(int width);
  int GutterStrip() const { return gutterStrip_; }
  QRect ClientRect() const;

  // Display lines.
  LONG EmGetLineCount();
  // -1 is the caret's line; -1 answers a line past the last.
  LONG EmLineIndex(LONG line);
  // The length of the line holding the position, without its paragraph mark; -1 the caret's.
  LONG EmLineLength(LONG position);
  LONG EmExLineFromChar(LONG position);
  LONG EmGetFirstVisibleLine();
  void EmLineScroll(int characters, int lines);

  // Geometry.
  QPoint EmPosFromChar(LONG position);
  LONG EmCharFromPos(QPoint point);
  void EmScrollCaret();

  // Formats. SCF_SELECTION, SCF_WORD | SCF_SELECTION, SCF_ALL, SCF_DEFAULT.
  CHARFORMAT2 EmGetCharFormat(UINT scope);
  bool EmSetCharFormat(UINT scope, const CHARFORMAT2& record);
  PARAFORMAT2 EmGetParaFormat();
  bool EmSetParaFormat(const PARAFORMAT2& record);

  // Stream transfer (NoteStream's contract).
  LONG EmStreamIn(UINT format, EDITSTREAM& stream);
  LONG EmStreamOut(UINT format, EDITSTREAM& stream);

signals:
  // EN_SELCHANGE, while the event mask asks for it.
  void SelChange(const SELCHANGE& change);
  // EN_UPDATE: after every change of content or format, whatever the mask.
  void Update();

protected:
  // A paste that takes only the clipboard's text.
  virtual bool PasteTextOnly() const { return false; }
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool event(QEvent* event) override;
  QMimeData* createMimeDataFromSelection() const override;
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;

private:
  void AttachDocument(QTextDocument* document);
  // Wraps anywhere while the text holds a word too long to break at word boundaries.
  void FollowLongWords(int from, int removed, int added);
  void SelectionMoved();
  void ApplyInsets();
  void ApplyDefaultToEmpty();
  CHARRANGE WordAt(LONG position) const;
  // Client point to document point and back.
  QPointF ToDocument(QPoint client) const;
  QPoint FromDocument(QPointF point) const;
  // The top-left corner of a position's cell, in document coordinates.
  QPointF CharCell(LONG position) const;
  // The selection bar: presses in the left inset select display lines.
  bool InSelectionBar(QPoint client) const;
  CHARRANGE LineAtPoint(QPoint client);
  void SelectionBarPress(QPoint client);
  void SelectionBarDrag(QPoint client);
  void AutoWordDrag();
  void PaintMarkers(QPainter& painter, const QRect& area);

  NoteDocument note_;
  mutable PageFormatter pages_;  // the printed layout, kept between passes
  DisplayLines lines_;
  CharAttrs defaultChar_;
  DWORD eventMask_ = ENM_NONE;
  DWORD options_ = ECO_SELECTIONBAR;
  UINT typography_ = 0;
  bool autoUrlDetect_ = false;
  bool transparent_ = false;
  RECT insets_;          // formatting rectangle's insets from the client rectangle
  int gutterStrip_ = 0;  // of the left inset
  CHARRANGE lastSelection_;
  QColor bgColor_;
  CHARRANGE barAnchor_;      // the line where a selection-bar drag started
  bool barDragging_ = false;
  LONG dragAnchor_ = -1;     // position where a text drag started
};
