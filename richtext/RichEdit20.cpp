#include "RichEdit20.h"

#include "Gutter.h"
#include "RichFont.h"
#include "RichIO.h"
#include "RichParagraph.h"
#include "RichPrinter.h"
#include "platform/CurrentPrinter.h"

#include "Yelk/AbortRegister.h"
#include "Yelk/HourGlass.h"
#include "Yelk/IdlerClient.h"
#include "Yelk/IdlerServer.h"
#include "controls/Artwork.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScrollBar>

QCursor RichEdit20::ScreenCursor(int number) {
  switch (number) {
    case HiLightCursor: return Artwork::Cursor("cursors/HILIGHT");
    case PaintCursor: return Artwork::Cursor("cursors/PAINT");
    case NextBookmarkCursor: return Artwork::Cursor("cursors/NEXTBOOKMARK");
    case PrevBookmarkCursor: return Artwork::Cursor("cursors/PREVBOOKMARK");
    default: return QCursor(Qt::ArrowCursor);
  }
}

QString RichEdit20::ReadVersionStr() { return QStringLiteral("RichEd20.dll, version 3.0, ") + QLatin1String(qVersion()); }

RichEdit20::RichEdit20(QWidget* parent)
    : RichEditWindow(parent),
      richFont_(std::make_unique<RichFont>(*this)),
      richParagraph_(std::make_unique<RichParagraph>(*this)),
      id_(NextAvailableId++) {
  resize(185, 89);
  AbortRegister::AR().Register(this, [this](QObject* sender) { AbortAction_(sender); });
  connect(this, &RichEditWindow::Update, this, [this] {
    ContentChanged = true;
    if (richPrinter_ && richPrinter_->PageCountingEnabled()) {
      richPrinter_->GetIdleClient()->ResetMinIntervalTimer();
      richPrinter_->UpdatePageStats(true, true);
    }
  });
  WatchContents(Note().Document());
  ConnectInput();
  connect(&Note(), &NoteDocument::DocumentReplaced, this, [this](QTextDocument* document) {
    Bookmarks.Attach(document);
    WatchContents(document);
    MarkLinks();
  });

  idler_ = std::make_unique<IdlerClient>([this] { return OnIdle(); }, objectName().isEmpty() ? QStringLiteral("RichEdit20") : objectName());
  IdlerServer::IS().RegisterIdlerClient(idler_.get());
  InitialSetup(false);
  if (CurrentPrinter::Available()) richPrinter_ = std::make_unique<RichPrinter>(*this);
  dirty_ = false;
}

RichEdit20::~RichEdit20() {
  // The window's destructor lets go of the document, which still signals; the slots of this
  // part of the object must not hear it once it is gone.
  disconnect(this, nullptr, this, nullptr);
  verticalScrollBar()->disconnect(this);
  AbortRegister::AR().Deregister(this);
  idler_.reset();
  ReleaseIO();
}

PARAFORMAT2* RichEdit20::NewParFormat(PARAFORMAT2* format) {
  if (format == nullptr) return new PARAFORMAT2();
  *format = PARAFORMAT2();
  return format;
}

RichFont* RichEdit20::GetFont() {
  richFont_->SetMode(SCF_SELECTION);
  return richFont_.get();
}

RichIO* RichEdit20::GetIO() {
  if (!richIO_) richIO_ = std::make_unique<RichIO>(*this);
  return richIO_.get();
}

void RichEdit20::ReleaseIO() { richIO_.reset(); }

// ---- Set-up ----

void RichEdit20::InitialSetup(bool recreating) {
  static bool running = false;
  if (running) return;
  running = true;
  if (maxLength_ != 0) SetMaxLength(maxLength_);
  SetReadOnly(readOnly_);
  SetBorderStyle(border_);
  SetWordWrapStyle(wordWrap_);
  SetScrollBarStyle(!wordWrap_ && scrollBarH_, scrollBarV_ && multiline_);
  SetTransparentStyle(transparent_);
  SetColor(color_);
  if (gutterPresent_ || rectLeftAdj_ != 0 || rectTopAdj_ != 0 || rectRightAdj_ != 0 || rectBottomAdj_ != 0) AffirmRect();
  if (!recreating) SetGutterPresent(gutterPresent_);
  if (!recreating && gutter_ != nullptr)
    gutter_->UpdateIcon(NewPageIcon, std::make_unique<IntArray>(QStringLiteral("Gutter Positions")));
  if (!recreating) {
    Clear();
  } else {
    const std::vector<int> bookmarks = Bookmarks.Positions();
    const std::unique_ptr<IntArray> external = ExternalBookmarks.Clone();
    Clear();
    Bookmarks.Restore(bookmarks);
    for (int i = 0; i < external->Size(); ++i) ExternalBookmarks.Add(external->Get(i));
    if (plainText_) EmSetTextMode(TM_PLAINTEXT);
  }
  EmptyUndoBuffer();
  EmSetUndoLimit(10000);
  // A limit the caller set stays; only an unset one is lifted to the largest.
  if (maxLength_ == 0) EmExLimitText(NoteDocument::NoLimit);
  EmSetEventMask(ENM_SELCHANGE);
  if (advancedTypography_) SetAdvancedTypography(true);
  ApplySelectionVisibility();
  running = false;
}

void RichEdit20::AffirmRect() {
  const QRect client = ClientRect();
  RECT rect;
  rect.left = gutterPresent_ ? std::max(1, rectLeftAdj_) + gutterWidth_ : rectLeftAdj_;
  rect.top = rectTopAdj_;
  rect.right = client.width() - rectRightAdj_;
  rect.bottom = client.height() - rectBottomAdj_;
  EmSetRect(rect);
}

// ---- Properties ----

void RichEdit20::SetColor(TColor colour) {
  // A system colour is an index into the palette, never a colour of its own.
  EmSetBkgndColor(ClassColor::ToQColor(colour));
  color_ = colour;
  if (gutter_ != nullptr && gutterAutoColor_) gutter_->SetColor(colour);
}

void RichEdit20::SetGutterColor(TColor colour) {
  gutterColor_ = colour;
  if (gutter_ != nullptr && !gutterAutoColor_) gutter_->SetColor(colour);
}

void RichEdit20::SetGutterAutoColor(bool on) {
  gutterAutoColor_ = on;
  if (gutter_ != nullptr) gutter_->SetColor(on ? color_ : gutterColor_);
}

void RichEdit20::SetGutterWidth(int width) {
  gutterWidth_ = width;
  if (gutter_ != nullptr) gutter_->setFixedWidth(width);
  if (!gutterPresent_) return;
  SetGutterStrip(width);
  SetRectLeftAdj(rectLeftAdj_);
}

void RichEdit20::SetGutterPresent(bool on) {
  gutterPresent_ = on;
  SetGutterStrip(on ? gutterWidth_ : 0);
  if (on) {
    if (gutter_ == nullptr) CreateGutter();
    gutter_->show();
    GutterRefreshPending = true;
    gutter_->UpdatePosition();
  } else if (gutter_ != nullptr) {
    gutter_->hide();
  }
  SetRectLeftAdj(rectLeftAdj_);
}

void RichEdit20::resizeEvent(QResizeEvent* event) {
  RichEditWindow::resizeEvent(event);
  if (gutter_ != nullptr) gutter_->UpdatePosition();
  GutterRefreshPending = true;
}

void RichEdit20::WatchContents(QTextDocument* document) {
  connect(document, &QTextDocument::contentsChanged, this, [this] { ++contentRevision_; });
}

void RichEdit20::SetRectLeftAdj(int pixels) {
  rectLeftAdj_ = pixels;
  AffirmRect();
}

void RichEdit20::SetRectTopAdj(int pixels) {
  rectTopAdj_ = pixels;
  AffirmRect();
}

void RichEdit20::SetRectRightAdj(int pixels) {
  rectRightAdj_ = pixels;
  AffirmRect();
}

void RichEdit20::SetRectBottomAdj(int pixels) {
  rectBottomAdj_ = pixels;
  AffirmRect();
}

void RichEdit20::SetMaxLength(int limit) {
  EmExLimitText(limit);
  maxLength_ = EmGetLimitText();
}

void RichEdit20::SetReadOnly(bool on) {
  EndHiLightMode();
  EndPaintMode();
  if (EmSetReadOnly(on)) readOnly_ = on;
}

void RichEdit20::SetTransparent(bool on) {
  if (on == transparent_) return;
  transparent_ = on;
  SetTransparentStyle(on);
}

void RichEdit20::SetAutoUrlDetect(bool on) {
  DWORD mask = EmGetEventMask();
  autoUrlDetect_ = on;
  EmAutoUrlDetect(on);
  MarkLinks();
  if (on)
    mask |= ENM_LINK;
  else
    mask &= ~ENM_LINK;
  EmSetEventMask(mask);
}

void RichEdit20::SetWholeWords(bool on) {
  if (on)
    EmSetOptions(ECOOP_OR, ECO_AUTOWORDSELECTION);
  else
    EmSetOptions(ECOOP_AND, ~ECO_AUTOWORDSELECTION);
}

bool RichEdit20::ReadWholeWords() const { return (EmGetOptions() & ECO_AUTOWORDSELECTION) != 0; }

void RichEdit20::SetAdvancedTypography(bool) {
  // Whatever is asked, advanced typography is switched on, as the control of this version does.
  if (ReadVersion() < 30) return;
  EmSetTypographyOptions(TO_ADVANCEDTYPOGRAPHY, TO_ADVANCEDTYPOGRAPHY);
  advancedTypography_ = EmGetTypographyOptions() == TO_ADVANCEDTYPOGRAPHY;
}

void RichEdit20::ShowSelection(bool show) {
  selectionShown_ = show;
  ApplySelectionVisibility();
}

void RichEdit20::SetHideSelection(bool hide) {
  hideSelection_ = hide;
  ApplySelectionVisibility();
}

void RichEdit20::ApplySelectionVisibility() { EmHideSelection(!selectionShown_ || (hideSelection_ && !hasFocus())); }

void RichEdit20::SetWordWrap(bool on) {
  if (on == wordWrap_) return;
  scrollBarH_ = !on;
  wordWrap_ = on;
  const bool wasClean = !IsDirty();
  WmSetRedraw(false);
  const CHARRANGE selection = GetSelection();
  SetWordWrapStyle(on);
  SetScrollBarStyle(!on && scrollBarH_, scrollBarV_ && multiline_);
  SetSelection(selection);
  WmSetRedraw(true);
  if (wasClean)
    ResetDirtyFlag();
  else
    dirty_ = true;
}

bool RichEdit20::ReadPlainText() {
  plainText_ = (EmGetTextMode() & TM_PLAINTEXT) != 0;
  return plainText_;
}

void RichEdit20::SetPlainText(bool on) {
  if (ReadPlainText() == on) return;
  const bool wasDirty = IsDirty();
  const bool clean = GetLength() == 0 && !wasDirty;
  EndHiLightMode();
  EndPaintMode();
  ClearReplaceUndoStack();
  ClearReplaceRedoStack();
  // The text mode changes only on an empty document: the text is set aside and put back.
  GetIO()->SaveToMemory(plainText_ ? 1 : 2);
  Clear();
  if (!WordWrapDefault) {
    scrollBarH_ = on;
    wordWrap_ = !on;
    SetWordWrapStyle(wordWrap_);
    SetScrollBarStyle(!wordWrap_ && scrollBarH_, scrollBarV_ && multiline_);
  }
  EmSetTextMode(on ? TM_PLAINTEXT : TM_RICHTEXT);
  GetIO()->RestoreFromMemory();
  GutterRefreshPending = true;
  plainText_ = on;
  if (clean)
    ResetDirtyFlag();
  else if (wasDirty)
    dirty_ = true;
}

// ---- Dirty tracking ----

bool RichEdit20::IsDirty() const { return dirty_ || (CanUndo() && ContentChanged); }

void RichEdit20::ResetDirtyFlag() {
  EmSetModify(false);
  ContentChanged = false;
  dirty_ = false;
}

void RichEdit20::EmptyUndoBuffer() {
  // Emptying the history must not lose the dirty state it carried.
  dirty_ = IsDirty();
  EmEmptyUndoBuffer();
}

// ---- Highlight and paint modes ----

void RichEdit20::BeginHiLightMode(TColor colour) {
  EndPaintMode();
  inHiLight_ = true;
  viewport()->setCursor(ScreenCursor(HiLightCursor));
  hiLightColor_ = colour;
}

void RichEdit20::EndHiLightMode() {
  if (!inHiLight_) return;
  viewport()->update();
  viewport()->setCursor(Qt::IBeamCursor);
  inHiLight_ = false;
}

void RichEdit20::BeginPaintMode(PaintModes mode) {
  EndHiLightMode();
  paintMode_ = mode;
  viewport()->setCursor(ScreenCursor(PaintCursor));
  if (mode & 1) savedCharFormat_ = std::make_unique<CHARFORMAT2>(GetFont()->GetFormat());
  if (mode & 2) savedParaFormat_ = std::make_unique<PARAFORMAT2>(GetParagraph()->GetFormat());
}

void RichEdit20::EndPaintMode() {
  if (paintMode_ == 0) return;
  paintMode_ = 0;
  viewport()->setCursor(Qt::IBeamCursor);
  savedCharFormat_.reset();
  savedParaFormat_.reset();
  continuedPaint_ = false;
}

void RichEdit20::AbortAction_(QObject*) {
  EndHiLightMode();
  EndPaintMode();
}

// ---- Clipboard and editing ----

void RichEdit20::Copy() {
  EndHiLightMode();
  EndPaintMode();
  HourGlass::Scope busy;
  WmCopy();
}

void RichEdit20::Cut() {
  EndHiLightMode();
  EndPaintMode();
  HourGlass::Scope busy;
  WmCut();
}

void RichEdit20::Paste(bool plainOnly) {
  EndHiLightMode();
  EndPaintMode();
  HourGlass::Scope busy;
  PastingPlain = plainOnly;
  WmPaste();
  PastingPlain = false;
}

bool RichEdit20::CanPaste() const { return EmCanPaste(); }

bool RichEdit20::CanPastePlain() const {
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  return EmCanPaste() && mime != nullptr && mime->hasText();
}

void RichEdit20::CopyAll() {
  EndHiLightMode();
  EndPaintMode();
  WmSetRedraw(false);
  const CHARRANGE selection = GetSelection();
  const int x = horizontalScrollBar()->value(), y = verticalScrollBar()->value();
  SetSelection(0, -1);
  Copy();
  SetSelection(selection);
  horizontalScrollBar()->setValue(x);
  verticalScrollBar()->setValue(y);
  WmSetRedraw(true);
}

bool RichEdit20::Undo() {
  EndHiLightMode();
  EndPaintMode();
  PrepareBookmarks();
  const bool undone = EmUndo();
  UpdateBookmarks(true);
  GutterRefreshPending = true;
  UndoReplaceAllCheck();
  return undone;
}

bool RichEdit20::Redo() {
  PrepareBookmarks();
  const bool redone = EmRedo();
  UpdateBookmarks(true);
  GutterRefreshPending = true;
  RedoReplaceAllCheck();
  return redone;
}

void RichEdit20::ReplaceSel(const QString& text, bool canUndo, bool matchFirstCase) {
  const CHARRANGE selection = GetSelection();
  const LONG inserted = ReplaceText(selection, text, canUndo, matchFirstCase);
  SetSelection(selection.cpMin + inserted, selection.cpMin + inserted);
}

LONG RichEdit20::ReplaceText(CHARRANGE range, const QString& text, bool canUndo, bool matchFirstCase) {
  PrepareBookmarks(range);
  QString replacement = text;
  if (matchFirstCase && !text.isEmpty() && text[0] >= u'a' && text[0] <= u'z' && range.cpMin >= 0 &&
      range.cpMin < range.cpMax) {
    const QChar first = GetCharAt(range.cpMin);
    if (first >= u'A' && first <= u'Z') replacement[0] = text[0].toUpper();
  }
  const LONG inserted = ReplaceRange(range, replacement, canUndo);
  UpdateBookmarks(false);
  GutterRefreshPending = true;
  EndHiLightMode();
  EndPaintMode();
  return inserted;
}

void RichEdit20::Clear() {
  const bool wasEmpty = GetLength() == 0;
  WmSetRedraw(false);
  Bookmarks.Clear();
  ExternalBookmarks.Clear();
  ClearReplaceUndoStack();
  ClearReplaceRedoStack();
  SetSelection(0, -1);
  ReplaceSel(QString(), true, false);
  EndHiLightMode();
  EndPaintMode();
  // The history goes first, so that the empty paragraph itself takes the default format.
  EmptyUndoBuffer();
  richFont_->SetDefault(richFont_->InitialDefault());
  WmSetRedraw(true);
  if (GetIO()->lastDocType == 4)
    ResetDirtyFlag();
  else if (!wasEmpty)
    dirty_ = true;
}

void RichEdit20::SetText(const QString& text, bool canUndo) {
  Clear();
  ReplaceSel(text, canUndo, false);
}

void RichEdit20::CheckEndFontBug() {
  CHARRANGE selection = GetSelection();
  if (selection.cpMin != 0 && selection.cpMin == GetLength() && EmLineLength(selection.cpMin) == 0) AdjustFont(selection);
}

void RichEdit20::AdjustFont(CHARRANGE& range) {
  // An empty last line takes the format of the character before it.
  SetSelection(range.cpMin - 1, range.cpMin);
  const CHARFORMAT2 format = EmGetCharFormat(SCF_SELECTION);
  range.cpMax = range.cpMin;
  SetSelection(range);
  EmSetCharFormat(SCF_SELECTION, format);
}

bool RichEdit20::OnIdle() {
  CheckGutterIcons();
  return true;
}
