// Bookmarks on a real editor: random edits (typing, Backspace, Delete, replacing, edits the
// editor never sees, undo and redo) against a reference model of where each bookmark
// belongs; the table and external-bookmark rules; page breaks; and the gutter's icons,
// clicks, menu and colour.

#include "QtTestMain.h"
#include "richtext/Gutter.h"
#include "richtext/RichEdit20.h"
#include "richtext/RichParagraph.h"

#include "controls/FrugalPopupMenu.h"
#include "controls/GlyphManager.h"
#include "controls/TColorChooser.h"

#include <QAction>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// One edit as the document saw it: [start, start + removed) became inserted positions.
struct Edit {
  int start, removed, inserted;
  bool keepOnUndo = false;  // Delete at the caret gives its character back behind a bookmark
};

// A replaced selection keeps its bookmarks at its start.
int AfterReplaceSel(int p, const Edit& e) {
  const int end = e.start + e.removed;
  if (e.removed > 0 && p >= e.start && p < end) return e.start;
  return p >= end ? p + e.inserted - e.removed : p;
}

// The document's own cursor rule: removal collapses, an insertion at a bookmark pushes it.
int AfterCursorEdit(int p, const Edit& e) {
  const int end = e.start + e.removed;
  if (p < e.start) return p;
  return p < end ? e.start + e.inserted : p + e.inserted - e.removed;
}

// Undone: the inserted text goes, the removed text comes back in front of a bookmark at its
// start, except Delete's.
int AfterUndo(int p, const Edit& e) {
  p = AfterCursorEdit(p, Edit{e.start, e.inserted, 0});
  return p > e.start || (p == e.start && !e.keepOnUndo) ? p + e.removed : p;
}

QString Text(RichEdit20& editor) { return editor.Note().GetText(0, -1); }

struct Model {
  explicit Model(RichEdit20& e) : editor(e) {}
  struct Step {
    Edit edit;
    QString before, after;
  };
  RichEdit20& editor;
  std::vector<int> ids, positions;
  std::vector<Step> done, undone;

  void Apply(int (*rule)(int, const Edit&), const Edit& e) {
    for (int& p : positions) p = rule(p, e);
  }
  // An edit that changed nothing leaves the document's history as it was.
  void Edited(const QString& old, const Edit& e, bool bracketed) {
    if (old == Text(editor)) return;
    done.push_back(Step{e, old, Text(editor)});
    undone.clear();
    Apply(bracketed ? AfterReplaceSel : AfterCursorEdit, e);
  }
  // Qt may merge typed keys into one step: as many edits are undone or redone as the text says.
  // A step of formats alone moves nothing.
  void Undone() {
    const QString now = Text(editor);
    if (done.empty() || done.back().after == now) return;
    while (!done.empty()) {
      const Step step = done.back();
      Apply(AfterUndo, step.edit);
      undone.push_back(step);
      done.pop_back();
      if (step.before == now) break;
    }
  }
  void Redone() {
    const QString now = Text(editor);
    if (undone.empty() || undone.back().before == now) return;
    while (!undone.empty()) {
      const Step step = undone.back();
      Apply(AfterCursorEdit, step.edit);
      done.push_back(step);
      undone.pop_back();
      if (step.after == now) break;
    }
  }
};

struct Shown {
  RichEdit20 editor;
  explicit Shown(QSize size = QSize(400, 300)) {
    editor.resize(size);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
  }
};

}  // namespace

class BookmarksQTest : public QObject {
  Q_OBJECT

private slots:
  void RandomEditsKeepEveryBookmarkOnItsText();
  void TablesAndNavigation();
  void PageBreaks();
  void GutterIconsClicksMenuAndColour();
};

void BookmarksQTest::RandomEditsKeepEveryBookmarkOnItsText() {
  for (quint32 seed = 1; seed <= 6; ++seed) {
    Shown shown;
    RichEdit20& editor = shown.editor;
    editor.SetText(QStringLiteral("The harbour gulls\rcried over the quay\rand the boats\rswung at anchor"), true);
    editor.EmptyUndoBuffer();
    Model model(editor);
    QRandomGenerator random(seed);
    for (int i = 0; i < 12; ++i) {
      const int at = random.bounded(editor.GetLength() + 1);
      model.ids.push_back(i % 2 == 0 ? editor.SetBookmark(at) : (editor.SetExternalBookmark(at), editor.GetBookmarkIdAt(at)));
      model.positions.push_back(at);
    }
    for (int step = 0; step < 250; ++step) {
      const int length = editor.GetLength();
      int s = random.bounded(length + 1), e = s;
      if (random.bounded(3) == 0) e = std::min(length, s + random.bounded(8));
      const QString old = Text(editor);
      const int op = random.bounded(8);
      editor.SetSelection(s, e);
      if (op == 0 || op == 1) {  // typing over the selection
        const bool enter = random.bounded(6) == 0;
        QTest::keyClick(&editor, enter ? Qt::Key_Return : Qt::Key_K);
        model.Edited(old, Edit{s, e - s, 1}, true);
      } else if (op == 2 && (s > 0 || e > s)) {
        QTest::keyClick(&editor, Qt::Key_Backspace);
        model.Edited(old, e > s ? Edit{s, e - s, 0} : Edit{s - 1, 1, 0}, true);
      } else if (op == 3 && (e < length || e > s)) {
        QTest::keyClick(&editor, Qt::Key_Delete);
        model.Edited(old, Edit{s, std::max(e - s, 1), 0, e == s}, true);
      } else if (op == 4) {  // a paste or a replace through the editor
        const QString text = QStringLiteral("pasted").left(random.bounded(7));
        editor.ReplaceSel(text, true, false);
        model.Edited(old, Edit{s, e - s, int(text.size())}, true);
      } else if (op == 5) {  // dropped text, an input method, a middle-button paste
        QTextCursor foreign(editor.Note().Document());
        foreign.setPosition(s);
        foreign.setPosition(e, QTextCursor::KeepAnchor);
        foreign.insertText(QStringLiteral("dropped"));
        model.Edited(old, Edit{s, e - s, 7}, false);
      } else if (op == 6 && editor.CanUndo()) {
        editor.Undo();
        model.Undone();
      } else if (op == 7 && editor.CanRedo()) {
        editor.Redo();
        model.Redone();
      }
      for (size_t b = 0; b < model.ids.size(); ++b)
        QVERIFY2(editor.GetBookmarkPos(model.ids[b]) == model.positions[b],
                 qPrintable(QStringLiteral("seed %1 step %2 op %3 on [%4, %5): bookmark %6 at %7, belongs at %8")
                                .arg(seed).arg(step).arg(op).arg(s).arg(e).arg(b)
                                .arg(editor.GetBookmarkPos(model.ids[b])).arg(model.positions[b])));
    }
  }
}

void BookmarksQTest::TablesAndNavigation() {
  Shown shown;
  RichEdit20& editor = shown.editor;
  editor.SetText(QStringLiteral("0123456789abcdefghij"), true);
  const int a = editor.SetBookmark(2), b = editor.SetBookmark(4), c = editor.SetBookmark(6);
  QCOMPARE(std::vector<int>({a, b, c}), std::vector<int>({0, 1, 2}));
  QVERIFY(editor.DeleteBookmark(b));
  QCOMPARE(editor.GetBookmarkPos(b), -1);
  QCOMPARE(editor.Bookmarks.Size(), 3);
  QVERIFY(!editor.DeleteBookmark(b));
  QVERIFY(editor.DeleteBookmark(c));
  QCOMPARE(editor.Bookmarks.Size(), 1);  // the free id below went with it
  QVERIFY(!editor.MoveBookmark(7, 3));
  QVERIFY(editor.MoveBookmark(a, 500));
  QCOMPARE(editor.GetBookmarkPos(a), 20);
  QVERIFY(editor.DeleteBookmark(a));

  // Positions past the end, at the end and repeated make one external bookmark each.
  for (const int at : {200, 20, 300, 5, 5}) editor.SetExternalBookmark(at);
  QCOMPARE(editor.ExternalBookmarks.Size(), 2);
  editor.SetExternalBookmark(12);
  const int internal = editor.SetBookmark(9);
  editor.SetSelection(5, 5);
  QCOMPARE(editor.GetRelBookmarkPos(), 2);  // the one at the caret counts on neither side
  editor.SetSelection(12, 12);
  QCOMPARE(editor.GetRelBookmarkPos(), 3);
  editor.SetSelection(20, 20);
  QCOMPARE(editor.GetRelBookmarkPos(), 1);
  editor.GoToNextBookmark();
  QCOMPARE(editor.GetCaretPos(), 20);  // none after: a beep, the caret stays
  editor.GoToPreviousBookmark();
  QCOMPARE(editor.GetCaretPos(), 12);
  editor.GoToPreviousBookmark();
  QCOMPARE(editor.GetCaretPos(), 5);
  editor.GoToNextBookmark();
  QCOMPARE(editor.GetCaretPos(), 12);
  editor.GoToFirstBookmark();
  QCOMPARE(editor.GetCaretPos(), 20);  // list order, not position order
  editor.GoToLastBookmark();
  QCOMPARE(editor.GetCaretPos(), 12);
  editor.DeleteAllExternalBookmarks();
  QCOMPARE(editor.GetBookmarkPos(internal), 9);  // internal ids keep their meaning
  QCOMPARE(editor.GetRelBookmarkPos(), 0);
  editor.SetExternalBookmark(3);
  editor.SetExternalBookmark(7);
  QCOMPARE(editor.GetBookmarkIdAt(7), editor.ExternalBookmarks.Get(1));
  editor.DeleteExternalBookmark(editor.ExternalBookmarks.Get(0));
  editor.SetSelection(7, 7);
  QCOMPARE(editor.GetRelBookmarkPos(), 4);
  editor.Clear();
  QCOMPARE(editor.Bookmarks.Size(), 0);
}

void BookmarksQTest::PageBreaks() {
  Shown shown;
  RichEdit20& editor = shown.editor;
  struct Case {
    QString text;
    int caret;
    QString expected;
    int caretAfter;
  };
  const std::vector<Case> cases{
      {"abc", 0, "\f\rabc", 1},  // the character after is replaced by itself
      {"", 0, "\f\r", 1},
      {"ab\rcd", 3, "ab\r\fcd", 4},
      {"ab\fcd", 3, "ab\f\fcd", 4},
      {"abcd", 2, "ab\r\fcd", 4},
  };
  for (const Case& c : cases) {
    editor.SetText(c.text, true);
    editor.SetSelection(c.caret, c.caret);
    editor.NewPage();
    QCOMPARE(Text(editor), c.expected);
    QCOMPARE(editor.GetCaretPos(), c.caretAfter);
  }
  // In a bulleted paragraph the break leaves no bullet on either side.
  editor.SetText(QStringLiteral("first\rsecond"), true);
  editor.SetSelection(8, 8);
  editor.GetParagraph()->SetBulletType(1);
  editor.NewPage();
  QCOMPARE(Text(editor), QStringLiteral("first\rse\r\fcond"));
  QCOMPARE(editor.GetParagraph()->ReadBulletType(), 0);
  // At the very start of a bulleted list the last paragraph keeps its bullet.
  editor.SetText(QStringLiteral("first\rsecond"), true);
  editor.SetSelection(0, -1);
  editor.GetParagraph()->SetBulletType(1);
  editor.SetSelection(0, 0);
  editor.NewPage();
  QCOMPARE(Text(editor), QStringLiteral("\f\rfirst\rsecond"));
  editor.SetSelection(editor.GetLength(), editor.GetLength());
  QCOMPARE(editor.GetParagraph()->ReadBulletType(), 1);

  QString text;
  for (int i = 0; i < 30; ++i) text += QStringLiteral("line %1\r%2").arg(i).arg(i % 7 == 3 ? "\f" : "");
  editor.SetText(text, true);
  const std::unique_ptr<IntArray> all = editor.GetPageBreakPositions();
  std::vector<int> expected;
  for (qsizetype at = text.indexOf(u'\f'); at >= 0; at = text.indexOf(u'\f', at + 1)) expected.push_back(int(at));
  QCOMPARE(all->Size(), int(expected.size()));
  for (int i = 0; i < all->Size(); ++i) QCOMPARE(all->Get(i), expected[i]);
  editor.SetSelection(0, 0);
  editor.ScrollToView();
  const CHARRANGE visible = editor.GetVisibleRange();
  const std::unique_ptr<IntArray> shownBreaks = editor.GetVisiblePageBreaks();
  int inView = 0;
  for (const int at : expected) inView += at >= visible.cpMin && at < visible.cpMax;
  QVERIFY(inView > 0 && inView < int(expected.size()));
  QCOMPARE(shownBreaks->Size(), inView);
}

void BookmarksQTest::GutterIconsClicksMenuAndColour() {
  Shown first, second;
  for (RichEdit20* editor : {&first.editor, &second.editor}) {
    editor->SetText(QStringLiteral("alpha\rbeta\fgamma\rdelta\repsilon"), true);
    editor->SetGutterPresent(true);
  }
  RichEdit20& editor = first.editor;
  Gutter* gutter = editor.GetGutter();
  QVERIFY(gutter != nullptr && second.editor.GetGutter() != nullptr && gutter != second.editor.GetGutter());
  QCOMPARE(gutter->geometry(), QRect(editor.ClientRect().topLeft(), QSize(25, editor.ClientRect().height())));
  QVERIFY(GlyphManager::GM().Find(QStringLiteral("Gutter Icon %1.1").arg(editor.GetId())) >= 0);
  QVERIFY(GlyphManager::GM().Find(QStringLiteral("Gutter Multiple Icon %1.1").arg(second.editor.GetId())) >= 0);

  // Two bookmarks on "alpha", one beside the page break on "gamma".
  editor.SetExternalBookmark(0);
  editor.SetExternalBookmark(3);
  editor.SetExternalBookmark(11);
  // A step of the scroll bar is checked once it has landed, not before.
  {
    Shown tall(QSize(200, 60));
    QString lines;
    for (int i = 0; i < 40; ++i) lines += QStringLiteral("line %1\r").arg(i);
    tall.editor.SetText(lines, true);
    tall.editor.SetGutterPresent(true);
    tall.editor.SetExternalBookmark(20);
    tall.editor.SetSelection(0, 0);
    tall.editor.ScrollToView();
    tall.editor.CheckGutterIcons();
    QCOMPARE(tall.editor.LastFirstLine, 0);
    tall.editor.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QVERIFY(tall.editor.GetFirstVisibleLine() > 0);
    QTRY_COMPARE(tall.editor.LastFirstLine, int(tall.editor.GetFirstVisibleLine()));
  }
  editor.CheckGutterIcons();
  const int repaints = gutter->Repaints();
  QVERIFY(repaints > 0);
  editor.CheckGutterIcons();
  editor.GutterRefreshPending = true;
  editor.CheckGutterIcons();
  QCOMPARE(gutter->Repaints(), repaints);  // the same lines: no repaint
  const QImage image = gutter->grab().toImage();
  const QImage bookmark = GlyphManager::GM().Pixmap(GlyphManager::GM().Find(QStringLiteral("Gutter Icon %1.1").arg(editor.GetId()))).toImage();
  const QImage multiple = GlyphManager::GM().Pixmap(GlyphManager::GM().Find(QStringLiteral("Gutter Multiple Icon %1.1").arg(editor.GetId()))).toImage();
  const QImage page = GlyphManager::GM().Pixmap(GlyphManager::GM().Find(QStringLiteral("Gutter Icon %1.0").arg(editor.GetId()))).toImage();
  const auto middle = [&](int position) {
    IntArray ys(QStringLiteral("y"));
    ys.Add(position);
    editor.PositionsToVisibleDepths(ys);
    return ys.Get(0);
  };
  // Every opaque pixel of the glyph is there.
  const auto drawnAt = [&](const QImage& glyph, int x, int y) {
    int opaque = 0;
    for (int gy = 0; gy < glyph.height(); ++gy)
      for (int gx = 0; gx < glyph.width(); ++gx) {
        const QRgb pixel = glyph.pixel(gx, gy);
        if (qAlpha(pixel) < 255) continue;
        ++opaque;
        if (image.pixel(x + gx, y - 6 + gy) != pixel) return false;
      }
    return opaque > 20;
  };
  QVERIFY(drawnAt(multiple, 7, middle(0)));
  QVERIFY(drawnAt(page, 1, middle(11)));
  QVERIFY(drawnAt(bookmark, 12, middle(11)));

  // A left press toggles the bookmark of its line.
  const QPoint onDelta(5, editor.PointFromCharPos(20).y() + 2);
  QTest::mouseClick(gutter, Qt::LeftButton, {}, onDelta);
  QCOMPARE(editor.ExternalBookmarks.Size(), 4);
  QCOMPARE(editor.GetBookmarkPos(editor.GetBookmarkIdAt(editor.GetLinePos(editor.GetLineFromPos(20)))), editor.GetLinePos(editor.GetLineFromPos(20)));
  QTest::mouseClick(gutter, Qt::LeftButton, {}, onDelta);
  QCOMPARE(editor.ExternalBookmarks.Size(), 3);

  // The menu: moves enabled by where the bookmarks lie, the set item named for the line.
  editor.SetSelection(19, 19);
  gutter->UpdateMenuItems();
  QVERIFY(gutter->FirstItem->isEnabled() && gutter->PrevItem->isEnabled() && !gutter->NextItem->isEnabled());
  QCOMPARE(gutter->SetItem->text(), QStringLiteral("&Set Bookmark"));
  gutter->SetItem->trigger();
  QCOMPARE(editor.GetBookmarkIdAt(17), editor.ExternalBookmarks.Get(3));
  editor.SetSelection(0, 0);
  gutter->UpdateMenuItems();
  QVERIFY(!gutter->PrevItem->isEnabled() && gutter->NextItem->isEnabled());
  QCOMPARE(gutter->SetItem->text(), QStringLiteral("&Delete Bookmark"));
  QCOMPARE(gutter->SetItem->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F2));
  gutter->SetItem->trigger();
  QCOMPARE(editor.ExternalBookmarks.Size(), 3);
  QCOMPARE(editor.GetBookmarkIdAt(3), -1);  // the one nearest the line's end went
  QTest::keyClick(&editor, Qt::Key_F2);
  QCOMPARE(editor.GetCaretPos(), 11);
  QTest::keyClick(&editor, Qt::Key_F2, Qt::ShiftModifier);
  QCOMPARE(editor.GetCaretPos(), 0);
  QTest::keyClick(&editor, Qt::Key_F2, Qt::ControlModifier);  // the line has one: nothing to set
  QCOMPARE(editor.ExternalBookmarks.Size(), 3);
  QTest::keyClick(&editor, Qt::Key_F2, Qt::ControlModifier | Qt::ShiftModifier);
  QCOMPARE(editor.ExternalBookmarks.Size(), 2);
  QCOMPARE(editor.GetBookmarkIdAt(0), -1);
  gutter->ClearAllItem->trigger();
  gutter->UpdateMenuItems();
  QVERIFY(!gutter->FirstItem->isEnabled() && !gutter->NextItem->isEnabled() && !gutter->ClearAllItem->isEnabled());

  // The colour: a choice reaches the editor's event, closing without one changes nothing.
  int fired = 0;
  editor.OnGutterColorChange = [&](QObject*) { ++fired; };
  gutter->ColorItem->trigger();
  TColorChooser* chooser = gutter->Chooser();
  QVERIFY(chooser != nullptr && chooser->isVisible());
  chooser->SetChosenColor(clYellow);
  chooser->OnColorSelect();
  QCOMPARE(gutter->Color(), clYellow);
  QCOMPARE(editor.GetGutterColor(), clYellow);
  QCOMPARE(Gutter::GutterColor, clYellow);
  chooser->SetChosenColor(clNone);
  chooser->OnColorSelect();
  QCOMPARE(gutter->Color(), clYellow);
  QCOMPARE(fired, 1);
  Gutter::GutterColor = clBtnFace;
}

TV_QTEST_MAIN(BookmarksQTest)
#include "BookmarksQTest.moc"
