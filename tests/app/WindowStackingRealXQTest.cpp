// Which window lies on top, as the window manager stacks them under a real X server: a
// question or a modal window of the game is never hidden under the box cover, the magnifier
// or the loading window, and those stay above the main window.

#include "PuzzleFixtures.h"
#include "TestEnvironment.h"
#include "TBoxCoverFrm.h"
#include "TMainForm.h"
#include "TNoteFrm.h"
#include "WhenModal.h"

#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "controls/ChooseBox.h"
#include "puzzle/LoadProgress.h"
#include "puzzle/Puzzle.h"
#include "settings/ProgSettings.h"
#include "table/TMagForm.h"
#include "table/TableSurface.h"
#include "table/TableTop.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {
constexpr int Patience = 20000;

xcb_connection_t* Connection() {
  return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

// The managed windows from the bottom of the stack to its top, as the window manager tells.
std::vector<xcb_window_t> StackingOrder() {
  xcb_connection_t* c = Connection();
  const char name[] = "_NET_CLIENT_LIST_STACKING";
  xcb_intern_atom_reply_t* atom =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
  std::vector<xcb_window_t> order;
  if (!atom) return order;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  xcb_get_property_reply_t* list = xcb_get_property_reply(
      c, xcb_get_property(c, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1024), nullptr);
  free(atom);
  if (!list) return order;
  const auto* windows = static_cast<const xcb_window_t*>(xcb_get_property_value(list));
  order.assign(windows, windows + xcb_get_property_value_length(list) / int(sizeof(xcb_window_t)));
  free(list);
  return order;
}

// top lies above every window of below; false while any of them is not managed yet.
bool StackedAbove(QWidget* top, const std::vector<QWidget*>& below) {
  const std::vector<xcb_window_t> order = StackingOrder();
  const auto at = [&order](QWidget* w) {
    const auto found = std::find(order.begin(), order.end(), xcb_window_t(w->winId()));
    return found == order.end() ? -1 : int(found - order.begin());
  };
  const int topAt = at(top);
  if (topAt < 0) return false;
  return std::all_of(below.begin(), below.end(), [&](QWidget* w) {
    const int wAt = at(w);
    return wAt >= 0 && wAt < topAt;
  });
}

QString Describe(QWidget* top, const std::vector<QWidget*>& below) {
  QString text = QStringLiteral("stack (bottom to top):");
  for (xcb_window_t w : StackingOrder()) text += QStringLiteral(" %1").arg(w, 0, 16);
  text += QStringLiteral("; expected %1 above").arg(top->winId(), 0, 16);
  for (QWidget* w : below) text += QStringLiteral(" %1").arg(w->winId(), 0, 16);
  return text;
}

// The next modal window must come to lie above the windows given; then it is closed.
// The outcome is known once the modal window has gone.
class StackCheck {
public:
  explicit StackCheck(std::vector<QWidget*> below) : state(std::make_shared<State>()) {
    state->below = std::move(below);
    auto shared = state;
    WhenModal([shared](QWidget* modal) {
      shared->seen = true;
      shared->above = QTest::qWaitFor([&] { return StackedAbove(modal, shared->below); }, Patience);
      if (!shared->above) shared->report = Describe(modal, shared->below);
      if (auto* box = qobject_cast<QMessageBox*>(modal); box && box->button(QMessageBox::Cancel))
        box->button(QMessageBox::Cancel)->click();
      else
        QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
    });
  }
  bool Seen() const { return state->seen; }
  bool Above() const { return state->above; }
  QString Report() const { return state->report; }

private:
  struct State {
    std::vector<QWidget*> below;
    bool seen = false, above = false;
    QString report;
  };
  std::shared_ptr<State> state;
};

}  // namespace

class WindowStackingRealXQTest : public QObject {
  Q_OBJECT

  QString picture;

  // A game opened from a picture in a window that is not maximised.
  void StartGame(TMainForm& form) {
    form.Start({});
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(DismissNextModal());
    WhenModal([](QWidget* dialog) {
      auto* pieces = dialog->findChild<ChooseBox*>(QStringLiteral("NumPiecesBox"));
      pieces->setCurrentIndex(pieces->count() - 1);
      dialog->findChild<QPushButton*>(QStringLiteral("OpenBtn"))->click();
    });
    form.OpenDroppedFile(picture);
    QTRY_VERIFY2_WITH_TIMEOUT(Puzzle::Current() && form.Table()->Surface().GetPuzzle(),
                              qPrintable(TMsgLog::Lines().mid(TMsgLog::Lines().size() - 20).join('\n')), Patience);
  }

  static bool Managed(QWidget* window) {
    const std::vector<xcb_window_t> order = StackingOrder();
    return std::find(order.begin(), order.end(), xcb_window_t(window->winId())) != order.end();
  }

  static TBoxCoverFrm* ShowBoxCover(TMainForm& form) {
    form.Actions().BoxCoverAtn->trigger();
    TBoxCoverFrm* cover = TBoxCoverFrm::Current();
    if (!cover || !QTest::qWaitFor([cover] { return cover->isVisible() && Managed(cover); }, Patience)) return nullptr;
    return cover;
  }

  static TMagForm* ShowMagnifier(TMainForm& form) {
    form.Actions().MagnifierAtn->trigger();
    TMagForm* magnifier = TMagForm::Current();
    if (!magnifier || !QTest::qWaitFor([magnifier] { return magnifier->isVisible() && Managed(magnifier); }, Patience))
      return nullptr;
    return magnifier;
  }

  // The save question, raised with the box cover and the magnifier showing, comes up above
  // them and the main window; the game is then closed without its question.
  static void ExpectSaveQuestionAbove(TMainForm& form, TBoxCoverFrm* cover, TMagForm* magnifier) {
    Puzzle::Current()->SetChanged();
    StackCheck check({&form, cover, magnifier});
    QVERIFY(!form.QuerySave());
    QVERIFY(check.Seen());
    QVERIFY2(check.Above(), qPrintable(check.Report()));
    form.Actions().MagnifierAtn->trigger();
    Puzzle::Current()->ClearChanged();
    form.close();
  }

private slots:
  void initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    ProgSettings& settings = *Settings();
    settings.Maximized = false;
    settings.Width = 900;
    settings.Height = 640;
    settings.ShowWelcome = false;
    settings.TipsEnabled = false;
    settings.AutoSaveInterval = 0;
    settings.MagnifierWidth = 0;
    picture = PuzzleFixtures::WritePicture(QStringLiteral("stacking.bmp"), 320, 240);
  }

  // The box cover and the magnifier are above the main window; the question before a new
  // puzzle opens (or before the game ends) is above all three.
  void saveQuestionStandsAboveBoxCoverAndMagnifier() {
    TMainForm form;
    StartGame(form);
    if (QTest::currentTestFailed()) return;
    TBoxCoverFrm* cover = ShowBoxCover(form);
    QVERIFY(cover);
    TMagForm* magnifier = ShowMagnifier(form);
    QVERIFY(magnifier);
    QTRY_VERIFY2_WITH_TIMEOUT(StackedAbove(cover, {&form}), qPrintable(Describe(cover, {&form})), Patience);
    QTRY_VERIFY2_WITH_TIMEOUT(StackedAbove(magnifier, {&form}), qPrintable(Describe(magnifier, {&form})), Patience);
    form.activateWindow();
    ExpectSaveQuestionAbove(form, cover, magnifier);
  }

  // The same when the player was last in the box cover: the question still stands above
  // the magnifier as well.
  void questionFromTheBoxCoverStandsAboveTheMagnifier() {
    TMainForm form;
    StartGame(form);
    if (QTest::currentTestFailed()) return;
    TMagForm* magnifier = ShowMagnifier(form);
    QVERIFY(magnifier);
    TBoxCoverFrm* cover = ShowBoxCover(form);
    QVERIFY(cover);
    magnifier->raise();
    QTRY_VERIFY2_WITH_TIMEOUT(StackedAbove(magnifier, {cover}), qPrintable(Describe(magnifier, {cover})), Patience);
    cover->activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(cover->isActiveWindow(), Patience);
    ExpectSaveQuestionAbove(form, cover, magnifier);
  }

  // The puzzle's note, shown by itself when the puzzle is completed, lies above them too.
  void noteAtCompletionStandsAboveBoxCoverAndMagnifier() {
    TMainForm form;
    StartGame(form);
    if (QTest::currentTestFailed()) return;
    TMagForm* magnifier = ShowMagnifier(form);
    QVERIFY(magnifier);
    TBoxCoverFrm* cover = ShowBoxCover(form);
    QVERIFY(cover);
    StackCheck check({&form, cover, magnifier});
    ShowNoteWindow(&form, QByteArray("{\\rtf1 The lake at evening.}"));
    QVERIFY(check.Seen());
    QVERIFY2(check.Above(), qPrintable(check.Report()));
    form.Actions().MagnifierAtn->trigger();
    form.close();
  }

  // A fault reported while a puzzle loads lies above the loading window, which lies above
  // the main window; also when the loading window has not (or no longer) the keyboard.
  void loadFaultStandsAboveTheLoadingWindow() {
    TMainForm form;
    StartGame(form);
    if (QTest::currentTestFailed()) return;
    std::unique_ptr<LoadProgress> loading = form.Table()->OpenLoadWindow(false);
    auto* window = dynamic_cast<QWidget*>(loading.get());
    QVERIFY(window);
    form.EnableMainWindow(false);
    QVERIFY(QTest::qWaitFor([window] { return Managed(window); }, Patience));
    QTRY_VERIFY2_WITH_TIMEOUT(StackedAbove(window, {&form}), qPrintable(Describe(window, {&form})), Patience);
    StackCheck check({&form, window});
    Prompt::ShowApp(QStringLiteral("Failed to load sound track."), Prompt::Stop);
    QVERIFY(check.Seen());
    QVERIFY2(check.Above(), qPrintable(check.Report()));
    loading.reset();
    form.EnableMainWindow(true);
    form.close();
  }
};

// The boxes are real ones here, where the window manager stacks them: no scripted answers.
int main(int argc, char** argv) {
  TestEnvironment::Prepare();
  QApplication app(argc, argv);
  WindowStackingRealXQTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "WindowStackingRealXQTest.moc"
