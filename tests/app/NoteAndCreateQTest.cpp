// The note window as every caller sees it, and the Create tab gathering a cover, a note and
// music for a picture and writing a still puzzle that the game's own reader opens again.

#include "QtTestMain.h"
#include "PreviewDecoder.h"
#include "PuzzleDialogHooks.h"
#include "TMainForm.h"
#include "TNoteFrm.h"
#include "TNoteOptsFrm.h"
#include "TPuzzleDialog2.h"
#include "../puzzle/MusicWriter.h"
#include "../puzzle/PuzzleFixtures.h"

#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "controls/ChooseBox.h"
#include "controls/IconListBox.h"
#include "controls/XPCheckBox.h"
#include "platform/CurrentPrinter.h"
#include "platform/ProgramStarter.h"
#include "puzzle/JigsawFile.h"
#include "puzzle/MusicFileKind.h"
#include "richtext/RichEdit20.h"
#include "richtext/RichIO.h"
#include "richtext/RichPrinter.h"
#include "settings/ProgSettings.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace {
const QByteArray FormattedNote =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Plain words and {\\b bold words} here.\\par "
    "Visit https://example.org/page now.\\par Or www.example.com today.\\par "
    "Never file:///etc/passwd please.\\par}";

// Runs act on the next modal window (other than `current`) once it is up. A window that
// act leaves open, as after a failed check, is ended so that the test goes on.
void WhenModalOther(QWidget* current, std::function<void(QWidget*)> act) {
  QTimer::singleShot(30, [owner = QPointer<QWidget>(current), watching = current != nullptr, act] {
    if (watching && (!owner || !owner->isVisible())) return;  // it ended without one
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == owner) return WhenModalOther(owner, act);
    QPointer<QWidget> watched(modal);
    act(modal);
    if (watched && watched->isVisible()) {
      if (auto* dialog = qobject_cast<QDialog*>(watched.data())) dialog->done(-1);
    }
  });
}

void WhenModal(std::function<void(QWidget*)> act) { WhenModalOther(nullptr, std::move(act)); }

void AnswerFileDialog(QWidget* modal, const QString& path) {
  auto* dialog = qobject_cast<QFileDialog*>(modal);
  QVERIFY(dialog);
  if (path.isEmpty()) {
    dialog->reject();
    return;
  }
  dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
  // A file that exists is replaced only after the dialog's own question.
  WhenModalOther(dialog, [](QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) box->button(QMessageBox::Yes)->click();
  });
  QMetaObject::invokeMethod(dialog, "accept");
}

// The whole screen, when a folder for pictures is given (run under a real X server to look).
void Shoot(const QString& name) {
  const QString folder = qEnvironmentVariable("TV_DIALOG_SHOTS");
  if (folder.isEmpty()) return;
  QTest::qWait(300);
  QGuiApplication::primaryScreen()->grabWindow(0).save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

TNoteFrm* NoteWindow(QWidget* modal) { return qobject_cast<TNoteFrm*>(modal); }

// Waits until the window has loaded its note (the load is queued after the first show).
// A loaded machine (the sanitizer pass beside other builds) can take longer than Qt's 5 s.
void WaitLoaded(TNoteFrm* window, bool expectText) {
  if (expectText) QTRY_VERIFY_WITH_TIMEOUT(window->Editor()->GetLength() > 0, 30000);
  QTest::qWait(20);
}

QString Scratch(const QString& name) { return PuzzleFixtures::ScratchPath(name); }

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Block(const std::function<bool(QIODevice&)>& copy) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  return copy(buffer) ? bytes : QByteArray("(failed)");
}

// A mono 8-bit WAVE image of 20 + extra samples.
QByteArray Wave(int extra) {
  QByteArray bytes("RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1F\0\0\x40\x1F\0\0\x01\0\x08\0data", 40);
  char length[4];
  qToLittleEndian(std::uint32_t(20 + extra), length);
  bytes.append(length, 4).append(QByteArray(20 + extra, '\x90'));
  qToLittleEndian(std::uint32_t(bytes.size() - 8), bytes.data() + 4);
  return bytes;
}

bool BoldAt(RichEdit20& editor, const QString& word) {
  const int at = editor.toPlainText().indexOf(word);
  QTextCursor cursor(editor.document());
  cursor.setPosition(at + 1);
  return at >= 0 && cursor.charFormat().fontWeight() >= QFont::Bold;
}

template <typename T>
T* Control(QWidget& dialog, const char* name) {
  T* control = dialog.findChild<T*>(QLatin1String(name));
  if (!control) qFatal("no control %s", name);
  return control;
}

void Select(TPuzzleDialog2& dialog, const QString& path) {
  auto* list = Control<IconListBox>(dialog, "PuzzleListBox");
  for (int row = 0; row < list->count(); ++row) {
    list->setCurrentRow(row);
    if (dialog.GetPuzzle() && dialog.GetPuzzle()->GetPath() == path) return;
  }
  QFAIL(qPrintable(QStringLiteral("not listed: ") + path));
}

void ChooseCover(TPuzzleDialog2& dialog, const QString& path) {
  WhenModal([path](QWidget* modal) { AnswerFileDialog(modal, path); });
  Control<QPushButton>(dialog, "PreviewBtn")->click();
}

// A folder of the Create tab holding one picture, "Picture.bmp"; with its slash.
QString CreateFolder(const QString& name) {
  const QString folder = Scratch(name + QLatin1Char('/'));
  QDir().mkpath(folder);
  PuzzleFixtures::WritePicture(name + QStringLiteral("/Picture.bmp"), 300, 200);
  Settings()->CreatePuzzleFolders = {folder};
  return folder;
}

void ShowCreateTab(TPuzzleDialog2& dialog, const QString& folder) {
  dialog.show();
  Control<QTabBar>(dialog, "TabControl1")->setCurrentIndex(2);
  Select(dialog, folder + QStringLiteral("Picture.bmp"));
}

void ChooseMusic(TPuzzleDialog2& dialog, const QString& path) {
  WhenModal([path](QWidget* modal) { AnswerFileDialog(modal, path); });
  Control<QPushButton>(dialog, "MusicBtn")->click();
}

// Types a note, ticks both options and answers the save question with `answer`.
void WriteNote(TPuzzleDialog2& dialog, const QString& text, Prompt::Double& prompts, Prompt::Button answer) {
  WhenModal([text, &prompts, answer](QWidget* modal) {
    TNoteFrm* window = NoteWindow(modal);
    QVERIFY(window);
    WaitLoaded(window, false);
    QVERIFY(!window->Editor()->GetReadOnly());
    window->Editor()->selectAll();
    QTest::keyClicks(window->Editor(), text);
    WhenModalOther(window, [](QWidget* options) {
      auto* frm = qobject_cast<TNoteOptsFrm*>(options);
      QVERIFY(frm);
      frm->HiddenChkBox->click();
      frm->PopupChkBox->click();
      frm->Button1->click();
    });
    window->OptionsAtn->trigger();
    prompts.Answer(answer);
    window->CloseAtn->trigger();
  });
  Control<QPushButton>(dialog, "InfoBtn")->click();
}

// Ends the test program when what runs meanwhile blocks instead of failing.
struct Watchdog {
  explicit Watchdog(unsigned seconds) { alarm(seconds); }
  ~Watchdog() { alarm(0); }
};

// The preview's picture size once drawn again, after the sample piece came and went with the
// focus and the decoding thread handed it back (empty: none).
QSize RedrawnPreview(TPuzzleDialog2& dialog) {
  dialog.activateWindow();
  QCoreApplication::processEvents();
  Control<ChooseBox>(dialog, "NumPiecesBox")->setFocus();
  if (!Control<QLabel>(dialog, "BoxCoverLbl")->text().contains(QLatin1String("typical puzzle piece"))) return {};
  Control<QPushButton>(dialog, "MusicBtn")->setFocus();
  PreviewDecoder::WaitForAll();
  QCoreApplication::sendPostedEvents();
  auto* preview = Control<QLabel>(dialog, "PreviewImg");
  return preview->isHidden() ? QSize() : preview->pixmap().size();
}

// Clicks the save button with the file dialog answered; whether the dialog stayed open.
bool Save(TPuzzleDialog2& dialog, const QString& name) {
  WhenModal([name](QWidget* modal) { AnswerFileDialog(modal, name); });
  Control<QPushButton>(dialog, "OpenBtn")->click();
  return dialog.isVisible();
}
}  // namespace

class NoteAndCreateQTest : public QObject {
  Q_OBJECT
public slots:
  void Open(const QUrl& url) { opened << url.toString(); }

private:
  QStringList opened;

private slots:
  // Read-only and editable windows: loading, the save question, the toolbar, printing, the
  // word processor, links and refused notes.
  void noteWindowShowsAsksAndPrints() {
    Prompt::Double prompts;
    {  // Read-only without a note: nothing loads, nothing takes the focus.
      TNoteFrm window(nullptr);
      window.SetViewOnly();
      WhenModal([&](QWidget*) {
        QTest::qWait(50);
        QCOMPARE(window.Editor()->GetLength(), 0);
        window.close();
      });
      QCOMPARE(window.exec(), int(QDialog::Rejected));
      QVERIFY(prompts.Shown().isEmpty());
    }
    {  // Read-only with a note: formatted, after the show; the editing commands are gone.
      TNoteFrm window(nullptr);
      window.SetNoteStream(&FormattedNote);
      window.SetViewOnly();
      QCOMPARE(window.windowType(), Qt::Tool);
      QCOMPARE(window.Editor()->GetLength(), 0);
      WhenModal([&](QWidget*) {
        WaitLoaded(&window, true);
        QVERIFY(window.Editor()->toPlainText().contains(QLatin1String("Plain words")));
        QVERIFY(BoldAt(*window.Editor(), QStringLiteral("bold")));
        QVERIFY(!BoldAt(*window.Editor(), QStringLiteral("Plain")));
        Shoot(QStringLiteral("note-readonly"));
        for (QAction* a : {window.PasteAtn, window.WordPadAtn, window.OptionsAtn, window.HelpAtn})
          QVERIFY(!a->isVisible() && !a->isEnabled());
        QVERIFY(!window.CopyAtn->isEnabled());
        window.Editor()->SetSelection(0, 5);
        QTRY_VERIFY(window.CopyAtn->isEnabled());
        // Links: web addresses reach the opener, a local file never does.
        for (const char* scheme : {"http", "https", "file"}) QDesktopServices::setUrlHandler(scheme, this, "Open");
        for (const char* word : {"https://example.org", "www.example.com", "file:///etc"}) {
          const int at = window.Editor()->toPlainText().indexOf(QLatin1String(word)) + 3;
          const QPoint point = window.Editor()->PointFromCharPos(at) + QPoint(1, 4);
          QTest::mouseMove(window.Editor()->viewport(), point);
          QTest::mouseClick(window.Editor()->viewport(), Qt::LeftButton, {}, point);
        }
        for (const char* scheme : {"http", "https", "file"}) QDesktopServices::unsetUrlHandler(scheme);
        QTest::keyClick(&window, Qt::Key_Escape);
      });
      QCOMPARE(window.exec(), int(QDialog::Rejected));
      QVERIFY(prompts.Shown().isEmpty());
      QCOMPARE(opened.size(), 2);
      QVERIFY(opened[0].startsWith(QLatin1String("https://example.org")));
      QVERIFY(opened[1].contains(QLatin1String("www.example.com")));
    }
    // Editable: the question comes only after a change of the text or of the options, and
    // Yes gives a note that loads back the same.
    struct Case {
      bool type, options;
      Prompt::Button answer;
      int result;
    };
    for (const Case& c : {Case{false, false, Prompt::Yes, QDialog::Rejected},
                          Case{false, true, Prompt::No, QDialog::Rejected},
                          Case{true, false, Prompt::No, QDialog::Rejected},
                          Case{true, true, Prompt::Yes, QDialog::Accepted}}) {
      prompts.Clear();
      TNoteFrm window(nullptr);
      window.SetUpForEditing();
      window.SetNoteStream(&FormattedNote);
      WhenModal([&](QWidget*) {
        WaitLoaded(&window, true);
        QVERIFY(window.Editor()->hasFocus());
        QGuiApplication::clipboard()->clear();
        QTRY_VERIFY(!window.PasteAtn->isEnabled());
        QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
        QTRY_VERIFY(window.PasteAtn->isEnabled());
        if (c.type) {
          window.Editor()->SetSelection(0, 0);
          QTest::keyClicks(window.Editor(), QStringLiteral("Typed "));
        }
        if (c.type && c.options) Shoot(QStringLiteral("note-editing"));
        if (c.options) {
          WhenModalOther(&window, [c](QWidget* options) {
            auto* frm = qobject_cast<TNoteOptsFrm*>(options);
            frm->PopupChkBox->click();
            if (c.type) Shoot(QStringLiteral("note-options"));
            frm->Button1->click();
          });
          window.OptionsAtn->trigger();
        }
        prompts.Answer(c.answer);
        window.close();  // the close box
      });
      QCOMPARE(window.exec(), c.result);
      QCOMPARE(prompts.Shown().size(), c.type || c.options ? 1 : 0);
      if (!prompts.Shown().isEmpty())
        QCOMPARE(prompts.Shown()[0].text, QStringLiteral("Do you want to save your changes?"));
      QCOMPARE(window.shownAtCompletion, c.options);
      if (c.result != QDialog::Accepted) continue;
      QByteArray saved;
      QVERIFY(window.SaveNote(saved));
      RichEdit20 reader;
      QVERIFY(reader.GetIO()->SetContent(&saved));
      QCOMPARE(reader.toPlainText(), window.Editor()->toPlainText());
      QVERIFY(reader.toPlainText().startsWith(QLatin1String("Typed Plain words")));
      QVERIFY(BoldAt(reader, QStringLiteral("bold")) && !BoldAt(reader, QStringLiteral("Plain")));
    }
  }

  // A long note grows the window once, inside the screen area; print after the set-up
  // dialog only; notes the reader refuses leave the window empty.
  void noteWindowGrowsPrintsAndRefuses() {
    Prompt::Double prompts;
    QByteArray longNote = "{\\rtf1\\ansi ";
    for (int i = 0; i < 120; ++i) longNote += "Line " + QByteArray::number(i) + "\\par ";
    longNote += "}";
    for (const QRect& area : {QRect(0, 0, 1600, 1200), QRect(40, 30, 700, 420)}) {
      TNoteFrm::SetAreaSource([area](const QRect&) { return area; });
      TNoteFrm window(nullptr);
      window.SetNoteStream(&longNote);
      window.SetViewOnly();
      window.move(area.topLeft() + QPoint(20, 150));
      const int before = window.height();
      WhenModal([&](QWidget*) {
        WaitLoaded(&window, true);
        QTRY_VERIFY(window.height() > before);
        QTest::qWait(50);
        QVERIFY(area.contains(window.frameGeometry()));
        const int border = window.frameGeometry().height() - window.height();
        QCOMPARE(window.height(), std::min(before + 200, area.height() - border));
        window.CloseAtn->trigger();
      });
      window.exec();
    }
    TNoteFrm::SetAreaSource(nullptr);

    // Printing: to a PDF printer, every page, and nothing when the set-up is cancelled.
    const QString pdf = Scratch(QStringLiteral("note.pdf"));
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdf);
    CurrentPrinter::Install(std::move(printer));
    Settings()->PrintingAvailable = true;
    for (bool accept : {false, true}) {
      QFile::remove(pdf);
      int asked = 0;
      TNoteFrm::SetPrintSetup([&](QWidget*) { return ++asked, accept; });
      TNoteFrm window(nullptr);
      window.SetNoteStream(&longNote);
      window.SetViewOnly();
      WhenModal([&](QWidget*) {
        WaitLoaded(&window, true);
        QVERIFY(window.PrintAtn->isEnabled());
        window.PrintAtn->trigger();
        window.CloseAtn->trigger();
      });
      window.exec();
      QCOMPARE(asked, 1);
      QCOMPARE(QFileInfo(pdf).size() > 0, accept);
      if (accept) {
        RichPrinter* notePrinter = window.Editor()->GetPrinter();
        QVERIFY(notePrinter->GetPageCount() > 1);
        QCOMPARE(int(notePrinter->Sheets().size()), notePrinter->GetPageCount());
      }
    }
    TNoteFrm::SetPrintSetup(nullptr);
    Settings()->PrintingAvailable = false;
    {
      TNoteFrm window(nullptr);
      window.SetViewOnly();
      WhenModal([&](QWidget*) { window.CloseAtn->trigger(); });
      window.exec();
      QVERIFY(!window.PrintAtn->isEnabled());
    }

    // Refused and cut notes: an empty window, no crash.
    for (const QByteArray& bad : {FormattedNote.left(40), QByteArray("{\\rtf1{\\fonttbl{\\f0"),
                                  QByteArray("{\\rtf1\\bin999999999 x}"), QByteArray("{\\rtf1 ") + QByteArray(5000, '{')}) {
      TNoteFrm window(nullptr);
      window.SetNoteStream(&bad);
      window.SetViewOnly();
      bool loaded = false;
      WhenModal([&](QWidget*) {
        WaitLoaded(&window, false);
        QTest::qWait(30);
        RichEdit20 probe;
        loaded = probe.GetIO()->SetContent(&bad);
        if (!loaded) QCOMPARE(window.Editor()->GetLength(), 0);
        QVERIFY(window.Editor()->GetReadOnly());
        window.CloseAtn->trigger();
      });
      QCOMPARE(window.exec(), int(QDialog::Rejected));
    }
  }

  // The word processor: the chosen program, else the default; Shift chooses, Shift+Ctrl resets.
  void wordProcessorStartsTheChosenOrTheDefault() {
    Prompt::Double prompts;
    ProgramStarter::Double starter;
    const QString own = Scratch(QStringLiteral("mywriter"));
    QVERIFY(TestEnvironment::WriteFile(own, "#!/bin/sh\n"));
    QFile::setPermissions(own, QFile::permissions(own) | QFile::ExeOwner);
    starter.onPath = {QStringLiteral("abiword"), own};
    TNoteFrm window(nullptr);
    ProgSettings& settings = *Settings();
    const auto started = [&] {
      const QString program = starter.Calls().isEmpty() ? QString() : starter.Calls().constLast().program;
      starter.Clear();
      return program;
    };

    settings.WordProcessor = QStringLiteral("/gone/writer");
    window.WordPadAtnExecute(Qt::NoModifier);
    QCOMPARE(started(), QStringLiteral("/bin/abiword"));
    QCOMPARE(settings.WordProcessor, QStringLiteral("/gone/writer"));
    window.WordPadAtnExecute(Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(started(), QStringLiteral("/bin/abiword"));
    QVERIFY(settings.WordProcessor.isEmpty());

    WhenModal([](QWidget* modal) { AnswerFileDialog(modal, QString()); });
    window.WordPadAtnExecute(Qt::ShiftModifier);
    QCOMPARE(started(), QString());
    QVERIFY(settings.WordProcessor.isEmpty());
    WhenModal([&](QWidget* modal) {
      QCOMPARE(modal->windowTitle(), QStringLiteral("Choose a Word Processor"));
      AnswerFileDialog(modal, own);
    });
    window.WordPadAtnExecute(Qt::ShiftModifier);
    QCOMPARE(started(), own);
    QCOMPARE(settings.WordProcessor, own);
    window.WordPadAtnExecute(Qt::NoModifier);
    QCOMPARE(started(), own);

    settings.WordProcessor = QStringLiteral("WordPad.exe");
    starter.onPath = {QStringLiteral("libreoffice"), QStringLiteral("abiword")};
    window.WordPadAtnExecute(Qt::NoModifier);
    QCOMPARE(starter.Calls().size(), 1);
    QCOMPARE(starter.Calls()[0].arguments, QStringList{QStringLiteral("--writer")});
    QCOMPARE(started(), QStringLiteral("/bin/libreoffice"));
    QVERIFY(prompts.Shown().isEmpty());
    starter.onPath = {QStringLiteral("nothing")};
    window.WordPadAtnExecute(Qt::NoModifier);
    QCOMPARE(prompts.Shown().size(), 1);
    QCOMPARE(prompts.Shown()[0].text, QStringLiteral("No word processor could be started."));
    settings.WordProcessor.clear();
  }

  void musicFilesAreCheckedByTheirHeader() {
    struct Case {
      const char* name;
      QByteArray bytes;
      int kind;
    };
    const QByteArray midi("MThd\0\0\0\6\0\1\0\1\0\x60", 14);
    const QList<Case> cases = {
        {"a.mid", midi, 1},
        {"b.MIDI", midi, 1},
        {"c.Midi", midi.left(5), 1},
        {"d.wav", Wave(0), 2},
        {"e.WAV", QByteArray("RIFF\0\0\0\0WAVE", 12), 2},
        {"f.mid", "MThd", 0},
        {"g.wav", QByteArray("RIFF\0\0\0\0WAV", 11), 0},
        {"h.wav", QByteArray("RIFF\0\0\0\0AVI LIST", 16), 0},
        {"i.wav", QByteArray("RIFX\0\0\0\0WAVEfmt ", 16), 0},
        {"j.mid", Wave(0), 0},
        {"k.wav", midi, 0},
        {"l.mp3", midi, 0},
        {"m.midi.txt", midi, 0},
        {"n", midi, 0},
    };
    Prompt::Double prompts;
    for (const Case& c : cases) {
      prompts.Clear();
      QCOMPARE(MusicFileKind(QLatin1String(c.name), c.bytes), c.kind);
      QCOMPARE(prompts.Shown().size(), c.kind == 0 ? 1 : 0);
      if (c.kind == 0) {
        QCOMPARE(prompts.Shown()[0].text, QStringLiteral("The chosen file is not a valid MIDI or WAVE file."));
        QCOMPARE(prompts.Shown()[0].icon, Prompt::Stop);
      }
    }
  }

  // Gathered per picture, dropped on a change of selection, and written into a file that the
  // reader opens with the same cover, note and music.
  void createTabGathersAndWritesAStillPuzzle() {
    const QString folder = Scratch(QStringLiteral("create/"));
    QDir().mkpath(folder);
    const QString a = PuzzleFixtures::WritePicture(QStringLiteral("create/Alpha.bmp"), 320, 240);
    const QString b = PuzzleFixtures::WritePicture(QStringLiteral("create/Beta.jpg"), 300, 200);
    const QString cover = PuzzleFixtures::WritePicture(QStringLiteral("Cover.jpg"), 160, 120);
    const QString badCover = Scratch(QStringLiteral("Bad.jpg"));
    QVERIFY(TestEnvironment::WriteFile(badCover, "\xFF\xD8\xFF garbage"));
    const QString wave = Scratch(QStringLiteral("Tune.wav"));
    QVERIFY(TestEnvironment::WriteFile(wave, Wave(300)));
    const QString avi = Scratch(QStringLiteral("Movie.wav"));
    QVERIFY(TestEnvironment::WriteFile(avi, QByteArray("RIFF\0\0\0\0AVI LIST", 16)));
    ProgSettings& settings = *Settings();
    settings.CreatePuzzleFolders = {folder};
    settings.NewPuzzleFolders = {folder};
    settings.AllowPreview = true;
    settings.UpsideRightCreate = true;
    Prompt::Double prompts;
    const QString made = folder + QStringLiteral("Made.jig");
    QByteArray note;
    {
      TPuzzleDialog2 dialog(nullptr);
      dialog.show();
      Control<QTabBar>(dialog, "TabControl1")->setCurrentIndex(2);
      Select(dialog, a);
      auto* withCover = Control<QCheckBox>(dialog, "PreviewChkBox");
      QVERIFY(withCover->isChecked());
      const auto gather = [&] {
        ChooseCover(dialog, cover);
        WriteNote(dialog, QStringLiteral("First"), prompts, Prompt::Yes);
        ChooseMusic(dialog, wave);
      };
      gather();
      Shoot(QStringLiteral("create-tab"));
      StillPuzzleContent content = dialog.GatheredContent();
      QCOMPARE(content.cover, ReadAll(cover));
      QVERIFY(content.note.startsWith("{\\rtf"));
      QVERIFY(content.noteHiddenUntilSolved && content.noteShownWhenSolved);
      QCOMPARE(content.music, ReadAll(wave));
      QVERIFY(Control<QLabel>(dialog, "PreviewWarningLbl")->isVisible());

      // Refused choices keep what was gathered. Music that would take the file past the
      // offsets its records can hold is refused too (a sparse file: no disk is used).
      const QString huge = Scratch(QStringLiteral("Huge.wav"));
      {
        QFile file(huge);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(Wave(0));
        QVERIFY(file.resize(qint64(1) << 31));
      }
      prompts.Clear();
      ChooseCover(dialog, badCover);
      ChooseMusic(dialog, avi);
      ChooseMusic(dialog, huge);
      WriteNote(dialog, QStringLiteral("Second"), prompts, Prompt::No);
      QFile::remove(huge);
      QCOMPARE(prompts.Shown().size(), 4);
      QCOMPARE(prompts.Shown()[0].text, QStringLiteral("The chosen image can not be used as a box cover."));
      QCOMPARE(prompts.Shown()[1].text, QStringLiteral("The chosen file is not a valid MIDI or WAVE file."));
      QCOMPARE(prompts.Shown()[2].text, QStringLiteral("The chosen file is too large to be stored in a puzzle."));
      QCOMPARE(dialog.GatheredContent().cover, content.cover);
      QCOMPARE(dialog.GatheredContent().note, content.note);
      QCOMPARE(dialog.GatheredContent().music, content.music);

      // Unticking the box cover forgets the alternate one; another picture forgets everything.
      withCover->click();
      QVERIFY(dialog.GatheredContent().cover.isEmpty());
      withCover->click();
      Select(dialog, b);
      content = dialog.GatheredContent();
      QVERIFY(content.cover.isEmpty() && content.note.isEmpty() && content.music.isEmpty());
      QVERIFY(!content.noteHiddenUntilSolved && !content.noteShownWhenSolved);
      Select(dialog, a);
      gather();
      note = dialog.GatheredContent().note;

      // A failed write shows the failure and keeps the dialog and everything gathered.
      prompts.Clear();
      bool open = PuzzleFixtures::WithFileSizeLimit(4096, [&] { return Save(dialog, QStringLiteral("Full")); });
      QVERIFY(open);
      QVERIFY(!QFile::exists(folder + QStringLiteral("Full.jig")));
      QCOMPARE(prompts.Shown().size(), 1);
      QVERIFY(prompts.Shown()[0].text.contains(QLatin1String("Failed to save puzzle.")));
      QCOMPARE(dialog.GatheredContent().note, note);
      QCOMPARE(dialog.GatheredContent().music, ReadAll(wave));
      // Cancel in the name dialog keeps it open too.
      QVERIFY(Save(dialog, QString()));

      content = dialog.GatheredContent();
      QVERIFY(!Save(dialog, folder + QStringLiteral("Made")));
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
      QVERIFY(!dialog.GetPuzzle());
      QVERIFY(!TMsgLog::Lines().filter(QStringLiteral(":  Created: ") + made).isEmpty());

      JigsawFile file(made);
      QCOMPARE(file.Status(), 0);
      QVERIFY(!file.IsSavedGame());
      QCOMPARE(*file.GetNoteStream(), note);
      QVERIFY(file.NoteHiddenUntilSolved() && file.NoteShownWhenSolved());
      QCOMPARE(file.SoundKind(), 2);
      QCOMPARE(Block([&](QIODevice& to) { return file.CopySoundTrack(to); }), ReadAll(wave));
      QCOMPARE(Block([&](QIODevice& to) { return file.CopyBoxCover(to); }), ReadAll(cover));
      QCOMPARE(Block([&](QIODevice& to) { return file.CopyPicture(to); }), ReadAll(a));
      QCOMPARE(file.BoxCoverAvailable(), content.includeBoxCover);
      QCOMPARE(file.UprightOffered(), content.allowUpright);
      QCOMPARE(file.PieceCount(), content.minimumPieces);
      QCOMPARE(file.PieceSize(), content.pieceSize);
      QCOMPARE(file.HintLimit(), content.hintLimit);
      QCOMPARE(file.LightBevel(), content.lightBevel);
    }
    // The game on the table is never overwritten; the clipboard picture is written whole.
    Puzzle played(made);
    PuzzleTestAccess::Start(played, 4);
    const QByteArray madeBytes = ReadAll(made);
    QImage clip(230, 170, QImage::Format_RGB32);
    clip.fill(qRgb(20, 140, 60));
    QGuiApplication::clipboard()->setImage(clip);
    {
      TPuzzleDialog2 dialog(nullptr);
      dialog.show();
      Control<QTabBar>(dialog, "TabControl1")->setCurrentIndex(2);
      Select(dialog, b);
      prompts.Clear();
      QVERIFY(Save(dialog, made));
      QCOMPARE(prompts.Shown().size(), 1);
      QVERIFY(prompts.Shown()[0].text.contains(QDir::toNativeSeparators(made)));
      QCOMPARE(ReadAll(made), madeBytes);
      Control<QToolButton>(dialog, "PasteBtn")->click();
      QVERIFY(dialog.GetPuzzle());
      QString asked;
      WhenModal([&](QWidget* modal) {
        asked = qobject_cast<QFileDialog*>(modal)->selectedFiles().value(0);
        AnswerFileDialog(modal, folder + QStringLiteral("Clipboard Image.JIG"));
      });
      Control<QPushButton>(dialog, "OpenBtn")->click();
      QCOMPARE(QFileInfo(asked).fileName(), QStringLiteral("Clipboard Image.jig"));
      JigsawFile file(folder + QStringLiteral("Clipboard Image.JIG"));
      QCOMPARE(file.Status(), 0);
      QCOMPARE(file.GetPicture()->width, 230);
    }
    // The Begin tab lists the new puzzle with its own cover and withholds its hidden note.
    {
      TPuzzleDialog2 dialog(nullptr);
      dialog.show();
      Control<QTabBar>(dialog, "TabControl1")->setCurrentIndex(0);
      Select(dialog, made);
      auto* differs = Control<QLabel>(dialog, "PreviewWarningLbl");
      QVERIFY(differs->isVisible());
      QCOMPARE(differs->text(), QStringLiteral("( Box cover image differs from actual puzzle )"));
      prompts.Clear();
      Control<QPushButton>(dialog, "InfoBtn")->click();
      QCOMPARE(prompts.Shown().size(), 1);
      QCOMPARE(prompts.Shown()[0].text,
               QStringLiteral("This jigsaw puzzle's note is unavailable until the puzzle is completed."));
    }
  }

  // What the player gathers stays while the chooser windows come and go and while the player
  // visits another program: the written file has the cover, note, music and hint limit, for
  // the clipboard picture and for a listed one alike. Only another clipboard picture, or none,
  // starts afresh.
  void gatheredPartsStayUntilThePlayerChangesThem() {
    const QString folder = Scratch(QStringLiteral("gathered/"));
    QDir().mkpath(folder);
    const QString listed = PuzzleFixtures::WritePicture(QStringLiteral("gathered/Listed.bmp"), 320, 240);
    const QString cover = PuzzleFixtures::WritePicture(QStringLiteral("GatheredCover.jpg"), 160, 120);
    const QString wave = Scratch(QStringLiteral("Gathered.wav"));
    QVERIFY(TestEnvironment::WriteFile(wave, Wave(200)));
    QImage clip(260, 200, QImage::Format_RGB32);
    clip.fill(qRgb(200, 40, 90));
    QGuiApplication::clipboard()->setImage(clip);
    ProgSettings& settings = *Settings();
    settings.CreatePuzzleFolders = {folder};
    settings.AllowPreview = true;
    Prompt::Double prompts;
    const auto awayAndBack = [] {
      emit qApp->applicationStateChanged(Qt::ApplicationInactive);
      emit qApp->applicationStateChanged(Qt::ApplicationActive);
    };
    for (bool fromClipboard : {true, false}) {
      const QString made = folder + (fromClipboard ? QStringLiteral("FromClip.jig") : QStringLiteral("FromList.jig"));
      QByteArray note;
      {
        TPuzzleDialog2 dialog(nullptr);
        dialog.show();
        Control<QTabBar>(dialog, "TabControl1")->setCurrentIndex(2);
        if (fromClipboard) Control<QToolButton>(dialog, "PasteBtn")->click();
        else Select(dialog, listed);
        const QString picture = dialog.GetPuzzle()->GetPath();
        auto* hints = Control<QComboBox>(dialog, "NumHintsBox");
        hints->setCurrentIndex(hints->findText(QStringLiteral("8")));
        ChooseCover(dialog, cover);
        WriteNote(dialog, QStringLiteral("Kept"), prompts, Prompt::Yes);
        ChooseMusic(dialog, wave);
        awayAndBack();
        QCOMPARE(dialog.GetPuzzle()->GetPath(), picture);
        QCOMPARE(hints->currentText(), QStringLiteral("8"));
        note = dialog.GatheredContent().note;
        QVERIFY(note.startsWith("{\\rtf"));
        QCOMPARE(dialog.GatheredContent().cover, ReadAll(cover));
        QCOMPARE(dialog.GatheredContent().music, ReadAll(wave));
        QVERIFY(!Save(dialog, made));
      }
      JigsawFile file(made);
      QCOMPARE(file.Status(), 0);
      QCOMPARE(*file.GetNoteStream(), note);
      QCOMPARE(file.SoundKind(), 2);
      QCOMPARE(Block([&](QIODevice& to) { return file.CopySoundTrack(to); }), ReadAll(wave));
      QCOMPARE(Block([&](QIODevice& to) { return file.CopyBoxCover(to); }), ReadAll(cover));
      QCOMPARE(file.HintLimit(), 8);
      QCOMPARE(file.GetPicture()->width, fromClipboard ? 260 : 320);
    }

    TPuzzleDialog2 dialog(nullptr);
    dialog.show();
    Control<QTabBar>(dialog, "TabControl1")->setCurrentIndex(2);
    Control<QToolButton>(dialog, "PasteBtn")->click();
    ChooseMusic(dialog, wave);
    clip.fill(qRgb(10, 10, 200));
    QGuiApplication::clipboard()->setImage(clip.scaled(240, 180));
    // The dialog's own window coming back is no return from another program.
    emit qApp->applicationStateChanged(Qt::ApplicationActive);
    QCOMPARE(Control<QLabel>(dialog, "SizeLbl")->text(), QStringLiteral("260x200 pixels"));
    QCOMPARE(dialog.GatheredContent().music, ReadAll(wave));
    awayAndBack();
    QCOMPARE(Control<QLabel>(dialog, "SizeLbl")->text(), QStringLiteral("240x180 pixels"));
    QVERIFY(dialog.GatheredContent().music.isEmpty());
    QGuiApplication::clipboard()->clear();
    awayAndBack();
    QVERIFY(!Control<QToolButton>(dialog, "PasteBtn")->isChecked());
    QVERIFY(Control<IconListBox>(dialog, "PuzzleListBox")->isEnabled());
  }

  // Chosen music passes the check every track passes when a puzzle opens: music the game would
  // refuse shows why and is not taken, and the music gathered before stays.
  void chosenMusicPassesTheTrackCheck() {
    const QString folder = CreateFolder(QStringLiteral("checked"));
    Prompt::Double prompts;
    TPuzzleDialog2 dialog(nullptr);
    ShowCreateTab(dialog, folder);
    const struct {
      const char* name;
      QByteArray bytes;
      const char* refusal;  // null: taken
    } cases[] = {
        {"Tone.wav", Wave(100), nullptr},
        {"Hertz.wav", MusicWriter::WaveImage({1, 1, 1, 8, 12174, false}),
         "Sound track: damaged WAVE data: its sample rate of 1 Hz is outside 4000 to 192000 Hz."},
        {"Flood.mid", MusicWriter::ChordsAtOneTick(20000),
         "Sound track: damaged MIDI data: it holds more than 4096 notes at one moment."},
        {"Silent.mid", QByteArray("MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\4\0\xFF\x2F\0", 26),
         "Sound track: damaged MIDI data: the file holds no note."},
        {"Tune.mid", MusicWriter::ChordsAtOneTick(64), nullptr},
    };
    QByteArray taken;
    for (const auto& c : cases) {
      const QString path = folder + QLatin1String(c.name);
      QVERIFY(TestEnvironment::WriteFile(path, c.bytes));
      prompts.Clear();
      ChooseMusic(dialog, path);
      if (!c.refusal) taken = c.bytes;
      QCOMPARE(dialog.GatheredContent().music, taken);
      QCOMPARE(prompts.Shown().size(), c.refusal ? 1 : 0);
      if (c.refusal)
        QCOMPARE(prompts.Shown()[0].text, QStringLiteral("The chosen file is not a valid MIDI or WAVE file.\n\n") +
                                             QLatin1String(c.refusal));
    }
  }

  // The still puzzle is written from the picture, cover and music as they were chosen and
  // previewed, whatever became of their files since: none is opened again, so a pipe in a
  // file's place holds nothing up, and one chosen anew is refused.
  void createTabWritesTheBytesItChose() {
    enum Fate { Rewritten, Pipe, Folder, Deleted };
    const QString folder = CreateFolder(QStringLiteral("chosen"));
    const QString cover = PuzzleFixtures::WritePicture(QStringLiteral("Chosen cover.jpg"), 160, 120);
    const QString wave = Scratch(QStringLiteral("Chosen.wav"));
    QVERIFY(TestEnvironment::WriteFile(wave, Wave(300)));
    QByteArray retuned = Wave(300);  // the same size, kind and check: only the samples differ
    retuned[retuned.size() - 1] = '\x10';
    const struct {
      QString path;
      QByteArray other;
      const char* refusal;  // when chosen anew as a pipe; null: not chosen anew
    } parts[] = {
        {folder + QStringLiteral("Picture.bmp"), ReadAll(PuzzleFixtures::WritePicture(QStringLiteral("Tall.bmp"), 200, 300)),
         nullptr},
        {cover, ReadAll(PuzzleFixtures::WritePicture(QStringLiteral("Tall.jpg"), 90, 150)),
         "The chosen image can not be used as a box cover."},
        {wave, retuned, "The chosen file is not a valid MIDI or WAVE file."},
    };
    const QByteArray chosen[] = {ReadAll(parts[0].path), ReadAll(cover), ReadAll(wave)};
    Prompt::Double prompts;
    for (const auto& part : parts)
      for (Fate fate : {Rewritten, Pipe, Folder, Deleted}) {
        const QString name = QFileInfo(part.path).fileName() + QStringLiteral(" fate %1").arg(int(fate));
        const Watchdog watchdog(60);
        TPuzzleDialog2 dialog(nullptr);
        ShowCreateTab(dialog, folder);
        ChooseCover(dialog, cover);
        ChooseMusic(dialog, wave);
        if (fate != Rewritten) QVERIFY(QFile::remove(part.path));
        if (fate == Rewritten) QVERIFY(TestEnvironment::WriteFile(part.path, part.other));
        if (fate == Pipe) QCOMPARE(::mkfifo(QFile::encodeName(part.path).constData(), 0600), 0);
        if (fate == Folder) QVERIFY(QDir().mkdir(part.path));
        prompts.Clear();
        if (fate == Pipe && part.refusal) {
          (part.path == cover ? ChooseCover : ChooseMusic)(dialog, part.path);
          QCOMPARE(prompts.Shown().size(), 1);
          QCOMPARE(prompts.Shown()[0].text, QLatin1String(part.refusal));
          prompts.Clear();
        }
        QCOMPARE(RedrawnPreview(dialog), QSize(160, 120));
        QVERIFY2(!Save(dialog, folder + name), qPrintable(name));
        QVERIFY2(prompts.Shown().isEmpty(), qPrintable(name));
        JigsawFile file(folder + name + QStringLiteral(".jig"));
        QCOMPARE(file.Status(), 0);
        QCOMPARE(Block([&](QIODevice& to) { return file.CopyPicture(to); }), chosen[0]);
        QCOMPARE(Block([&](QIODevice& to) { return file.CopyBoxCover(to); }), chosen[1]);
        QCOMPARE(Block([&](QIODevice& to) { return file.CopySoundTrack(to); }), chosen[2]);
        QVERIFY(QFile::remove(part.path) || QDir().rmdir(part.path) || fate == Deleted);
        QVERIFY(TestEnvironment::WriteFile(part.path, chosen[&part - parts]));
      }
  }

  // Put together to the end, a puzzle whose maker asked for it shows its note by itself,
  // read-only; one that did not ask shows nothing.
  void completionOpensTheNoteItsMakerAskedFor() {
    Settings()->SoundEffects = true;
    Settings()->SuppressApplause = false;
    for (bool asked : {true, false}) {
      StillPuzzleContent content;
      content.ReadPicture(PuzzleFixtures::WritePicture(QStringLiteral("ending.bmp"), 240, 160));
      content.note = FormattedNote;
      content.noteHiddenUntilSolved = true;
      content.noteShownWhenSolved = asked;
      const QString path = Scratch(asked ? QStringLiteral("Asked.jig") : QStringLiteral("Quiet.jig"));
      QVERIFY(JigsawFile::SaveStillPuzzle(path, content));
      QList<QByteArray> shown;
      PuzzleDialogHooks::ShowNote = [&](QWidget*, const QByteArray& note) { shown << note; };
      {
        TMainForm form;
        WhenModal([](QWidget* dialog) {
          dialog->findChild<ChooseBox*>(QStringLiteral("NumPiecesBox"))->setCurrentIndex(0);
          dialog->findChild<QPushButton*>(QStringLiteral("OpenBtn"))->click();
        });
        form.Start({path});
        QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() && Puzzle::Current()->GetPath() == path, 20000);
        Puzzle* puzzle = Puzzle::Current();
        while (puzzle->GetJoins() + 2 < puzzle->GetPieceCount()) puzzle->AddJoin();
        QTest::qWait(400);
        QVERIFY(shown.isEmpty());
        puzzle->AddJoin();
        QTRY_COMPARE(form.ApplauseCount(), 1);
        QTest::qWait(100);
        QCOMPARE(shown, asked ? QList<QByteArray>{FormattedNote} : QList<QByteArray>{});
      }
      PuzzleDialogHooks::ShowNote = nullptr;
    }
  }
};

TV_QTEST_MAIN(NoteAndCreateQTest)
#include "NoteAndCreateQTest.moc"
