// The gutter's menu: bookmark moves, the set or delete item for the caret's line, and the
// colour chooser.

#include "Gutter.h"

#include "RichEdit20.h"

#include "controls/FrugalPopupMenu.h"
#include "controls/TColorChooser.h"

#include <QAction>
#include <QCursor>

namespace {
// The keys act through the editor; the menu only shows them.
void ShowShortcut(QAction* item, const QKeySequence& keys) {
  item->setShortcut(keys);
  item->setShortcutContext(Qt::WidgetShortcut);
}
}  // namespace

QAction* Gutter::AddItem(const QString& caption, const QString& glyph, const std::function<void()>& operation) {
  QAction* item = menu_->addAction(caption);
  if (!glyph.isEmpty()) menu_->AssignBmpToItem(glyph, item);
  connect(item, &QAction::triggered, this, [this, operation] {
    operation();
    editor_.setFocus();
  });
  return item;
}

void Gutter::BuildMenu() {
  menu_ = new FrugalPopupMenu(this);
  RichEdit20& editor = editor_;
  FirstItem = AddItem(tr("&First Bookmark"), QStringLiteral("FIRSTBOOKMARK"), [&editor] { editor.GoToFirstBookmark(); });
  PrevItem = AddItem(tr("&Previous Bookmark"), QStringLiteral("PREVBOOKMARK"), [&editor] { editor.GoToPreviousBookmark(); });
  ShowShortcut(PrevItem, QKeySequence(Qt::SHIFT | Qt::Key_F2));
  NextItem = AddItem(tr("&Next Bookmark"), QStringLiteral("NEXTBOOKMARK"), [&editor] { editor.GoToNextBookmark(); });
  ShowShortcut(NextItem, QKeySequence(Qt::Key_F2));
  LastItem = AddItem(tr("&Last Bookmark"), QStringLiteral("LASTBOOKMARK"), [&editor] { editor.GoToLastBookmark(); });
  SetItem = AddItem(tr("&Set Bookmark"), QStringLiteral("SETBOOKMARK"), [this] { SetItemExecute(); });
  ClearAllItem = AddItem(tr("Clear &All Bookmarks"), QString(), [&editor] { editor.DeleteAllExternalBookmarks(); });
  menu_->addSeparator();
  ColorItem = AddItem(tr("&Color..."), QStringLiteral("PALETTE"), [this] { ColorItemExecute(); });
}

int Gutter::LineBookmarkId() {
  const int start = editor_.GetLinePos(-1), length = editor_.GetLineLength(-1);
  for (int at = start + length; at >= start; --at) {
    const int id = editor_.GetBookmarkIdAt(at);
    if (id >= 0) return id;
  }
  return -1;
}

void Gutter::UpdateMenuItems() {
  const IntArray& marks = editor_.ExternalBookmarks;
  const bool any = marks.Size() > 0;
  int lowest = 0, highest = 0;
  for (int i = 0; i < marks.Size(); ++i) {
    const int at = editor_.GetBookmarkPos(marks.Get(i));
    lowest = i == 0 ? at : std::min(lowest, at);
    highest = i == 0 ? at : std::max(highest, at);
  }
  const CHARRANGE selection = editor_.GetSelection();
  FirstItem->setEnabled(any);
  LastItem->setEnabled(any);
  ClearAllItem->setEnabled(any);
  PrevItem->setEnabled(any && lowest < selection.cpMin);
  NextItem->setEnabled(any && highest > selection.cpMin);
  const bool onLine = LineBookmarkId() >= 0;
  SetItem->setText(onLine ? tr("&Delete Bookmark") : tr("&Set Bookmark"));
  ShowShortcut(SetItem, onLine ? QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F2) : QKeySequence(Qt::CTRL | Qt::Key_F2));
  menu_->AssignBmpToItem(onLine ? QStringLiteral("DELETEBOOKMARK") : QStringLiteral("SETBOOKMARK"), SetItem);
}

void Gutter::SetItemExecute() {
  const int id = LineBookmarkId();
  if (id >= 0)
    editor_.DeleteExternalBookmark(id);
  else
    editor_.SetExternalBookmark(editor_.GetLinePos(-1));
}

void Gutter::ColorItemExecute() {
  if (chooser_ == nullptr) {
    chooser_ = new TColorChooser(this);
    chooser_->SetSpecialLabel(tr("Auto Color"));
    chooser_->SetSpecialColor(clBtnFace);
    connect(chooser_, &TColorChooser::OnColorSelect, this, &Gutter::ColorChosen);
  }
  chooser_->SetChosenColor(colour_);
  const QPoint at = QCursor::pos();
  chooser_->move(at);
  chooser_->show();
}

void Gutter::ColorChosen() {
  const TColor chosen = chooser_->ChosenColor();
  if (chosen != clNone) {
    SetColor(chosen);
    GutterColor = chosen;
    if (editor_.OnGutterColorChange) {
      editor_.SetGutterColor(chosen);
      editor_.OnGutterColorChange(&editor_);
    }
  }
  editor_.setFocus();
}
