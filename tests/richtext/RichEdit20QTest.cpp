// The note editor control: display lines and geometry over every position of a real
// document, the dirty state through edits and mode switches, a read-only note, every format
// attribute the setters use, and the bounds of the text and selection copies.

#include "NoteFixtures.h"
#include "QtTestMain.h"
#include "Yelk/AbortRegister.h"
#include "Yelk/ERangeError.h"
#include "richtext/RichEdit20.h"
#include "richtext/RichIO.h"
#include "richtext/RichFont.h"
#include "richtext/RichParagraph.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QMimeData>
#include <QSignalSpy>
#include <QTextDocument>

namespace {

const char* const kFace = "DejaVu Sans";

// Wrapped paragraphs, a bulleted one, a picture and a page break.
QByteArray Fixture() {
  QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss DejaVu Sans;}}\\f0\\fs20 ";
  for (int p = 0; p < 6; ++p) {
    if (p == 2) rtf += "{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}\\fi-360\\li360 ";
    for (int w = 0; w < 30; ++w) rtf += w % 7 == 3 ? "harbour " : "gulls ";
    if (p == 3) rtf += "{\\pict\\wmetafile8\\picw1000\\pich1000\\picwgoal600\\pichgoal600 0102} after ";
    if (p == 4) rtf += "\\page ";
    rtf += "\\par\\pard ";
  }
  return rtf + "end}";
}

void Load(RichEdit20& editor, const QByteArray& rtf) {
  MemoryStream memory;
  memory.data = rtf;
  EDITSTREAM stream = memory.In();
  editor.EmStreamIn(SF_RTF, stream);
}

RichFont::Font Pinned(const QString& face = kFace, int size = 10) {
  RichFont::Font font;
  font.name = face;
  font.size = size;
  return font;
}

// The editor shown with a pinned default font and a document in it.
struct Shown {
  RichEdit20 editor;
  explicit Shown(const QByteArray& rtf = Fixture(), QSize size = QSize(400, 300)) {
    const RichFont::Font font = Pinned();
    editor.GetFont()->SetInitialDefault(&font);
    editor.resize(size);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    Load(editor, rtf);
    editor.ResetDirtyFlag();
  }
};

NoteSnapshot Look(RichEdit20& editor) { return Snapshot(*editor.document()); }

}  // namespace

class RichEdit20QTest : public QObject {
  Q_OBJECT

private slots:
  // An editor going with its window tells no one of its selection or cursor: the window that
  // listens is already half destroyed when its children go (the note window's close).
  void anEditorBeingDestroyedTellsNothing() {
    auto* editor = new RichEdit20;
    Load(*editor, Fixture());
    editor->SetSelection(0, 40);
    int heard = 0;
    QObject listener;
    connect(editor, &QTextEdit::selectionChanged, &listener, [&heard] { ++heard; });
    connect(editor, &QTextEdit::cursorPositionChanged, &listener, [&heard] { ++heard; });
    delete editor;
    QCOMPARE(heard, 0);
  }
  void linesAndPointsAgreeOverEveryPosition() {
    Shown shown;
    RichEdit20& editor = shown.editor;
    const LONG wide = editor.GetLineCount();
    QVERIFY(wide > 12);  // six paragraphs, each wrapped
    editor.resize(220, 300);
    QVERIFY(editor.GetLineCount() > wide);

    const LONG length = editor.GetLength();
    for (LONG p = 0; p <= length; ++p) {
      const LONG line = editor.GetLineFromPos(p);
      QVERIFY2(editor.GetLinePos(line) <= p && (line + 1 >= editor.GetLineCount() || editor.GetLinePos(line + 1) > p),
               qPrintable(QString("position %1, line %2").arg(p).arg(line)));
      // A character without width (a page break) shares its point with the next one.
      const QPoint point = editor.PointFromCharPos(p);
      if (p < length && editor.PointFromCharPos(p + 1) == point) continue;
      QCOMPARE(editor.CharPosFromPoint(point), p);
    }
    QCOMPARE(editor.GetLinePos(editor.GetLineCount()), -1);
    QCOMPARE(editor.CharPosFromPoint(QPoint(5, 100000)), length);

    // Character cells follow the pinned font's own advances.
    const QFontMetricsF metrics(QFont(kFace, 10));
    const LONG g = editor.GetTextRange(CHARRANGE{0, -1}).indexOf("gulls");
    QVERIFY(qAbs(editor.PointFromCharPos(g + 1).x() - editor.PointFromCharPos(g).x() - metrics.horizontalAdvance('g')) <= 1.0);
  }

  void visibleRangeFollowsScrolling() {
    Shown shown(Fixture(), QSize(220, 120));
    RichEdit20& editor = shown.editor;
    editor.EmLineScroll(0, 5);
    const LONG first = editor.GetFirstVisibleLine();
    QCOMPARE(first, 5);
    const CHARRANGE visible = editor.GetVisibleRange();
    QCOMPARE(visible.cpMin, editor.GetLinePos(first));
    QVERIFY(visible.cpMax > visible.cpMin && visible.cpMax < editor.GetLength());
    QVERIFY(editor.PointFromCharPos(visible.cpMax).y() > editor.ClientRect().height());
    QVERIFY(editor.LineIsVisible(visible.cpMin));
    QVERIFY(!editor.LineIsVisible(0));
    QVERIFY(!editor.LineIsVisible(visible.cpMax + 1));

    editor.SetRectTopAdj(editor.ClientRect().height());  // nothing left to show text in
    QCOMPARE(editor.GetVisibleRange().cpMin, -999);
    QCOMPARE(editor.GetVisibleRange().cpMax, -999);
  }

  void gutterAndInsetsPlaceTheText() {
    Shown shown;
    RichEdit20& editor = shown.editor;
    QCOMPARE(editor.PointFromCharPos(0), QPoint(15, 5));
    editor.SetGutterPresent(true);
    editor.SetRectLeftAdj(0);
    QCOMPARE(editor.PointFromCharPos(0).x(), editor.GetGutterWidth() + 1);
    editor.SetRectLeftAdj(10);
    QCOMPARE(editor.PointFromCharPos(0).x(), editor.GetGutterWidth() + 10);
  }

  void mouseSelectsLinesAndWholeWords() {
    Shown shown;
    RichEdit20& editor = shown.editor;
    QSignalSpy changes(&editor, &RichEditWindow::SelChange);
    // A press in the left inset selects the display line beside it.
    const LONG line = 3;
    const QPoint beside = editor.PointFromCharPos(editor.GetLinePos(line)) + QPoint(-8, 4) + editor.contentsRect().topLeft();
    QTest::mouseClick(&editor, Qt::LeftButton, Qt::NoModifier, beside);
    QCOMPARE(editor.GetSelection().cpMin, editor.GetLinePos(line));
    QCOMPARE(editor.GetSelection().cpMax, editor.GetLinePos(line + 1));
    QVERIFY(!changes.isEmpty());
    const SELCHANGE last = changes.last().first().value<SELCHANGE>();
    QCOMPARE(last.chrg.cpMin, editor.GetLinePos(line));
    QCOMPARE(last.seltyp, WORD(SEL_TEXT | SEL_MULTICHAR));

    // With whole words on, a drag from inside one word into another takes both whole.
    editor.SetWholeWords(true);
    QVERIFY(editor.ReadWholeWords());
    const QString text = editor.GetTextRange(CHARRANGE{0, -1});
    const LONG from = text.indexOf("harbour") + 3, to = text.indexOf("gulls", from) + 2;
    auto at = [&editor](LONG p) { return editor.PointFromCharPos(p) + QPoint(1, 4) + editor.contentsRect().topLeft() - editor.viewport()->pos(); };
    QTest::mousePress(editor.viewport(), Qt::LeftButton, Qt::NoModifier, at(from));
    QMouseEvent move(QEvent::MouseMove, at(to), editor.viewport()->mapToGlobal(at(to)), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor.viewport(), &move);
    QTest::mouseRelease(editor.viewport(), Qt::LeftButton, Qt::NoModifier, at(to));
    QCOMPARE(editor.GetSelection().cpMin, from - 3);
    QCOMPARE(editor.GetSelection().cpMax, to + 3);

    changes.clear();
    editor.EmSetEventMask(ENM_NONE);
    editor.SetSelection(0, 2);
    QVERIFY(changes.isEmpty());
  }

  void modesEndOnAbortAndEdits() {
    Shown shown;
    RichEdit20& editor = shown.editor;
    editor.SetSelection(0, 3);
    editor.BeginPaintMode(3);
    QVERIFY(editor.SavedCharFormat() != nullptr && editor.SavedParaFormat() != nullptr);
    QCOMPARE(editor.SavedCharFormat()->yHeight, 200);
    AbortRegister::AR().Abort();
    QCOMPARE(editor.GetPaintMode(), RichEdit20::PaintModes(0));
    QVERIFY(editor.SavedCharFormat() == nullptr);
    editor.BeginHiLightMode(clYellow);
    QVERIFY(editor.InHiLightMode());
    editor.ReplaceSel("new", true, false);
    QVERIFY(!editor.InHiLightMode());
    {
      RichEdit20 gone;  // deregisters as it goes
    }
    AbortRegister::AR().Abort();
    QSignalSpy updates(&editor, &RichEditWindow::Update);
    editor.SetSelection(0, 3);
    editor.GetFont()->SetBold(true);
    QVERIFY(!updates.isEmpty());
  }

  void dirtyStateFollowsEditsAndModeSwitches() {
    Shown shown;
    RichEdit20& editor = shown.editor;
    QVERIFY(!editor.IsDirty());
    editor.setFocus();
    editor.SetSelection(3, 3);
    QTest::keyClick(&editor, Qt::Key_X);
    QVERIFY(editor.IsDirty());
    QVERIFY(editor.Undo());
    QVERIFY(!editor.IsDirty());
    QTest::keyClick(&editor, Qt::Key_Y);
    editor.EmptyUndoBuffer();
    QVERIFY(!editor.CanUndo());
    QVERIFY(editor.IsDirty());

    for (const bool dirty : {true, false}) {
      if (!dirty) editor.ResetDirtyFlag();
      const NoteSnapshot before = Look(editor);
      editor.SetWordWrap(false);
      QCOMPARE(editor.IsDirty(), dirty);
      editor.SetWordWrap(true);
      QCOMPARE(editor.IsDirty(), dirty);
      editor.SetPlainText(true);
      QVERIFY(editor.ReadPlainText());
      QCOMPARE(editor.IsDirty(), dirty);
      QCOMPARE(QString::fromStdString(Difference(before, Look(editor))), QString());
      editor.SetPlainText(false);  // from plain text: the text alone comes back
      QVERIFY(!editor.ReadPlainText());
      QCOMPARE(editor.IsDirty(), dirty);
      Load(editor, Fixture());
      editor.SetSelection(3, 3);
      QTest::keyClick(&editor, Qt::Key_Y);
    }

    // A note given from memory and then cleared has changed; a fresh editor cleared has not.
    RichEdit20 fresh;
    fresh.Clear();
    QVERIFY(!fresh.IsDirty());
    for (const QByteArray& note : {QByteArray("{\\rtf1 a note}"), QByteArray("a plain note")}) {
      RichEdit20 given;
      QVERIFY(given.GetIO()->SetContent(&note));
      QVERIFY(!given.IsDirty());
      given.Clear();
      QVERIFY2(given.IsDirty(), note.constData());
    }
  }

  // The selection shows without the focus only when the editor is told so; object storage
  // is refused, as there is no object support.
  void selectionWithoutFocusAndObjectStorage() {
    Shown shown;
    RichEdit20& editor = shown.editor;
    editor.clearFocus();
    QVERIFY(!editor.hasFocus());
    const auto shownColour = [&] { return editor.palette().color(QPalette::Inactive, QPalette::Highlight).alpha() > 0; };
    QVERIFY(editor.GetHideSelection());
    QVERIFY(!shownColour());
    editor.SetHideSelection(false);
    QVERIFY(shownColour());
    editor.ShowSelection(false);
    QVERIFY(!shownColour());
    editor.ShowSelection(true);
    editor.SetHideSelection(true);
    QVERIFY(!shownColour());
    editor.activateWindow();
    editor.setFocus();
    QTRY_VERIFY(editor.hasFocus());
    QVERIFY(editor.palette().color(QPalette::Active, QPalette::Highlight).alpha() > 0);
    QVERIFY(editor.GetNewStorage());
  }

  void readOnlyNoteSelectsAndCopiesButTakesNoInput() {
    Shown shown;
    RichEdit20& editor = shown.editor;
    editor.SetReadOnly(true);
    editor.setFocus();
    const QString text = editor.GetTextRange(CHARRANGE{0, -1});
    editor.SetSelection(0, 0);
    QTest::keyClick(&editor, Qt::Key_Z);
    QApplication::clipboard()->setText("pasted");
    editor.Paste(false);
    QCOMPARE(editor.GetTextRange(CHARRANGE{0, -1}), text);
    QVERIFY(!editor.IsDirty());

    QTest::keyClick(&editor, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&editor, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(editor.GetSelSize(), 2);
    editor.Copy();
    QCOMPARE(QApplication::clipboard()->text(), text.left(2));

    editor.ReplaceSel("Code", true, false);
    QVERIFY(editor.GetTextRange(CHARRANGE{0, -1}).startsWith("Code"));

    editor.SetReadOnly(false);
    QApplication::clipboard()->setText("pasted");
    editor.SetSelection(0, 4);
    editor.Paste(false);
    QVERIFY(editor.GetTextRange(CHARRANGE{0, -1}).startsWith("pasted"));
    QCOMPARE(editor.GetSelection().cpMin, 6);

    // A plain paste takes the text, not the formats.
    auto* both = new QMimeData;
    both->setData("text/rtf", "{\\rtf1\\ansi \\b bold\\b0}");
    both->setText("bold");
    QApplication::clipboard()->setMimeData(both);
    editor.SetSelection(0, 0);
    editor.Paste(false);
    editor.SetSelection(0, 4);
    QVERIFY(editor.GetFont()->ReadBold());
    editor.SetSelection(10, 10);  // after "boldpasted"
    editor.Paste(true);
    QCOMPARE(editor.GetTextRange(CHARRANGE{0, 14}), QString("boldpastedbold"));
    editor.SetSelection(10, 14);
    QVERIFY(!editor.GetFont()->ReadBold());
  }

  void characterAttributesGoThroughSetAndGet() {
    Shown shown;
    RichEdit20& editor = shown.editor;
    RichFont& font = *editor.GetFont();
    editor.SetSelection(6, 11);
    font.SetBold(true);
    QVERIFY(font.ReadBold());
    font.SetItalic(true);
    QVERIFY(font.ReadItalic());
    font.SetUnderline(true);
    QVERIFY(font.ReadUnderline());
    font.SetStrikeout(true);
    QVERIFY(font.ReadStrikeout());
    font.SetSubScript(true);
    QVERIFY(font.ReadSubScript() && !font.ReadSuperScript());
    font.SetSuperScript(true);
    QVERIFY(font.ReadSuperScript() && !font.ReadSubScript());
    font.SetSize(17);
    QCOMPARE(font.ReadSize(), 17);
    font.SetFaceName("Liberation Serif");
    QCOMPARE(font.ReadFaceName(), QString("Liberation Serif"));
    font.SetColor(clRed);
    QCOMPARE(font.ReadColor(), clRed);
    font.SetHiLight(clYellow);
    QCOMPARE(font.ReadHiLight(), clYellow);
    font.SetHiLight(clNone);
    QCOMPARE(font.ReadHiLight(), clNone);
    font.SetColor(clWindowText);
    QCOMPARE(font.ReadColor(), clWindowText);
    QCOMPARE(font.ReadAbsColor(), ClassColor::FromQColor(editor.palette().color(QPalette::Text)));
    // A system colour is the palette's colour, not the constant's bytes.
    font.SetColor(clBtnFace);
    QCOMPARE(font.ReadColor(), ClassColor::FromQColor(QApplication::palette().color(QPalette::Button)));
    font.SetBold(false);
    QVERIFY(!font.ReadBold());
    QVERIFY(font.ReadFixedWidth() == QFontInfo(QFont("Liberation Serif")).fixedPitch());
    QCOMPARE(RichFont::CharSetFromFontName("OpenSymbol"), RichFont::CharSetFromFontName("OpenSymbol"));
    QCOMPARE(RichFont::CharSetFromFontName(kFace), ANSI_CHARSET);

    editor.SetSelection(40, 42);
    font.SetBold(true);
    editor.SetSelection(38, 44);  // half bold
    QVERIFY((font.GetFormat().dwMask & CFM_BOLD) == 0);
    QVERIFY(font.GetFormat().dwMask & CFM_SIZE);

    // SCF_WORD: the whole word at the caret, accented letters included.
    editor.SetText("un café noir", false);
    editor.SetSelection(5, 5);
    font.SetMode(2);
    font.SetItalic(true);
    font.SetMode(1);
    for (LONG p = 0; p < editor.GetLength(); ++p) {
      editor.SetSelection(p, p + 1);
      QCOMPARE(font.ReadItalic(), p >= 3 && p < 7);
    }

    // The note window's set-up: the whole text in Arial 10 and the window's text colour.
    editor.SetSelection(2, 2);
    RichFont::Font arial = Pinned("Arial", 10);
    RichFont* noteFont = editor.GetFont();
    noteFont->SetInitialDefault(&arial);
    noteFont->SetMode(4);
    noteFont->SetFont(arial);
    editor.SetSelection(0, -1);
    const CHARFORMAT2 all = editor.GetFont()->GetFormat();
    QVERIFY((all.dwMask & (CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_ITALIC)) == (CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_ITALIC));
    QCOMPARE(QString(all.szFaceName), QString("Arial"));
    QCOMPARE(all.yHeight, 200);
    QVERIFY(all.dwEffects & CFE_AUTOCOLOR);
    QVERIFY(!(all.dwEffects & CFE_ITALIC));
    // Typed into the emptied note, after a click, in the default.
    editor.Clear();
    editor.setFocus();
    QTest::mouseClick(editor.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    QTest::keyClicks(&editor, "typed");
    editor.SetSelection(0, -1);
    QCOMPARE(editor.GetTextRange(CHARRANGE{0, -1}), QString("typed"));
    QCOMPARE(editor.GetFont()->ReadFaceName(), QString("Arial"));
    QCOMPARE(editor.GetFont()->ReadSize(), 10);
  }

  void paragraphAttributesGoThroughSetAndGet() {
    Shown shown;
    RichEdit20& editor = shown.editor;
    RichParagraph& para = *editor.GetParagraph();
    editor.SetSelection(2, 2);
    for (int a : {0, 2, 1}) {
      para.SetAlignment(a);
      QCOMPARE(para.ReadAlignment(), a);
    }
    editor.SetAdvancedTypography(false);  // switches it on all the same
    QVERIFY(editor.GetAdvancedTypography());
    para.SetAlignment(3);
    QCOMPARE(para.ReadAlignment(), 3);
    para.SetSpaceBefore(6);
    QCOMPARE(para.ReadSpaceBefore(), 6);
    para.SetSpaceAfter(4);
    QCOMPARE(para.ReadSpaceAfter(), 4);
    for (int s : {30, 40, 20}) {
      para.SetSpacing(s);
      QCOMPARE(para.ReadSpacing(), s);
    }
    para.SetIndentFirstLine(1);
    QCOMPARE(para.ReadIndentFirstLine(), 1);
    para.SetIndentFirstLine(0);
    QCOMPARE(para.ReadIndentFirstLine(), 0);
    para.SetHangingIndent(2);
    QCOMPARE(para.ReadHangingIndent(), 2);
    para.SetHangingIndent(0);
    QCOMPARE(para.ReadHangingIndent(), 0);
    para.SetBulletType(PFN_ARABIC);
    QCOMPARE(para.ReadBulletType(), int(PFN_ARABIC));
    QCOMPARE(para.ReadBulletStyle(), int(PFNS_PERIOD));
    QCOMPARE(para.ReadStartNumber(), 1);
    para.SetStartNumber(4);
    QCOMPARE(para.ReadStartNumber(), 4);
    para.SetBulletStyle(PFNS_PARENS);
    QCOMPARE(para.ReadBulletStyle(), int(PFNS_PARENS));
    QCOMPARE(para.ReadHangingIndent(), 0);  // numbered
    para.SetBulletType(0);
    QCOMPARE(para.ReadBulletType(), 0);
    PARAFORMAT2 same = para.GetFormat();
    QVERIFY(para.IsEqual(&same));
    same.dySpaceAfter += 1;
    QVERIFY(!para.IsEqual(&same));

    // Tab size over the whole text; half an inch is no stops where inches are used.
    for (const bool metric : {false, true}) {
      para.SetMetricLocale([metric] { return metric; });
      para.SetTabSize(360);
      para.SetTabSize(720);
      editor.SetSelection(0, -1);
      QCOMPARE(int(para.GetFormat().cTabCount), metric ? MAX_TAB_STOPS : 0);
      QCOMPARE(para.ReadTabSize(), metric ? 720 : 0);
      editor.SetSelection(2, 2);
    }

    // Indent steps: a quarter inch up to the next half inch, then half inches; never below 0.
    editor.SetSelection(0, 0);
    PARAFORMAT2 start;
    start.dwMask = PFM_STARTINDENT | PFM_OFFSET;
    start.dxStartIndent = 1080;
    para.SetFormat(start, false);
    para.Indent();
    QCOMPARE(para.GetFormat().dxStartIndent, 1440);
    para.Indent();
    QCOMPARE(para.GetFormat().dxStartIndent, 2160);
    start.dxStartIndent = 200;
    para.SetFormat(start, false);
    para.Outdent();
    QCOMPARE(para.GetFormat().dxStartIndent, 0);
    QCOMPARE(para.GetCurrParLineHeight(), 200);

    // A selection of paragraphs answers only what they share.
    editor.SetSelection(0, -1);
    QVERIFY(!(para.GetFormat().dwMask & (PFM_OFFSET | PFM_NUMBERING)));
    QVERIFY(para.GetFormat().dwMask & PFM_TABSTOPS);
  }

  void copiesStayInsideTheTextAndTheBuffer() {
    Shown shown;
    RichEdit20& editor = shown.editor;
    const LONG length = editor.GetLength();
    ChrArray small(4, "small");
    QCOMPARE(editor.GetTextRange(-1, 5, small), 0);
    QCOMPARE(editor.GetTextRange(5, 2, small), 0);
    QCOMPARE(editor.GetTextRange(1, 4, small), 3);
    QCOMPARE(QByteArray(small.C_array()), editor.GetTextRange(CHARRANGE{1, 4}).toLatin1());
    QVERIFY_THROWS_EXCEPTION(ERangeError, editor.GetTextRange(0, 4, small));
    QCOMPARE(QByteArray(small.C_array()), editor.GetTextRange(CHARRANGE{1, 4}).toLatin1());  // untouched
    QCOMPARE(editor.GetTextRange(0, 0x7FFFFFFF)->Size(), length + 1);
    QCOMPARE(editor.GetTextRange(5, 5)->Size(), 1);
    QCOMPARE(editor.GetTextRange(CHARRANGE{length - 3, 0x7FFFFFFF}).size(), 3);

    editor.SetSelection(0, 4);
    ChrArray tight(4, "tight");
    QVERIFY_THROWS_EXCEPTION(ERangeError, editor.GetSelText(tight));
    QCOMPARE(tight[0], '\0');
    ChrArray room(5, "room");
    QCOMPARE(editor.GetSelText(room), 4);

    // A set limit survives the set-up; an unset one is lifted.
    editor.SetMaxLength(100000);
    editor.InitialSetup(true);
    QCOMPARE(editor.GetMaxLength(), 100000);
    QCOMPARE(editor.EmGetLimitText(), 100000);

    // The background colour of a system colour is the palette's.
    editor.SetColor(clWindow);
    QCOMPARE(editor.palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));

    // Word boundaries hold inside accented words.
    editor.SetText("un café noir", false);
    QVERIFY(!editor.IsWholeWord(3, 6));
    QVERIFY(editor.IsWholeWord(3, 7));
    editor.SetSelection(5, 5);
    const CHARRANGE word = editor.GetWholeSelection();
    QCOMPARE(word.cpMin, 3);
    QCOMPARE(word.cpMax, 7);
    editor.SetSelection(3, 7);
    QVERIFY(editor.CurrSelIsWholeWord());
    QCOMPARE(editor.GetCharAt(editor.GetLength()), QChar(0));
    QCOMPARE(editor.GetCurrLineAndColumn(false), (std::pair<LONG, LONG>(1, 8)));

    RichEdit20 second;
    QCOMPARE(second.GetId(), editor.GetId() + 1);
    QVERIFY(second.GetPrinter() == nullptr);
    second.GoToPage(2);
    QCOMPARE(second.GetSelection().cpMin, 0);
  }
};

TV_QTEST_MAIN(RichEdit20QTest)
#include "RichEdit20QTest.moc"
