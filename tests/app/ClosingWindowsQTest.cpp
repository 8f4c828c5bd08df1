// No window takes an open box down with it. A window that deletes itself as it closes (the
// box cover, the magnifier, the help window, the message log) can go while a box or modal
// window of ours is open over it: the player's close and the command that opens the box
// wait in the queue together when the game is busy, and the window's deferred delete then
// runs inside the box's own event loop. The box stays, stands above that window, and the
// game goes on. Real boxes here (no scripted answers): this is about their owners.

#include "ModalAnswers.h"
#include "PuzzleFixtures.h"
#include "TBoxCoverFrm.h"
#include "TMainForm.h"
#include "TestEnvironment.h"

#include "Yelk/GenSwerr.h"
#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "Yelk/TMsgLogForm.h"
#include "platform/CurrentPrinter.h"
#include "platform/HelpWindow.h"
#include "puzzle/JigsawFile.h"
#include "puzzle/Puzzle.h"
#include "settings/ProgSettings.h"
#include "table/TMagForm.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QToolButton>
#include <QWindow>
#include <QtTest>

#include <functional>
#include <memory>

class ClosingWindowsQTest;
// Opens a window that deletes itself on close; returns it.
using WindowOpener = std::function<QWidget*(ClosingWindowsQTest&)>;
Q_DECLARE_METATYPE(WindowOpener)

namespace {
constexpr int Patience = 20000;

// A click that waits in the queue with whatever is queued after it.
void QueueClick(QWidget* button) {
  const QPointF at = QRectF(button->rect()).center();
  const QPointF global = button->mapToGlobal(at);
  QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton,
                                                      Qt::LeftButton, Qt::NoModifier));
  QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                                                      Qt::NoButton, Qt::NoModifier));
}

QPushButton* ButtonNamed(QWidget* window, const QString& text) {
  for (QPushButton* button : window->findChildren<QPushButton*>())
    if (button->text() == text) return button;
  return nullptr;
}

// The player answers the first modal window later: its Cancel comes after everything that
// was queued when it showed, and after what that posts in turn (a window's deferred delete).
// What showed is kept, and whether it stood above the window.
class AnswerLater : public QObject {
public:
  explicit AnswerLater(QWidget* below) : below(below->windowHandle()) { qApp->installEventFilter(this); }
  QString shown;
  bool above = false;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* modal = qobject_cast<QDialog*>(watched);
    if (event->type() == QEvent::Show && modal && modal->testAttribute(Qt::WA_ShowModal) && shown.isEmpty()) {
      shown = QString::fromLatin1(modal->metaObject()->className());
      above = modal->windowHandle() && modal->windowHandle()->transientParent() == below;
      QMetaObject::invokeMethod(
          modal, [modal] { QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection); },
          Qt::QueuedConnection);
    }
    return false;
  }

private:
  QWindow* below;
};

// A saved game whose puzzle has a note, saved by the game itself.
QString SavedGameWithNote() {
  StillPuzzleContent content;
  content.picturePath = PuzzleFixtures::WritePicture(QStringLiteral("lake.bmp"), 240, 160);
  content.note = QByteArray("{\\rtf1 The lake at evening.}");
  const QString jig = PuzzleFixtures::ScratchPath(QStringLiteral("lake.jig"));
  const QString saw = PuzzleFixtures::ScratchPath(QStringLiteral("lake.saw"));
  QFile::remove(saw);
  if (!JigsawFile::SaveStillPuzzle(jig, content)) return {};
  ModalAnswers answers;
  answers.savePath = saw;
  TMainForm form;
  form.Start({jig});
  if (!QTest::qWaitFor([] { return Puzzle::Current() != nullptr; }, Patience) || !form.SavePuzzle(true)) return {};
  form.close();
  return saw;
}
}  // namespace

class ClosingWindowsQTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TMainForm> form;

  TBoxCoverFrm* OpenBoxCover() {
    form->Actions().BoxCoverAtn->trigger();  // F9
    TBoxCoverFrm* cover = TBoxCoverFrm::Current();
    return cover && QTest::qWaitForWindowExposed(cover) ? cover : nullptr;
  }

private slots:
  void initTestCase() {
    ModalAnswers::PlaySettings();
    Settings()->TipsEnabled = false;
    Settings()->PrintingAvailable = true;
    auto printer = std::make_unique<QPrinter>();
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(PuzzleFixtures::ScratchPath(QStringLiteral("cover.pdf")));
    CurrentPrinter::Install(std::move(printer));
    const QString saw = SavedGameWithNote();
    QVERIFY(!saw.isEmpty());
    form = std::make_unique<TMainForm>();
    form->Start({saw});
    QVERIFY(QTest::qWaitFor([] { return Puzzle::Current() && Puzzle::Current()->GetNoteStream(); }, Patience));
  }

  void cleanupTestCase() {
    form->close();
    form.reset();
  }

  // The box cover's Close, then before the game has handled it, a button that opens a modal
  // window over the cover: the window shows above the cover, the cover goes, nothing aborts.
  void boxCoverClosedAsItsButtonOpensAWindow_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("window");
    QTest::newRow("note") << QStringLiteral("NoteBtn") << QStringLiteral("TNoteFrm");
    QTest::newRow("print") << QStringLiteral("PrintBtn") << QStringLiteral("QPrintDialog");
  }

  void boxCoverClosedAsItsButtonOpensAWindow() {
    QFETCH(QString, button);
    QFETCH(QString, window);
    QPointer<TBoxCoverFrm> cover = OpenBoxCover();
    QVERIFY(cover);
    auto* opener = cover->findChild<QToolButton*>(button);
    QVERIFY(opener && opener->isEnabled());
    AnswerLater player(cover);
    QueueClick(cover->ExitBtn);
    QueueClick(opener);
    QTRY_VERIFY_WITH_TIMEOUT(!cover && !QApplication::activeModalWidget(), Patience);
    QCOMPARE(player.shown, window);
    QVERIFY(player.above);
    QVERIFY(!form->Actions().BoxCoverAtn->isChecked());
    QVERIFY(Puzzle::Current());
  }

  // Each window that deletes itself on close, closed while a box or modal window it had the
  // keyboard for stands over it: the window goes at once, the box stays until answered.
  void windowClosedUnderAnOpenBox_data() {
    using Open = WindowOpener;
    QTest::addColumn<Open>("open");
    QTest::addColumn<QString>("box");
    const Open cover = [](ClosingWindowsQTest& t) -> QWidget* { return t.OpenBoxCover(); };
    const Open magnifier = [](ClosingWindowsQTest& t) -> QWidget* {
      t.form->Actions().MagnifierAtn->trigger();
      return TMagForm::Current();
    };
    const Open help = [](ClosingWindowsQTest&) -> QWidget* {
      HelpWindow::Instance()->ShowTopic(QStringLiteral("Contents"));
      return HelpWindow::Instance();
    };
    const Open log = [](ClosingWindowsQTest&) -> QWidget* {
      TMsgLog::ShowMsgLog();
      return TMsgLogForm::Instance();
    };
    // A box raised while the window has the keyboard (a save refused for captured pieces, a
    // hint asked for, a failed auto save), or the report of an internal fault.
    const QString box = QStringLiteral("QMessageBox");
    QTest::newRow("box cover") << cover << box;
    QTest::newRow("box cover, fault report") << cover << QStringLiteral("TSwerrForm");
    QTest::newRow("magnifier") << magnifier << box;
    QTest::newRow("help window") << help << box;
    QTest::newRow("message log") << log << box;
    // The log's own Save opens a file chooser over it.
    QTest::newRow("message log, saving") << log << QStringLiteral("QFileDialog");
  }

  void windowClosedUnderAnOpenBox() {
    QFETCH(WindowOpener, open);
    QFETCH(QString, box);
    QPointer<QWidget> window = open(*this);
    QVERIFY(window && QTest::qWaitForWindowExposed(window));
    window->activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeWindow() == window, Patience);
    AnswerLater player(window);
    if (box == QStringLiteral("QFileDialog")) {
      QueueClick(ButtonNamed(window, QStringLiteral("&Save...")));
    } else {
      QMetaObject::invokeMethod(qApp, [box] {
        if (box == QStringLiteral("TSwerrForm"))
          GenSwerr(QStringLiteral("Invalid format"));
        else
          Prompt::ShowApp(QStringLiteral("Captured puzzle pieces must be released."));
      }, Qt::QueuedConnection);
    }
    QMetaObject::invokeMethod(window, "close", Qt::QueuedConnection);
    QTRY_VERIFY_WITH_TIMEOUT(!window && !QApplication::activeModalWidget(), Patience);
    QCOMPARE(player.shown, box);
    QVERIFY(player.above);
    QVERIFY(Puzzle::Current());
  }

  // The message log opened from the box cover is not the cover's: it stays open, and its
  // file chooser with it, when the cover closes meanwhile.
  void messageLogOutlivesTheBoxCover() {
    QPointer<TBoxCoverFrm> cover = OpenBoxCover();
    QVERIFY(cover);
    cover->activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeWindow() == cover, Patience);
    TMsgLog::ShowMsgLog();
    QPointer<TMsgLogForm> log = TMsgLogForm::Instance();
    QVERIFY(QTest::qWaitForWindowExposed(log));
    AnswerLater player(log);
    QueueClick(cover->ExitBtn);
    QueueClick(ButtonNamed(log, QStringLiteral("&Save...")));
    QTRY_VERIFY_WITH_TIMEOUT(!cover && !QApplication::activeModalWidget(), Patience);
    QCOMPARE(player.shown, QStringLiteral("QFileDialog"));
    QVERIFY(log && log->isVisible());
    log->close();
  }
};

// The boxes are real ones here: no scripted answers.
int main(int argc, char** argv) {
  TestEnvironment::Prepare();
  QApplication app(argc, argv);
  ClosingWindowsQTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "ClosingWindowsQTest.moc"
