// No window takes an open box down with it. A window that deletes itself as it closes (the
// box cover, the magnifier, the help window, the message log) may go while a box or modal
// window of ours stands over it: the player's close and the command that opens the box can
// wait in the queue together (the game busy), and the window's deferred delete then runs in
// the box's own event loop. The box stays, above that window, and the game goes on.
// Real boxes here, no scripted answers: this is about their owners.

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
// Opens a window that deletes itself on close and returns it.
using Opener = std::function<QWidget*(ClosingWindowsQTest&)>;
// Queues the player's input on that window.
using Input = std::function<void(QWidget*)>;
Q_DECLARE_METATYPE(Opener)
Q_DECLARE_METATYPE(Input)

namespace {
constexpr int Patience = 20000;

// A click that waits in the queue with whatever is queued after it.
void QueueClick(QWidget* button) {
  const QPointF at = QRectF(button->rect()).center();
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
    QCoreApplication::postEvent(button, new QMouseEvent(type, at, button->mapToGlobal(at), Qt::LeftButton,
                                                        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                                        Qt::NoModifier));
}

QWidget* Child(QWidget* window, const QString& nameOrText) {
  for (auto* button : window->findChildren<QAbstractButton*>())
    if (button->objectName() == nameOrText || button->text() == nameOrText) return button;
  return nullptr;
}

void QueueClose(QWidget* window) { QMetaObject::invokeMethod(window, "close", Qt::QueuedConnection); }

// The player answers the first modal window once the game has handled what was queued when
// it showed and what that posted in turn (a window's deferred delete). What showed is kept,
// and whether it stood above the window.
class AnswerLater : public QObject {
public:
  explicit AnswerLater(QWidget* below) : below(below->windowHandle()) { qApp->installEventFilter(this); }
  QString shown;
  bool above = false;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* modal = qobject_cast<QDialog*>(watched);
    if (event->type() != QEvent::Show || !modal || !modal->testAttribute(Qt::WA_ShowModal) || !shown.isEmpty())
      return false;
    shown = QString::fromLatin1(modal->metaObject()->className());
    above = modal->windowHandle()->transientParent() == below;
    QMetaObject::invokeMethod(
        modal, [modal] { QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection); }, Qt::QueuedConnection);
    return false;
  }

private:
  QWindow* below;
};

// A saved game whose puzzle has a note, saved by the game itself.
QString SavedGameWithNote() {
  StillPuzzleContent content;
  content.ReadPicture(PuzzleFixtures::WritePicture(QStringLiteral("lake.bmp"), 240, 160));
  content.note = QByteArray("{\\rtf1 The lake at evening.}");
  const QString jig = PuzzleFixtures::ScratchPath(QStringLiteral("lake.jig"));
  const QString saw = PuzzleFixtures::ScratchPath(QStringLiteral("lake.saw"));
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

  void windowGoesAndItsBoxStays_data() {
    QTest::addColumn<Opener>("open");
    QTest::addColumn<Input>("input");
    QTest::addColumn<QString>("modal");
    const Opener cover = [](ClosingWindowsQTest& t) -> QWidget* { return t.OpenBoxCover(); };
    const Opener magnifier = [](ClosingWindowsQTest& t) -> QWidget* {
      t.form->Actions().MagnifierAtn->trigger();
      return TMagForm::Current();
    };
    const Opener help = [](ClosingWindowsQTest&) -> QWidget* {
      HelpWindow::Instance()->ShowTopic(QStringLiteral("Contents"));
      return HelpWindow::Instance();
    };
    const Opener log = [](ClosingWindowsQTest&) -> QWidget* {
      TMsgLog::ShowMsgLog();
      return TMsgLogForm::Instance();
    };
    // Close, then a button of the window, both released before the game handles either.
    const auto closeThen = [](const char* button) -> Input {
      return [button](QWidget* window) {
        QueueClick(Child(window, QStringLiteral("ExitBtn")));
        QueueClick(Child(window, QLatin1String(button)));
      };
    };
    // A box raised while the window has the keyboard (a save refused for captured pieces, a
    // hint asked for), or an internal fault's report; the window closes while it stands.
    const Input box = [](QWidget* window) {
      QMetaObject::invokeMethod(qApp, [] { Prompt::ShowApp(QStringLiteral("Captured pieces.")); }, Qt::QueuedConnection);
      QueueClose(window);
    };
    const Input report = [](QWidget* window) {
      QMetaObject::invokeMethod(qApp, [] { GenSwerr(QStringLiteral("Invalid format")); }, Qt::QueuedConnection);
      QueueClose(window);
    };
    const Input save = [](QWidget* window) {
      QueueClick(Child(window, QStringLiteral("&Save...")));
      QueueClose(window);
    };
    QTest::newRow("box cover: Close, then Note") << cover << closeThen("NoteBtn") << QStringLiteral("TNoteFrm");
    QTest::newRow("box cover: Close, then Print") << cover << closeThen("PrintBtn") << QStringLiteral("QPrintDialog");
    QTest::newRow("box cover: box") << cover << box << QStringLiteral("QMessageBox");
    QTest::newRow("box cover: fault report") << cover << report << QStringLiteral("TSwerrForm");
    QTest::newRow("magnifier: box") << magnifier << box << QStringLiteral("QMessageBox");
    QTest::newRow("help window: box") << help << box << QStringLiteral("QMessageBox");
    QTest::newRow("message log: box") << log << box << QStringLiteral("QMessageBox");
    QTest::newRow("message log: Save") << log << save << QStringLiteral("QFileDialog");
  }

  void windowGoesAndItsBoxStays() {
    QFETCH(Opener, open);
    QFETCH(Input, input);
    QFETCH(QString, modal);
    QPointer<QWidget> window = open(*this);
    QVERIFY(window && QTest::qWaitForWindowExposed(window));
    window->activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeWindow() == window, Patience);
    AnswerLater player(window);
    input(window);
    QTRY_VERIFY_WITH_TIMEOUT(!window && !QApplication::activeModalWidget(), Patience);
    QCOMPARE(player.shown, modal);
    QVERIFY(player.above);
    QVERIFY(Puzzle::Current());
  }

  // The message log asked for from the box cover is not the cover's: it stays open, its file
  // chooser with it, when the cover closes meanwhile.
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
    QueueClick(Child(log, QStringLiteral("&Save...")));
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
