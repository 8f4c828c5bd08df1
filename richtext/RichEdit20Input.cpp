// The editor's keyboard and mouse: tabs as blanks, the Ctrl shortcuts, bookmark upkeep
// around every edit, selection events, highlight and format painting on release, link
// opening, the middle button's quick clip and the context menu at the right button's release.

#include "RichEdit20.h"

#include "Gutter.h"
#include "LinkMarker.h"
#include "RichEditPopupMenu.h"
#include "RichFont.h"
#include "RichParagraph.h"
#include "RichPrinter.h"
#include "WebLink.h"

#include "Yelk/DesktopUtils.h"

#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>

// ---- Keyboard ----

void RichEdit20::EndEdit(bool afterUndoRedo) {
  UpdateBookmarks(afterUndoRedo);
  GutterRefreshPending = true;
  EndHiLightMode();
  EndPaintMode();
}

// Tab in plain text with TabsAsSpaces set: blanks to the next stop (fixed-width fonts) or
// TabsAsSpaces of them. Zero keeps the tab, as a negative count does.
bool RichEdit20::TabAsBlanks(QKeyEvent* event) {
  if ((event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab) || TabsAsSpaces <= 0 || isReadOnly() ||
      !ReadPlainText())
    return false;
  event->accept();
  const Qt::KeyboardModifiers held = event->modifiers();
  if ((held & Qt::ShiftModifier) && (held & Qt::ControlModifier)) return true;
  int count = TabsAsSpaces;
  if (GetFont()->ReadFixedWidth()) count -= GetCurrLineAndColumn(true).second % TabsAsSpaces;
  PrepareBookmarks();
  ReplaceSel(QString(count, QLatin1Char(' ')), true, false);
  EndEdit(false);
  return true;
}

// Ctrl+Y, Ctrl+Z and Ctrl+Shift+Z, read from the key and Ctrl rather than the key's text.
bool RichEdit20::ControlKey(QKeyEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier) || (event->modifiers() & Qt::AltModifier)) return false;
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  switch (event->key()) {
    case Qt::Key_Y:
      if (isReadOnly()) break;
      PrepareBookmarks();
      DeleteCurrLine();
      EndEdit(true);
      break;
    case Qt::Key_Z:
      if (isReadOnly()) break;
      if (shift)
        Redo();
      else
        Undo();
      EndHiLightMode();
      EndPaintMode();
      break;
    default: return false;
  }
  event->accept();
  return true;
}

void RichEdit20::keyPressEvent(QKeyEvent* event) {
  if (GutterKey(event) || TabAsBlanks(event) || ControlKey(event)) return;
  const int key = event->key();
  const bool cutOrPaste = (event->modifiers() & Qt::ControlModifier) && (key == Qt::Key_V || key == Qt::Key_X);
  const CHARRANGE before = GetSelection();
  const qint64 revision = contentRevision_;
  PrepareBookmarks();
  RichEditWindow::keyPressEvent(event);
  const bool moved = key >= Qt::Key_Home && key <= Qt::Key_PageDown;
  if (moved) {
    if (CopyOnSelect && (event->modifiers() & Qt::ShiftModifier) && GetSelSize() > 0) Copy();
    CheckEndFontBug();
  }
  if (key == Qt::Key_Delete) {
    UpdateBookmarks(false);
    CheckEndFontBug();
    EndHiLightMode();
    EndPaintMode();
  } else if (cutOrPaste) {
    EndEdit(false);
  } else if (!moved && (revision != qint64(contentRevision_) || before.cpMin != before.cpMax || !event->text().isEmpty())) {
    UpdateBookmarks(false);
    if (revision != qint64(contentRevision_)) ClearReplaceRedoStack();
    GutterRefreshPending = GutterRefreshPending || Bookmarks.Size() > 0;
    EndHiLightMode();
    EndPaintMode();
  }
}

void RichEdit20::keyReleaseEvent(QKeyEvent* event) {
  // The menu key's release is swallowed: no context menu opens from the keyboard.
  if (event->key() == Qt::Key_Menu) {
    event->accept();
    return;
  }
  RichEditWindow::keyReleaseEvent(event);
}

void RichEdit20::inputMethodEvent(QInputMethodEvent* event) {
  PrepareBookmarks();
  RichEditWindow::inputMethodEvent(event);
  EndEdit(false);
}

void RichEdit20::insertFromMimeData(const QMimeData* source) {
  // Every paste, drop and selection paste ends as an edit.
  PrepareBookmarks();
  RichEditWindow::insertFromMimeData(source);
  EndEdit(false);
  if (!hasFocus()) setFocus(Qt::OtherFocusReason);
}

void RichEdit20::focusInEvent(QFocusEvent* event) {
  RichEditWindow::focusInEvent(event);
  ApplySelectionVisibility();
  // Another editor may have changed the shared printer's paper meanwhile.
  if (richPrinter_ && richPrinter_->PageCountingEnabled()) richPrinter_->ApplyDevModeData(true);
}

void RichEdit20::focusOutEvent(QFocusEvent* event) {
  EndHiLightMode();
  EndPaintMode();
  RichEditWindow::focusOutEvent(event);
  ApplySelectionVisibility();
}

// ---- Mouse ----

// EN_LINK's hit test: the detected link under the point, while detection and ENM_LINK are on.
bool RichEdit20::LinkAtPoint(QPoint viewportPoint, CHARRANGE& range) {
  if (!EmGetAutoUrlDetect() || !(EmGetEventMask() & ENM_LINK)) return false;
  const QPointF documentPoint = viewportPoint + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
  const int position = document()->documentLayout()->hitTest(documentPoint, Qt::ExactHit);
  if (position < 0) return false;
  const QTextBlock block = document()->findBlock(position);
  const WebLink link = WebLinkAt(block.text(), position - block.position());
  if (link.end <= link.start) return false;
  range = {LONG(block.position() + link.start), LONG(block.position() + link.end)};
  return true;
}

void RichEdit20::LinkNotify(QPoint viewportPoint) {
  CHARRANGE range{};
  if (!LinkAtPoint(viewportPoint, range)) return;
  LinkHit = true;
  LinkText = GetTextRange(range);
}

void RichEdit20::mousePressEvent(QMouseEvent* event) {
  const bool quickClip = quickClip_ && event->button() == Qt::MiddleButton;
  if (quickClip)
    QuickClipPress(event);
  else
    RichEditWindow::mousePressEvent(event);
  const QPoint point = event->position().toPoint();
  if (event->button() == Qt::LeftButton)
    LinkNotify(point);
  else if (event->button() == Qt::RightButton)
    popupMenu_->Tag = ContextMenuSuppressed;
}

void RichEdit20::mouseDoubleClickEvent(QMouseEvent* event) {
  if (quickClip_ && event->button() == Qt::MiddleButton)
    QuickClipPress(event);
  else
    RichEditWindow::mouseDoubleClickEvent(event);
}

// The middle button with QuickClip: Ctrl copies, Ctrl+Shift cuts, anything else pastes.
void RichEdit20::QuickClipPress(QMouseEvent* event) {
  event->accept();
  const Qt::KeyboardModifiers held = event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
  const bool selected = GetSelSize() > 0;
  if (held == Qt::ControlModifier && selected)
    Copy();
  else if (held == (Qt::ControlModifier | Qt::ShiftModifier) && selected)
    Cut();
  else
    Paste(false);
}

void RichEdit20::mouseMoveEvent(QMouseEvent* event) {
  RichEditWindow::mouseMoveEvent(event);
  LinkHit = false;
  if (paintMode_ == 0 && !inHiLight_) {
    CHARRANGE range{};
    viewport()->setCursor(LinkAtPoint(event->position().toPoint(), range) ? Qt::PointingHandCursor : Qt::IBeamCursor);
  }
}

void RichEdit20::mouseReleaseEvent(QMouseEvent* event) {
  if (quickClip_ && event->button() == Qt::MiddleButton) {
    event->accept();
    return;
  }
  RichEditWindow::mouseReleaseEvent(event);
  if (event->button() == Qt::RightButton) {
    const bool open = popupMenu_->Tag == 0;
    popupMenu_->Tag = ContextMenuSuppressed;
    if (open) ShowContextMenu(event->globalPosition().toPoint());
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  LinkNotify(event->position().toPoint());
  LeftButtonReleased();
}

void RichEdit20::LeftButtonReleased() {
  CheckEndFontBug();
  const CHARRANGE selection = GetSelection();
  const bool selected = selection.cpMin != selection.cpMax;
  if (selected) {
    SelectionMarked = true;
    if (OnSelectionMade) OnSelectionMade(this);
    if (OnWholeWordSelected && CurrSelIsWholeWord()) OnWholeWordSelected(this);
    if (CopyOnSelect) Copy();
  }
  if (inHiLight_) ApplyAtRelease(selected, [this] { richFont_->SetHiLight(hiLightColor_); });
  if (paintMode_ != 0) {
    if ((paintMode_ & 2) && savedParaFormat_) richParagraph_->SetFormat(*savedParaFormat_, ReadVersion() >= 30);
    if ((paintMode_ & 1) && savedCharFormat_) {
      const CHARFORMAT2 format = *savedCharFormat_;
      ApplyAtRelease(selected, [this, &format] { richFont_->SetFormat(format); });
    }
    if (!continuedPaint_) EndPaintMode();
  }
  if (LinkHit) {
    LinkHit = false;
    OpenURL(LinkText, false, QString(), QString());
  }
}

// A selection takes the format and collapses to its end; without one the word at the caret
// takes it.
void RichEdit20::ApplyAtRelease(bool selected, const std::function<void()>& apply) {
  GetFont();
  if (!selected) richFont_->SetMode(2);
  apply();
  if (selected) {
    const LONG end = GetSelection().cpMax;
    SetSelection(end, end);
  } else {
    richFont_->SetMode(1);
  }
}

void RichEdit20::contextMenuEvent(QContextMenuEvent* event) {
  // Qt sends this at the press on X11; the menu opens from the release instead, as the
  // marker of the press allows.
  event->accept();
}

void RichEdit20::ShowContextMenu(QPoint global) {
  popupMenu_->UpdateMenu();
  popupMenu_->Popup(global.x(), global.y());
}

// ---- Set-up, notifications, scrolling ----

void RichEdit20::ConnectInput() {
  popupMenu_ = new RichEditPopupMenu(this);
  setContextMenuPolicy(Qt::PreventContextMenu);
  connect(this, &QTextEdit::selectionChanged, this, &RichEdit20::SelectionChanged);
  // EN_SELCHANGE for the page statistics: every move of the caret or the selection.
  connect(this, &RichEditWindow::SelChange, this, [this] {
    if (!richPrinter_) return;
    if (richPrinter_->PageCountingEnabled()) richPrinter_->UpdatePageStats(false, true);
    if (IdlerClient* client = richPrinter_->GetIdleClient()) client->ResetMinIntervalTimer();
  });
  connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, &RichEdit20::ScrollAction);
  connect(verticalScrollBar(), &QScrollBar::sliderReleased, this, [this] { ScrollAction(QAbstractSlider::SliderMove); });
}

void RichEdit20::MarkLinks() {
  delete linkMarker_.data();
  if (autoUrlDetect_) linkMarker_ = new LinkMarker(document(), palette().color(QPalette::Link));
}

// EN_SELCHANGE: selections made by the keyboard; the mouse's are reported at the release.
void RichEdit20::SelectionChanged() {
  if (QGuiApplication::mouseButtons() & Qt::LeftButton) return;
  const CHARRANGE selection = GetSelection();
  if (selection.cpMin == selection.cpMax) return;
  if (OnSelectionMade) OnSelectionMade(this);
  if (OnWholeWordSelected && CurrSelIsWholeWord()) OnWholeWordSelected(this);
}

void RichEdit20::ScrollAction(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
    case QAbstractSlider::SliderSingleStepSub:
    case QAbstractSlider::SliderMove:
      // The action is reported before the scroll bar moves: the icons follow once it has.
      QMetaObject::invokeMethod(this, [this] { if (gutterPresent_) CheckGutterIcons(); }, Qt::QueuedConnection);
      break;
    default: break;
  }
}

void RichEdit20::moveEvent(QMoveEvent* event) {
  RichEditWindow::moveEvent(event);
  if (gutter_ != nullptr) gutter_->UpdatePosition();
}
