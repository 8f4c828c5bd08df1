#pragma once
// The note editor control: the rich-edit window with its properties, dirty tracking,
// highlight and format-painting modes, clipboard operations, character and paragraph
// format objects, document input and output, printing, bookmark tables and the idle check
// of its gutter. Positions are character indices; a paragraph ends with "\r", a page
// break is "\f".

#include "BookmarkTable.h"
#include "RichEditWindow.h"

#include "Yelk/ChrArray.h"
#include "Yelk/HourGlass.h"
#include "Yelk/IntArray.h"
#include "controls/ClassColor.h"

#include <QCursor>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class Gutter;
class IdlerClient;
class RichFont;
class RichIO;
class RichParagraph;
class RichPrinter;
class LinkMarker;
class RichEditPopupMenu;

class RichEdit20 : public RichEditWindow {
  Q_OBJECT

public:
  using PaintModes = BYTE;  // 0 off, 1 character format, 2 paragraph format, 3 both
  using Event = std::function<void(QObject* sender)>;

  static inline int NextAvailableId = 0;
  static inline bool WordWrapDefault = true;
  static inline bool SuppressMissingLibMsg = false;
  // The screen cursors of the highlight and paint modes and of the gutter's bookmark jumps.
  static constexpr int HiLightCursor = 5555, PaintCursor = 5556, NextBookmarkCursor = 5557, PrevBookmarkCursor = 5558;
  static QCursor ScreenCursor(int number);

  // One replace-all on the editor's own undo stacks. A replace-all is one undo step of the
  // document, so no record is pushed; the stacks stay for their callers.
  struct ReplaceRecord {
    QString found, replacement;
    int lengthAfterUndo = 0, lengthAfterRedo = 0, lastPos = 0, firstEnd = 0, remaining = 0;
    bool matchCase = false;
  };

  explicit RichEdit20(QWidget* parent = nullptr);
  ~RichEdit20() override;

  // The editor is built in: always present, at the version whose behaviour it follows.
  static bool RichEdit20LibraryPresent() { return true; }
  int ReadVersion() { return RichEditVersion = 30; }
  static QString ReadVersionStr();

  Event OnSelectionMade, OnWholeWordSelected, OnGutterColorChange;

  // Gutter and bookmarks; their upkeep belongs to the gutter.
  int NewPageIcon = 0, BookmarkIcon = 0;
  int LastFirstLine = -1, LastLineCount = -1, LastTopY = -1;
  bool SelectionMarked = false;
  BookmarkTable Bookmarks{Note().Document()};
  IntArray ExternalBookmarks{"External Bookmarks"};
  int EditStart = 0, EditEnd = 0, EditLength = 0;
  std::vector<ReplaceRecord> ReplaceUndoStack, ReplaceRedoStack;
  bool GutterRefreshPending = false;
  bool InRedoReplace = false, InUndoReplace = false;
  bool LinkHit = false;
  QString LinkText;
  bool ContentChanged = false;
  bool PastingPlain = false, CopyOnSelect = false;
  int TabsAsSpaces = -1;
  bool ContextMenuSuppressed = false;

  // Accessors.
  int GetId() const { return id_; }
  RichFont* GetFont();
  RichParagraph* GetParagraph() { return richParagraph_.get(); }
  RichIO* GetIO();
  void ReleaseIO();
  RichPrinter* GetPrinter() { return richPrinter_.get(); }
  PaintModes GetPaintMode() const { return paintMode_; }
  bool InHiLightMode() const { return inHiLight_; }
  TColor GetHiLightColor() const { return hiLightColor_; }
  const CHARFORMAT2* SavedCharFormat() const { return savedCharFormat_.get(); }
  const PARAFORMAT2* SavedParaFormat() const { return savedParaFormat_.get(); }
  bool IsContinuedPaint() const { return continuedPaint_; }
  static std::unique_ptr<CHARFORMAT2> NewCharFormat() { return std::make_unique<CHARFORMAT2>(); }
  static PARAFORMAT2* NewParFormat(PARAFORMAT2* format);

  // Properties.
  TColor GetColor() const { return color_; }
  void SetColor(TColor colour);
  TColor GetGutterColor() const { return gutterColor_; }
  void SetGutterColor(TColor colour);
  bool GetGutterAutoColor() const { return gutterAutoColor_; }
  void SetGutterAutoColor(bool on);
  int GetGutterWidth() const { return gutterWidth_; }
  void SetGutterWidth(int width);
  bool GetGutterPresent() const { return gutterPresent_; }
  void SetGutterPresent(bool on);
  int GetRectLeftAdj() const { return rectLeftAdj_; }
  void SetRectLeftAdj(int pixels);
  void SetRectTopAdj(int pixels);
  void SetRectRightAdj(int pixels);
  void SetRectBottomAdj(int pixels);
  int GetMaxLength() const { return maxLength_; }
  void SetMaxLength(int limit);
  bool GetReadOnly() const { return readOnly_; }
  void SetReadOnly(bool on);
  bool GetTransparent() const { return transparent_; }
  void SetTransparent(bool on);
  bool GetAutoUrlDetect() const { return autoUrlDetect_; }
  void SetAutoUrlDetect(bool on);
  bool GetQuickClip() const { return quickClip_; }
  void SetQuickClip(bool on) { quickClip_ = on; }  // every mouse is taken to have a wheel
  void SetWholeWords(bool on);
  bool ReadWholeWords() const;
  bool GetAdvancedTypography() const { return advancedTypography_; }
  void SetAdvancedTypography(bool on);
  void ShowSelection(bool show);
  bool GetWordWrap() const { return wordWrap_; }
  void SetWordWrap(bool on);
  void SetPlainText(bool on);
  bool ReadPlainText();
  bool GetBorder() const { return border_; }
  bool GetScrollBarH() const { return scrollBarH_; }
  bool GetScrollBarV() const { return scrollBarV_; }
  bool GetHideSelection() const { return hideSelection_; }
  // True: the selection is not shown while the editor lacks the focus.
  void SetHideSelection(bool hide);

  // Dirty tracking.
  bool IsDirty() const;
  void ResetDirtyFlag();
  void EmptyUndoBuffer();

  // Highlight and paint modes.
  void BeginHiLightMode(TColor colour);
  void EndHiLightMode();
  void BeginPaintMode(PaintModes mode);
  void ContinuedPaintMode() { continuedPaint_ = true; }
  void EndPaintMode();
  void AbortAction_(QObject* sender);

  // Clipboard and editing.
  void Copy();
  void Cut();
  void Paste(bool plainOnly);
  bool CanPaste() const;
  bool CanPastePlain() const;
  void CopyAll();
  bool CanUndo() const { return EmCanUndo(); }
  bool CanRedo() const { return EmCanRedo(); }
  bool Undo();
  bool Redo();
  bool UndoReplaceAllCheck();
  bool RedoReplaceAllCheck();
  // The selection replaced; with matchFirstCase a lower-case first letter follows an
  // upper-case one it replaces.
  void ReplaceSel(const QString& text, bool canUndo, bool matchFirstCase);
  void Clear();
  void SetText(const QString& text, bool canUndo);
  void ClearReplaceUndoStack() { ReplaceUndoStack.clear(); }
  void ClearReplaceRedoStack() { ReplaceRedoStack.clear(); }
  void CheckEndFontBug();
  void AdjustFont(CHARRANGE& range);
  void AffirmRect();
  bool OnIdle();
  void CheckGutterIcons();

  // Bookmarks: ids of positions that follow the text. External ones are the user's, shown
  // in the gutter.
  int SetBookmark(int position);
  bool DeleteBookmark(int id);
  bool MoveBookmark(int id, int position);
  bool MoveToBookmark(int id);
  int GetBookmarkPos(int id) const { return Bookmarks.Get(id); }
  void SetExternalBookmark(int position);
  void DeleteExternalBookmark(int id);
  void DeleteAllExternalBookmarks();
  int GetBookmarkIdAt(int position) const;
  void GoToFirstBookmark();
  void GoToLastBookmark();
  void GoToNextBookmark();
  void GoToPreviousBookmark();
  // 0 none; 1 only before the caret, 2 only after it, 3 on both sides; 4 all at it.
  int GetRelBookmarkPos() const;
  std::unique_ptr<IntArray> GetVisibleBookmarks();
  void PrepareBookmarks() { PrepareBookmarks(GetSelection()); }
  void PrepareBookmarks(CHARRANGE edited);
  void UpdateBookmarks(bool afterUndoRedo);

  // Embedded objects: the platform has no object servers, so both end with error 5 and
  // insert nothing; the picture conversion of a JPEG file still runs.
  bool InsertObject();
  bool InsertObjectFile(const QString& path);
  bool GetNewStorage();

  // Page breaks and the gutter.
  std::unique_ptr<IntArray> GetPageBreakPositions();
  std::unique_ptr<IntArray> GetVisiblePageBreaks();
  void NewPage();
  void PositionsToVisibleDepths(IntArray& positions);
  void PopupGutterMenu();
  Gutter* GetGutter() const { return gutter_; }
  RichEditPopupMenu* PopupMenu() const { return popupMenu_; }

  // Find and replace.
  LONG FindText(const QString& text, LONG start, bool forward, bool matchCase, bool wholeWord, bool select, LONG range);
  int ReplaceAll(const QString& find, const QString& replace, LONG start, bool matchCase, bool wholeWord, bool forward,
                 LONG end);
  // Plain text: the selected lines gain or lose one indent unit.
  void IndentPlainText(bool outdent);

  // Text and position queries.
  LONG GetLength() const { return EmGetTextLengthEx(); }
  LONG GetLineCount() { return EmGetLineCount(); }
  LONG GetFirstVisibleLine() { return EmGetFirstVisibleLine(); }
  LONG GetLinePos(LONG line) { return EmLineIndex(line); }
  LONG GetLineLength(LONG line);
  LONG GetLineFromPos(LONG position) { return EmExLineFromChar(position); }
  LONG LineFromCharPos(LONG position) { return EmExLineFromChar(position); }
  CHARRANGE GetSelection() const { return EmExGetSel(); }
  void SetSelection(LONG start, LONG end) { EmExSetSel({start, end}); }
  void SetSelection(const CHARRANGE& range) { EmExSetSel(range); }
  LONG GetSelSize() const;
  // Raises the buffer's range error, copying nothing, when the selection and its
  // terminator do not fit.
  int GetSelText(ChrArray& buffer) const;
  QString GetSelText(int max) const;
  LONG GetCaretPos() const;
  // 0 at or past the end; below 0 the caret.
  QChar GetCharAt(LONG position) const;
  void ScrollToView() { EmScrollCaret(); }
  void GoToLine(LONG line);
  void GoToPage(int page);
  LONG CharPosFromPoint(QPoint point) { return EmCharFromPos(point); }
  LONG CharPosFromCursor();
  QPoint PointFromCharPos(LONG position) { return EmPosFromChar(position); }
  int GetLeftEdge() const;
  // The end is clamped to the text first; a negative start or one after the end gives no
  // characters. The buffer raises its range error, copying nothing, when they do not fit.
  int GetTextRange(LONG start, LONG end, ChrArray& buffer) const;
  std::unique_ptr<ChrArray> GetTextRange(LONG start, LONG end) const;
  QString GetTextRange(CHARRANGE range) const;
  CHARRANGE GetVisibleRange();
  bool LineIsVisible(LONG position);
  std::pair<LONG, LONG> GetCurrLineAndColumn(bool zeroBased);
  bool IsWholeWord(LONG start, LONG end) const;
  bool CurrSelIsWholeWord() const;
  CHARRANGE GetWholeSelection() const;
  LONG SelectPar(LONG position);
  void DeleteCurrLine();
  LONG GetSentencePos(LONG position);
  int GetWordCount();

  // The settings carried beside the text (page set-up, bookmarks, a note, word wrap) as
  // one text; applying an empty text changes nothing, an invalid one raises EReadError.
  QString ReadPersistentData();
  void SetPersistentData(const QString& text);

  // Set-up as the window is made; also run again by SetPlainText's re-creation.
  void InitialSetup(bool recreating);

protected:
  bool PasteTextOnly() const override { return PastingPlain; }
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;

private:
  CHARRANGE ClampedRange(LONG start, LONG end) const;
  bool GutterKey(QKeyEvent* event);
  // ReplaceSel's work on a range, leaving the selection and the view alone.
  LONG ReplaceText(CHARRANGE range, const QString& text, bool canUndo, bool matchFirstCase);
  void CreateGutter();
  void WatchContents(QTextDocument* document);
  bool PauseSearch(const bool& aborted, std::optional<HourGlass::Scope>& busy);
  QString IndentUnit() const;
  // Input: the message table's handlers.
  void ConnectInput();
  void MarkLinks();
  void EndEdit(bool afterUndoRedo);
  bool TabAsBlanks(QKeyEvent* event);
  bool ControlKey(QKeyEvent* event);
  bool LinkAtPoint(QPoint viewportPoint, CHARRANGE& range);
  void LinkNotify(QPoint viewportPoint);
  void QuickClipPress(QMouseEvent* event);
  void LeftButtonReleased();
  void ApplyAtRelease(bool selected, const std::function<void()>& apply);
  void SelectionChanged();
  void ScrollAction(int action);
  void ApplySelectionVisibility();
  void ShowContextMenu(QPoint global);

  Gutter* gutter_ = nullptr;
  RichEditPopupMenu* popupMenu_ = nullptr;
  QPointer<LinkMarker> linkMarker_;  // the document owns it
  std::vector<int> replacedBookmarks_;  // ids inside the selection an edit replaces
  quint64 contentRevision_ = 0, preparedRevision_ = 0;

  std::unique_ptr<RichFont> richFont_;
  std::unique_ptr<RichParagraph> richParagraph_;
  std::unique_ptr<RichIO> richIO_;
  std::unique_ptr<RichPrinter> richPrinter_;
  std::unique_ptr<IdlerClient> idler_;
  QString persistentNote_;  // kept for the client, only through the persistent data
  std::unique_ptr<CHARFORMAT2> savedCharFormat_;
  std::unique_ptr<PARAFORMAT2> savedParaFormat_;
  int id_;
  bool inHiLight_ = false;
  TColor hiLightColor_ = clNone;
  PaintModes paintMode_ = 0;
  bool dirty_ = false;
  int RichEditVersion = 0;
  bool continuedPaint_ = false;
  bool plainText_ = false;
  bool autoUrlDetect_ = false;
  bool quickClip_ = false;
  bool border_ = true;
  TColor color_ = clWindow;
  bool hideSelection_ = true;
  bool selectionShown_ = true;  // ShowSelection's word, over the focus rule
  bool multiline_ = true;
  int maxLength_ = 0;
  bool readOnly_ = false;
  bool scrollBarH_ = false;
  bool scrollBarV_ = true;
  bool wordWrap_ = true;
  TColor gutterColor_ = clBtnFace;
  bool gutterPresent_ = false;
  int gutterWidth_ = 25;
  bool gutterAutoColor_ = false;
  bool transparent_ = false;
  bool advancedTypography_ = false;
  int rectLeftAdj_ = 15, rectTopAdj_ = 5, rectRightAdj_ = 5, rectBottomAdj_ = 0;
};
