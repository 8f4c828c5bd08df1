// scripted_game ARGUMENTS...
// The game as it starts (one-copy lock, main window, the file given) with a player's script.
// With TV_PLAY_WINDOWS set: once the puzzle is on the table and the welcome help shows, it
// opens the magnifier, the box cover and the note window (closing the note again), prints
// the windows that show and "exit", and chooses Exit. Without it: it cancels the open dialog
// of a start without a file, prints "shown" once its own main window shows, and chooses Exit.

#include "app/StartUp.h"
#include "app/TMainForm.h"
#include "app/TNoteFrm.h"
#include "Yelk/GameApplication.h"
#include "platform/HelpWindow.h"
#include "puzzle/Puzzle.h"

#include <QAction>
#include <QApplication>
#include <QTextStream>
#include <QTimer>

namespace {
template <class Window>
Window* Shown() {
  for (QWidget* window : QApplication::topLevelWidgets())
    if (auto* found = qobject_cast<Window*>(window); found && found->isVisible()) return found;
  return nullptr;
}

void CloseModalWhenShown() {
  QTimer::singleShot(50, [] {
    if (QWidget* modal = QApplication::activeModalWidget())
      modal->close();
    else
      CloseModalWhenShown();
  });
}

// One step of the script; true when it has chosen Exit.
bool Play(TMainForm& form, bool openWindows, QTextStream& out) {
  if (!openWindows) {
    // Started without a file, the game offers its open dialog first: the player cancels it.
    static bool dismissed = false;
    // The next step comes from the main loop, once the dialog's own loop has ended.
    if (QWidget* modal = QApplication::activeModalWidget()) {
      modal->close();
      dismissed = true;
      return false;
    }
    if (!dismissed) return false;
    out << "shown" << Qt::endl;
  } else {
    if (!Puzzle::Current() || !Shown<HelpWindow>()) return false;
    form.Actions().MagnifierAtn->trigger();
    form.Actions().BoxCoverAtn->trigger();
    CloseModalWhenShown();
    ShowNoteWindow(&form, QByteArray("{\\rtf1 A note.}"));
    QStringList shown;
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->isVisible()) shown << QString::fromLatin1(window->metaObject()->className());
    shown.sort();
    out << "windows: " << shown.join(QLatin1Char(' ')) << Qt::endl << "exit" << Qt::endl;
  }
  form.Actions().ExitAtn->trigger();
  return true;
}
}  // namespace

int main(int argc, char** argv) {
  GameApplication app(argc, argv);
  StartUp::SetProgramIdentity();
  QTextStream out(stdout);
  const bool openWindows = qEnvironmentVariableIsSet("TV_PLAY_WINDOWS");
  QTimer script;
  script.setInterval(50);
  QObject::connect(&script, &QTimer::timeout, [&] {
    TMainForm* form = Shown<TMainForm>();
    if (form && Play(*form, openWindows, out)) script.stop();
  });
  script.start();
  return StartUp::Run();
}
