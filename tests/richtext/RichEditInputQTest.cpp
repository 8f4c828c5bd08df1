// The editor's input: keys against their effects, the mouse's selection events and quick
// clip, link detection against a reference over many texts, link clicks, and the context
// menu's enabling over the editor's states.

#include "QtTestMain.h"
#include "richtext/RichEdit20.h"
#include "richtext/RichEditPopupMenu.h"
#include "richtext/RichFont.h"
#include "richtext/TDownloadDlg.h"
#include "richtext/WebLink.h"
#include "NoteFixtures.h"
#include "PictureFixtures.h"
#include "richtext/NoteClipboard.h"

#include "Yelk/Prompt.h"
#include "Yelk/TempFiles.h"
#include "platform/HelpWindow.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextLayout>

namespace {

class BrowserDouble : public QObject {
  Q_OBJECT
public:
  BrowserDouble() {
    for (const char* scheme : Schemes) QDesktopServices::setUrlHandler(scheme, this, "Open");
  }
  ~BrowserDouble() override {
    for (const char* scheme : Schemes) QDesktopServices::unsetUrlHandler(scheme);
  }
  static constexpr const char* Schemes[] = {"http", "https", "ftp", "mailto", "file", "javascript", "telnet"};
  QList<QUrl> opened;

public slots:
  void Open(const QUrl& url) { opened.append(url); }
};

// The reference: an independent reading of the same rule.
std::vector<std::pair<int, int>> ReferenceLinks(const QString& text) {
  static const QRegularExpression address(QStringLiteral("(?<![\\p{L}\\p{N}_])(https?://|ftp://|mailto:|www\\.)[^\\s<>\"]+"),
                                          QRegularExpression::CaseInsensitiveOption);
  std::vector<std::pair<int, int>> links;
  for (auto it = address.globalMatch(text); it.hasNext();) {
    const QRegularExpressionMatch match = it.next();
    int end = int(match.capturedEnd());
    while (end > match.capturedEnd(1) && QStringLiteral(".,;:!?)'").contains(text[end - 1])) --end;
    if (end > match.capturedEnd(1)) links.emplace_back(int(match.capturedStart()), end);
  }
  return links;
}

QPoint PointOf(RichEdit20& editor, int position) {
  const QRect caret = [&] {
    QTextCursor cursor(editor.document());
    cursor.setPosition(position);
    return editor.cursorRect(cursor);
  }();
  return caret.center() + QPoint(2, 0);
}

}  // namespace

class RichEditInputQTest : public QObject {
  Q_OBJECT
private slots:
  void LinksMatchTheReference();
  void KeysAndTheirEffects();
  void ReplaceAllUndoneAndRedoneByKeys();
  void MouseSelectionAndQuickClip();
  void LinkClicksOpenOnlyWebAddresses();
  void ContextMenuFollowsTheState();
  void TheCaretIsWhereTheCursorIs();
  void ObjectsAreNeverInserted();
  void DownloadDialogTexts();
  void NoteWindowUse();
};

void RichEditInputQTest::LinksMatchTheReference() {
  const QStringList pieces{"http://a.org", "HTTPS://x.y/z?q=1&r=2", "ftp://files.net/f.txt", "mailto:me@x.org",
                           "www.example.com/page", "file:///etc/passwd", "javascript:alert(1)", "telnet://host",
                           "xhttp://no", "www.", "http://", "word", "(see", "http://q.org).", "'www.a.b',", "\"",
                           "<http://in.angle>", "_www.no", "Www.Case.Org!", "mailto:", "a.b.c", "?", "\t", "é"};
  // Every pair and triple of pieces, joined by a blank or nothing.
  int checked = 0, found = 0;
  for (const QString& a : pieces)
    for (const QString& b : pieces)
      for (const QString& glue : {QString(), QStringLiteral(" ")}) {
        for (const QString& text : {a + glue + b, b + glue + a + glue + b}) {
          std::vector<std::pair<int, int>> ours;
          for (const WebLink& link : FindWebLinks(text)) ours.emplace_back(link.start, link.end);
          QCOMPARE(ours, ReferenceLinks(text));
          for (const auto& [start, end] : ours) {
            const QString link = text.mid(start, end - start);
            QVERIFY2(!link.startsWith(QLatin1String("file"), Qt::CaseInsensitive) &&
                         !link.startsWith(QLatin1String("javascript")) && !link.startsWith(QLatin1String("telnet")),
                     qPrintable(link));
            const WebLink at = WebLinkAt(text, start);
            QCOMPARE(at.end, end);
          }
          found += int(ours.size());
          ++checked;
        }
      }
  QVERIFY(checked > 2000 && found > 1000);
}

void RichEditInputQTest::KeysAndTheirEffects() {
  struct Case {
    const char* name;
    QString text;
    int caret, tabs;
    bool plain;
    const char* face;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString expected;
  };
  const QString six = QStringLiteral("abcdef");
  const std::vector<Case> cases{
      {"fixed tab to the stop", six, 6, 4, true, "Monospace", Qt::Key_Tab, Qt::NoModifier, six + "  "},
      {"proportional tab", six, 6, 4, true, "Sans Serif", Qt::Key_Tab, Qt::NoModifier, six + "    "},
      {"Ctrl+Shift+Tab", six, 6, 4, true, "Monospace", Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier, six},
      {"TabsAsSpaces 0 types a tab", six, 6, 0, true, "Monospace", Qt::Key_Tab, Qt::NoModifier, six + "\t"},
      {"rich text types a tab", six, 6, 4, false, "Monospace", Qt::Key_Tab, Qt::NoModifier, six + "\t"},
      {"Ctrl+Y deletes the line", "one\rtwo\rthree", 5, -1, false, "Sans Serif", Qt::Key_Y, Qt::ControlModifier,
       "one\rthree"},
      {"typing", six, 3, -1, false, "Sans Serif", Qt::Key_X, Qt::NoModifier, "abcxdef"},
      {"Backspace", six, 3, -1, false, "Sans Serif", Qt::Key_Backspace, Qt::NoModifier, "abdef"},
      {"Delete", six, 3, -1, false, "Sans Serif", Qt::Key_Delete, Qt::NoModifier, "abcef"},
  };
  for (const Case& c : cases) {
    RichEdit20 editor;
    editor.show();
    editor.SetPlainText(c.plain);
    editor.SetText(c.text, false);
    editor.SetSelection(0, -1);
    editor.GetFont()->SetFaceName(QString::fromLatin1(c.face));
    editor.TabsAsSpaces = c.tabs;
    editor.SetSelection(c.caret, c.caret);
    const int mark = editor.SetBookmark(c.caret + 1 <= editor.GetLength() ? c.caret + 1 : c.caret);
    const int markBefore = editor.GetBookmarkPos(mark);
    editor.BeginHiLightMode(clYellow);
    QTest::keyClick(&editor, c.key, c.modifiers);
    QVERIFY2(editor.GetTextRange(CHARRANGE{0, -1}) == c.expected, c.name);
    QVERIFY2(editor.InHiLightMode() == (c.expected == c.text), c.name);
    // A bookmark after the edit moves with its text.
    const int moved = int(c.expected.size()) - int(c.text.size());
    if (c.key != Qt::Key_Y && moved != 0 && c.caret < c.text.size())
      QVERIFY2(editor.GetBookmarkPos(mark) == markBefore + moved, c.name);
    if (c.key == Qt::Key_Y) {
      QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
      QVERIFY2(editor.GetTextRange(CHARRANGE{0, -1}) == c.expected, "Ctrl+Y redoes nothing");
    }
  }
}

void RichEditInputQTest::ReplaceAllUndoneAndRedoneByKeys() {
  RichEdit20 editor;
  editor.show();
  const QString before = QStringLiteral("cat dog cat dog cat dog cat dog cat");
  editor.SetText(before, false);
  editor.ResetDirtyFlag();
  QCOMPARE(editor.ReplaceAll("cat", "bird", 0, false, false, true, -1), 5);
  const QString after = editor.GetTextRange(CHARRANGE{0, -1});
  QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(editor.GetTextRange(CHARRANGE{0, -1}), before);
  QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  QCOMPARE(editor.GetTextRange(CHARRANGE{0, -1}), after);
  // The menu key's release opens no menu.
  QTest::keyClick(&editor, Qt::Key_Menu);
  QVERIFY(!editor.PopupMenu()->isVisible());
}

void RichEditInputQTest::MouseSelectionAndQuickClip() {
  RichEdit20 editor;
  editor.resize(400, 200);
  editor.show();
  QVERIFY(QTest::qWaitForWindowExposed(&editor));
  editor.SetText(QStringLiteral("alpha beta gamma"), false);
  int made = 0, words = 0;
  editor.OnSelectionMade = [&](QObject*) { ++made; };
  editor.OnWholeWordSelected = [&](QObject*) { ++words; };
  QWidget* view = editor.viewport();
  // A drag backwards over "beta": the caret is where the drag ended.
  QTest::mousePress(view, Qt::LeftButton, {}, PointOf(editor, 10) - QPoint(2, 0));
  QTest::mouseMove(view, PointOf(editor, 6) - QPoint(2, 0));
  QTest::mouseRelease(view, Qt::LeftButton, {}, PointOf(editor, 6) - QPoint(2, 0));
  QCOMPARE(editor.GetSelection().cpMin, 6);
  QCOMPARE(editor.GetSelection().cpMax, 10);
  QVERIFY(made >= 1 && words >= 1 && editor.SelectionMarked);
  QCOMPARE(editor.GetCaretPos(), 6);
  // From the keyboard.
  made = words = 0;
  editor.SetSelection(0, 0);
  for (int i = 0; i < 5; ++i) QTest::keyClick(&editor, Qt::Key_Right, Qt::ShiftModifier);
  QVERIFY(made >= 1 && words >= 1);

  // Quick clip: Ctrl copies, Ctrl+Shift cuts, a plain middle click pastes.
  editor.SetQuickClip(true);
  QApplication::clipboard()->clear();
  editor.SetSelection(0, 5);
  QTest::mouseClick(view, Qt::MiddleButton, Qt::ControlModifier, PointOf(editor, 2));
  QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("alpha"));
  QCOMPARE(editor.GetLength(), 16);
  editor.SetSelection(6, 11);
  QTest::mouseClick(view, Qt::MiddleButton, Qt::ControlModifier | Qt::ShiftModifier, PointOf(editor, 8));
  QCOMPARE(editor.GetTextRange(CHARRANGE{0, -1}), QStringLiteral("alpha gamma"));
  editor.SetSelection(0, 0);
  QTest::mouseClick(view, Qt::MiddleButton, {}, PointOf(editor, 0));
  QVERIFY(editor.GetTextRange(CHARRANGE{0, -1}).contains(QStringLiteral("beta ")));
  QVERIFY(editor.GutterRefreshPending);
}

void RichEditInputQTest::LinkClicksOpenOnlyWebAddresses() {
  BrowserDouble browser;
  Prompt::Double prompts;
  RichEdit20 editor;
  editor.resize(600, 200);
  editor.show();
  QVERIFY(QTest::qWaitForWindowExposed(&editor));
  editor.SetText(QStringLiteral("go http://a.example/x then www.b.example or file:///etc/passwd telnet://h "
                                "javascript:alert(1)"),
                 false);
  editor.ResetDirtyFlag();
  editor.SetAutoUrlDetect(true);
  QCoreApplication::processEvents();
  QVERIFY(!editor.IsDirty());
  // Marked on the layout only: the first link's characters carry an underline there.
  const QTextBlock block = editor.document()->firstBlock();
  const auto formats = block.layout()->formats();
  QCOMPARE(int(formats.size()), 2);
  QWidget* view = editor.viewport();
  const QString text = editor.GetTextRange(CHARRANGE{0, -1});
  for (const char* target : {"http://a", "www.b", "file:", "telnet:", "javascript:"})
    QTest::mouseClick(view, Qt::LeftButton, {}, PointOf(editor, int(text.indexOf(QLatin1String(target))) + 3));
  QCOMPARE(browser.opened, (QList<QUrl>{QUrl("http://a.example/x"), QUrl("http://www.b.example")}));
  // A press on a link and a drag away does not open it.
  QTest::mousePress(view, Qt::LeftButton, {}, PointOf(editor, 6));
  QTest::mouseMove(view, PointOf(editor, 1));
  QTest::mouseRelease(view, Qt::LeftButton, {}, PointOf(editor, 1));
  QCOMPARE(browser.opened.size(), 2);
  QVERIFY(!editor.IsDirty());
}

void RichEditInputQTest::ContextMenuFollowsTheState() {
  Prompt::Double prompts;
  RichEdit20 editor;
  editor.show();
  RichEditPopupMenu* menu = editor.PopupMenu();
  QApplication::clipboard()->clear();
  struct State {
    QString text;
    int start, end;
    bool readOnly;
    bool cut, copy, paste, selectAll, copyAll, clear;
  };
  for (const State& s : std::vector<State>{{"", 0, 0, false, false, false, false, false, false, false},
                                           {"text", 0, 0, false, false, false, false, true, true, true},
                                           {"text", 1, 3, false, true, true, false, true, true, true},
                                           {"text", 1, 3, true, false, true, false, false, true, false}}) {
    editor.SetReadOnly(false);
    editor.SetText(s.text, false);
    editor.SetSelection(s.start, s.end);
    editor.SetReadOnly(s.readOnly);
    menu->UpdateMenu();
    QCOMPARE(menu->CutItem->isEnabled(), s.cut);
    QCOMPARE(menu->CopyItem->isEnabled(), s.copy);
    QCOMPARE(menu->PasteItem->isEnabled(), s.paste);
    QCOMPARE(menu->PastePlainItem->isEnabled(), s.paste);
    QCOMPARE(menu->SelectAllItem->isEnabled(), s.selectAll);
    QCOMPARE(menu->CopyAllItem->isEnabled(), s.copyAll);
    QCOMPARE(menu->ClearItem->isEnabled(), s.clear);
    QVERIFY(!menu->CloseItem->isVisible());
  }
  // Paste Plain with no text on the clipboard inserts nothing.
  editor.SetReadOnly(false);
  editor.SetSelection(0, 0);
  menu->UpdateMenu();
  editor.Paste(true);
  QCOMPARE(editor.GetLength(), 4);
  // No keeps the text; Yes clears it.
  prompts.Answer(Prompt::No);
  menu->ClearItem->trigger();
  QCOMPARE(editor.GetLength(), 4);
  QCOMPARE(prompts.Shown().size(), 1);
  menu->ClearItem->trigger();
  QCOMPARE(editor.GetLength(), 0);
  // Close shows and runs only with a handler.
  int closed = 0;
  menu->CloseHandler = [&](QObject*) { ++closed; };
  menu->UpdateMenu();
  QVERIFY(menu->CloseItem->isVisible());
  menu->CloseItem->trigger();
  QCOMPARE(closed, 1);
  // A right click opens the menu wherever it is and however the hand moves meanwhile:
  // inside the selection or outside it, with the text set in from the edges or not.
  editor.SetText(QStringLiteral("one two three"), false);
  QWidget* view = editor.viewport();
  for (const int inset : {0, 5, 10, 24}) {
    editor.SetRectLeftAdj(inset);
    editor.SetRectTopAdj(inset / 2);
    for (const int at : {1, 5, 9}) {
      editor.SetSelection(0, 7);
      const QPoint press = PointOf(editor, at);
      QTest::mousePress(view, Qt::RightButton, {}, press);
      QTest::mouseMove(view, press + QPoint(1, 0));
      QTest::mouseRelease(view, Qt::RightButton, {}, press + QPoint(1, 0));
      QVERIFY2(menu->isVisible(), qPrintable(QStringLiteral("inset %1 at %2").arg(inset).arg(at)));
      menu->hide();
    }
  }
  // The insets around the text are the editor's too: a right click in the left or the top
  // one opens the menu as well.
  editor.SetRectLeftAdj(10);
  editor.SetRectTopAdj(5);
  const QRect inner = editor.contentsRect();
  const QRect text = editor.viewport()->geometry();
  QVERIFY(text.left() - inner.left() >= 10 && text.top() - inner.top() >= 5);
  for (const QPoint at : {QPoint(inner.left(), text.center().y()), QPoint(text.left() - 1, text.top() + 3),
                          QPoint(text.center().x(), inner.top()), QPoint(text.left() + 4, text.top() - 1)}) {
    QTest::mousePress(&editor, Qt::RightButton, {}, at);
    QTest::mouseRelease(&editor, Qt::RightButton, {}, at);
    QVERIFY2(menu->isVisible(), qPrintable(QStringLiteral("inset at %1,%2").arg(at.x()).arg(at.y())));
    menu->hide();
  }
  // While the menu is suppressed, no click opens it.
  editor.ContextMenuSuppressed = true;
  QTest::mouseClick(view, Qt::RightButton, {}, PointOf(editor, 9));
  QVERIFY(!menu->isVisible());
  QTest::mouseClick(&editor, Qt::RightButton, {}, QPoint(inner.left(), text.center().y()));
  QVERIFY(!menu->isVisible());
  editor.ContextMenuSuppressed = false;
}

void RichEditInputQTest::TheCaretIsWhereTheCursorIs() {
  RichEdit20 editor;
  editor.show();
  // Worked by hand: the caret is the moving end of a selection made leftwards.
  editor.SetText(QStringLiteral("hello world"), false);
  editor.SetSelection(11, 11);
  for (int i = 0; i < 5; ++i) QTest::keyClick(&editor, Qt::Key_Left, Qt::ShiftModifier);
  QCOMPARE(editor.GetCaretPos(), 6);
  QCOMPARE(editor.GetCurrLineAndColumn(true), std::make_pair(LONG(0), LONG(6)));
  QCOMPARE(editor.GetBookmarkPos(editor.SetBookmark(-1)), 6);

  // Over random key sequences, on two lines, the caret is always the cursor's end.
  editor.SetText(QStringLiteral("first line\rsecond"), false);
  struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
  };
  const Key keys[] = {{Qt::Key_Left, Qt::NoModifier},  {Qt::Key_Right, Qt::NoModifier},   {Qt::Key_Left, Qt::ShiftModifier},
                      {Qt::Key_Right, Qt::ShiftModifier}, {Qt::Key_Home, Qt::NoModifier}, {Qt::Key_End, Qt::NoModifier},
                      {Qt::Key_Home, Qt::ShiftModifier}, {Qt::Key_End, Qt::ShiftModifier}, {Qt::Key_Up, Qt::ShiftModifier},
                      {Qt::Key_Down, Qt::NoModifier},    {Qt::Key_Q, Qt::NoModifier},     {Qt::Key_Backspace, Qt::NoModifier}};
  QRandomGenerator random(42);
  for (int step = 0; step < 400; ++step) {
    const Key& key = keys[random.bounded(int(std::size(keys)))];
    QTest::keyClick(&editor, key.key, key.modifiers);
    QVERIFY2(editor.GetCaretPos() == editor.textCursor().position(), qPrintable(QStringLiteral("step %1").arg(step)));
  }
}

void RichEditInputQTest::ObjectsAreNeverInserted() {
  Prompt::Double prompts;
  RichEdit20 editor;
  editor.SetText(QStringLiteral("text"), false);
  editor.SetSelection(2, 2);
  QVERIFY(!editor.InsertObject());
  QCOMPARE(prompts.Shown().size(), 1);
  QCOMPARE(prompts.Shown()[0].text, QStringLiteral("The requested object could not be inserted.  5"));

  QTemporaryDir dir;
  const QString jpeg = dir.filePath("photo.jpg"), upper = dir.filePath("photo.JPG"), bad = dir.filePath("bad.jpg");
  QImage picture(24, 16, QImage::Format_RGB32);
  picture.fill(Qt::darkCyan);
  QVERIFY(picture.save(jpeg, "JPEG") && picture.save(upper, "JPEG"));
  QFile broken(bad);
  QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("\xFF\xD8not a picture") > 0);
  broken.close();
  const QDir temps(GetTempFileFolder());
  const QStringList before = temps.entryList(QDir::Files);
  prompts.Clear();
  for (const QString& path : {dir.path(), upper, jpeg}) QVERIFY(!editor.InsertObjectFile(path));
  QVERIFY(prompts.Shown().isEmpty());
  QCOMPARE(temps.entryList(QDir::Files), before);
  QVERIFY(!editor.InsertObjectFile(bad));
  QCOMPARE(prompts.Shown().size(), 1);
  QCOMPARE(prompts.Shown()[0].text, QStringLiteral("An error occurred while trying to insert file\n") + bad);
  QCOMPARE(editor.GetTextRange(CHARRANGE{0, -1}), QStringLiteral("text"));
  QCOMPARE(editor.GetSelection().cpMin, 2);
}

void RichEditInputQTest::DownloadDialogTexts() {
  const char* wanted[] = {"Word 97 converter now", "Internet Explorer now", "Word 97 Viewer now"};
  for (int which = 0; which < 3; ++which) {
    TDownloadDlg dialog(nullptr, which);
    QCOMPARE(dialog.size(), QSize(373, 221));
    QVERIFY(dialog.MessageLbl->text().isEmpty());
    dialog.show();
    QVERIFY(dialog.DownloadMsgLbl->text().contains(QLatin1String(wanted[which])));
    QVERIFY(dialog.DownloadMsgLbl->text().endsWith(QLatin1String("(Its free!)")));
    dialog.hide();
    dialog.MessageLbl->setText(QStringLiteral("kept"));
    dialog.show();
    QCOMPARE(dialog.MessageLbl->text(), QStringLiteral("kept"));
    HelpWindow::Instance()->hide();
    dialog.DownloadBtn->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(HelpWindow::Instance()->isVisible(), which != 1);
  }
  HelpWindow::Instance()->close();
}

// A note as the note window shows it: read-only with a link and a picture, then editable.
void RichEditInputQTest::NoteWindowUse() {
  BrowserDouble browser;
  const QByteArray picture =
      PictureFixtures::Pict("\\dibitmap0", PictureFixtures::Dib(PictureFixtures::Reference()), QSize(6, 4));
  const QByteArray rtf = PictureFixtures::Note(" see http://n.example/ " + picture + " end");
  RichEdit20 reader;
  reader.resize(500, 150);
  reader.show();
  QVERIFY(QTest::qWaitForWindowExposed(&reader));
  reader.Note().Install(ReadRtf(rtf));
  reader.SetReadOnly(true);
  reader.SetAutoUrlDetect(true);
  reader.ResetDirtyFlag();
  const QString text = reader.GetTextRange(CHARRANGE{0, -1});
  reader.SetSelection(0, 0);
  for (int i = 0; i < 4; ++i) QTest::keyClick(&reader, Qt::Key_Right, Qt::ShiftModifier);
  QCOMPARE(reader.GetSelSize(), 4);
  QTest::keyClick(&reader, Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(QApplication::clipboard()->text(), text.left(4));
  QTest::keyClick(&reader, Qt::Key_X);
  QTest::keyClick(&reader, Qt::Key_Y, Qt::ControlModifier);
  QCOMPARE(reader.GetTextRange(CHARRANGE{0, -1}), text);
  QTest::mouseClick(reader.viewport(), Qt::LeftButton, {}, PointOf(reader, int(text.indexOf("n.example"))));
  QCOMPARE(browser.opened, QList<QUrl>{QUrl("http://n.example/")});
  QVERIFY(!reader.IsDirty());

  // Editable: typing dirties, undo cleans; a pasted note moves the bookmarks after it.
  RichEdit20 writer;
  writer.show();
  writer.Note().Install(ReadRtf(rtf));
  writer.ResetDirtyFlag();
  writer.EmptyUndoBuffer();
  writer.SetSelection(1, 1);
  QTest::keyClick(&writer, Qt::Key_Q);
  QVERIFY(writer.IsDirty());
  QTest::keyClick(&writer, Qt::Key_Z, Qt::ControlModifier);
  QVERIFY(!writer.IsDirty());
  const int mark = writer.SetBookmark(5);
  QGuiApplication::clipboard()->setMimeData(NoteClipboard::MimeFromRange(reader.Note(), 0, -1).release());
  writer.GutterRefreshPending = false;
  writer.SetSelection(2, 2);
  writer.Paste(false);
  QCOMPARE(writer.GetLength(), 2 * reader.GetLength());
  QCOMPARE(writer.GetBookmarkPos(mark), 5 + reader.GetLength());
  QVERIFY(writer.GutterRefreshPending);
}

TV_QTEST_MAIN(RichEditInputQTest)
#include "RichEditInputQTest.moc"
