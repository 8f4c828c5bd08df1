#pragma once
// The editor's context menu: close, undo and redo, the clipboard commands, select all,
// copy all and clear, enabled from the editor's state just before each pop-up.

#include "controls/FrugalPopupMenu.h"

#include <functional>

class RichEdit20;

class RichEditPopupMenu : public FrugalPopupMenu {
  Q_OBJECT
public:
  using Event = std::function<void(QObject* sender)>;

  explicit RichEditPopupMenu(RichEdit20* editor);

  // The suppression marker: 0 lets the menu open at the right button's release.
  int Tag = 0;
  // Run by Close; Close and its separator show only while one is assigned.
  Event CloseHandler;

  QAction *CloseItem, *UndoItem, *RedoItem, *CutItem, *CopyItem, *PasteItem, *PastePlainItem, *SelectAllItem,
      *CopyAllItem, *ClearItem;

  // Objects have no verbs here: the menu needs none.
  void UpdateMenu();

  void OnCloseDoc(QObject* sender);
  void OnClear(QObject* sender);

private:
  QAction* AddItem(const QString& caption, const char* glyph, const std::function<void()>& handler);
  RichEdit20* editor_;
  QAction* closeSeparator_;
};
