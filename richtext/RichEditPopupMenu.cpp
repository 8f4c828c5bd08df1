#include "RichEditPopupMenu.h"

#include "RichEdit20.h"

#include "Yelk/Prompt.h"

RichEditPopupMenu::RichEditPopupMenu(RichEdit20* editor) : FrugalPopupMenu(editor), editor_(editor) {
  CloseItem = AddItem(tr("&Close"), "CLOSEDOC2", [this] { OnCloseDoc(this); });
  closeSeparator_ = addSeparator();
  UndoItem = AddItem(tr("&Undo"), "UNDO", [this] { editor_->Undo(); });
  RedoItem = AddItem(tr("&Redo"), "REDO", [this] { editor_->Redo(); });
  addSeparator();
  CutItem = AddItem(tr("Cu&t"), "CUT", [this] { editor_->Cut(); });
  CopyItem = AddItem(tr("Cop&y"), "COPY", [this] { editor_->Copy(); });
  PasteItem = AddItem(tr("&Paste"), "PASTE", [this] { editor_->Paste(false); });
  PastePlainItem = AddItem(tr("Paste Plai&n"), "PASTEPLAIN", [this] { editor_->Paste(true); });
  addSeparator();
  SelectAllItem = AddItem(tr("&Select All"), "SELECTALL", [this] { editor_->SetSelection(0, -1); });
  CopyAllItem = AddItem(tr("Copy &All"), "COPYALL", [this] { editor_->CopyAll(); });
  ClearItem = AddItem(tr("C&lear..."), "CLEAR", [this] { OnClear(this); });
  FinishSetup();
}

QAction* RichEditPopupMenu::AddItem(const QString& caption, const char* glyph, const std::function<void()>& handler) {
  QAction* item = addAction(caption);
  connect(item, &QAction::triggered, this, handler);
  AssignBmpToItem(QString::fromLatin1(glyph), item);
  return item;
}

void RichEditPopupMenu::UpdateMenu() {
  const CHARRANGE selection = editor_->GetSelection();
  const bool selected = selection.cpMin != selection.cpMax;
  const bool hasText = editor_->GetLength() > 0;
  const bool writable = !editor_->GetReadOnly();
  CloseItem->setVisible(bool(CloseHandler));
  closeSeparator_->setVisible(bool(CloseHandler));
  UndoItem->setEnabled(editor_->CanUndo());
  RedoItem->setEnabled(editor_->CanRedo());
  CutItem->setEnabled(selected && writable);
  CopyItem->setEnabled(selected);
  PasteItem->setEnabled(writable && editor_->CanPaste());
  PastePlainItem->setEnabled(writable && editor_->CanPastePlain());
  SelectAllItem->setEnabled(hasText && writable);
  CopyAllItem->setEnabled(hasText);
  ClearItem->setEnabled(hasText && writable);
}

void RichEditPopupMenu::OnCloseDoc(QObject* sender) {
  if (CloseHandler) CloseHandler(sender);
}

void RichEditPopupMenu::OnClear(QObject*) {
  const Prompt::Button answer = Prompt::ShowApp(
      tr("The document will be cleared.  This action can not be undone.\n\nDo you want to proceed?"), Prompt::Warning,
      Prompt::Yes | Prompt::No);
  if (answer == Prompt::Yes) editor_->Clear();
}
