#include "StormHands.h"

#include <QRegularExpression>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
const QString MainTitle = QStringLiteral("Tessavinelume Jigsaw Puzzles");

}  // namespace

const GameWindow& StormHands::MainWindow(const std::vector<GameWindow>& windows) {
  const GameWindow* best = &windows.front();
  const auto area = [](const GameWindow& w) { return qint64(w.rect.width()) * w.rect.height(); };
  for (const GameWindow& w : windows) {
    const bool named = w.title.startsWith(MainTitle), bestNamed = best->title.startsWith(MainTitle);
    if (!w.popup && (best->popup || (named && !bestNamed) || (named == bestNamed && area(w) > area(*best)))) best = &w;
  }
  return *best;
}

namespace {
QString Where(QPoint p, const GameWindow& w) {
  return QStringLiteral("%1,%2 in \"%3\"").arg(p.x()).arg(p.y()).arg(w.title.left(40));
}

// The next of a few numbers drawn from one of the step's own.
std::uint32_t Stir(std::uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 8;
}
}  // namespace

const GameWindow& StormHands::Target(const StormEvent& event, int slot, const std::vector<GameWindow>& windows) {
  const int choice = event.Pick(slot, 10);
  if (choice < 5) return MainWindow(windows);
  if (choice < 8) return windows.back();
  return windows[(event.r[slot] >> 8) % windows.size()];
}

QPoint StormHands::PointIn(const GameWindow& window, const StormEvent& event, int xSlot, int ySlot) {
  const QRect& r = window.rect;
  return {r.left() + int(event.Fraction(xSlot) * std::max(1, r.width())),
          r.top() + int(event.Fraction(ySlot) * std::max(1, r.height()))};
}

bool StormHands::KeysOnly(const GameWindow& window) {
  static const QRegularExpression browsing(
      QStringLiteral("^(Save As|Save|Open|Find Directory|Print|Open/Create a Jigsaw Puzzle)$|Choose|Select|Browse"));
  return browsing.match(window.title).hasMatch();
}

QString StormHands::Play(const StormEvent& event, const std::vector<GameWindow>& windows) {
  switch (event.act) {
    case Act::Click: case Act::DoubleClick: case Act::RightClick: case Act::MiddleClick: case Act::Wheel:
      return Mouse(event, windows);
    case Act::Drag: case Act::Carry: {
      const GameWindow& window = Target(event, 4, windows);
      return KeysOnly(window) ? DialogKey(event) : Drag(event, window, event.act == Act::Carry);
    }
    case Act::Buttons: return Buttons(event, windows);
    case Act::Key: case Act::KeyBurst: return Keys(event);
    case Act::Menu: case Act::Note: return Menu(event);
    case Act::Resize: case Act::StateBurst: case Act::CloseWindow: return WindowManager(event, windows);
    case Act::LoadCancel: case Act::Save: return LoadOrSave(event, MainWindow(windows));
    case Act::DeleteSource: return StormPlan::Name(event.act) + QLatin1Char(' ') + deleteSource();
  }
  return {};
}

// A dialog that browses files gets Enter or Esc instead of the mouse.
QString StormHands::DialogKey(const StormEvent& event) {
  const QString key = QLatin1String(event.Pick(3, 2) ? "Escape" : "Return");
  Xdo({QStringLiteral("key"), key});
  return QStringLiteral("key %1 (in a file dialog)").arg(key);
}

QString StormHands::Mouse(const StormEvent& event, const std::vector<GameWindow>& windows) {
  const GameWindow& window = Target(event, 2, windows);
  const QPoint at = PointIn(window, event, 0, 1);
  if (KeysOnly(window)) return DialogKey(event);
  QStringList args{QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()), QStringLiteral("click")};
  switch (event.act) {
    case Act::DoubleClick: args << QStringLiteral("--repeat") << QStringLiteral("2") << QStringLiteral("1"); break;
    case Act::RightClick: args << QStringLiteral("3"); break;
    case Act::MiddleClick: args << QStringLiteral("2"); break;
    case Act::Wheel:
      args << QStringLiteral("--repeat") << QString::number(1 + event.Pick(3, 4)) << QString::number(4 + event.Pick(4, 2));
      break;
    default: args << QStringLiteral("1"); break;
  }
  Xdo(args);
  return StormPlan::Name(event.act) + QStringLiteral(" at ") + Where(at, window);
}

// Pressed at one point, moved through a few others with the wheel turned on the way; a carry
// picks up with a click and lays down with another instead of holding the button.
QString StormHands::Drag(const StormEvent& event, const GameWindow& window, bool carry) {
  const QPoint start = PointIn(window, event, 0, 1);
  std::uint32_t state = event.r[3];
  QStringList args{QStringLiteral("mousemove"), QString::number(start.x()), QString::number(start.y()),
                   carry ? QStringLiteral("click") : QStringLiteral("mousedown"), QStringLiteral("1")};
  QString path = Where(start, window);
  const int moves = 2 + int(Stir(state) % 4);
  for (int i = 0; i < moves; ++i) {
    const QPoint to(window.rect.left() + int(Stir(state) % std::max(1, window.rect.width())),
                    window.rect.top() + int(Stir(state) % std::max(1, window.rect.height())));
    args << QStringLiteral("mousemove") << QString::number(to.x()) << QString::number(to.y())
         << QStringLiteral("sleep") << QStringLiteral("0.03");
    path += QStringLiteral(" > %1,%2").arg(to.x()).arg(to.y());
    if (Stir(state) % 3 == 0) {
      const int button = 4 + int(Stir(state) % 2);
      args << QStringLiteral("click") << QString::number(button);
      path += button == 4 ? QStringLiteral(" wheel up") : QStringLiteral(" wheel down");
    }
  }
  args << (carry ? QStringLiteral("click") : QStringLiteral("mouseup")) << QStringLiteral("1");
  Xdo(args);
  return StormPlan::Name(event.act) + QLatin1Char(' ') + path;
}

// The buttons of a box or a tool window lie along its bottom; the box cover's first few at
// its left end. Mostly they are the buttons of the top window other than the main one. Two
// thirds of the time an impatient second click follows at once on a button beside the first.
QString StormHands::Buttons(const StormEvent& event, const std::vector<GameWindow>& windows) {
  const GameWindow& main = MainWindow(windows);
  auto top = std::find_if(windows.rbegin(), windows.rend(), [&](const GameWindow& w) { return !w.popup && w.id != main.id; });
  const GameWindow& window = top != windows.rend() && event.Pick(2, 5) > 0 ? *top : Target(event, 2, windows);
  if (KeysOnly(window)) return DialogKey(event);
  const QRect& r = window.rect;
  const int span = std::max(1, event.Pick(4, 2) ? std::min(r.width(), 160) : r.width());
  std::uint32_t state = event.r[1];
  const auto strip = [&] { return r.bottom() - int(Stir(state) % std::max(1, std::min(28, r.height()))); };
  QPoint at(r.left() + int((event.r[0] >> 8) % span), strip());
  QStringList args;
  QString said = StormPlan::Name(event.act);
  for (int i = 0, clicks = event.Pick(3, 3) > 0 ? 2 : 1; i < clicks; ++i) {
    if (i > 0) {
      const int shift = 10 + int(Stir(state) % 70);
      at = QPoint(std::clamp(at.x() + (Stir(state) % 2 ? shift : -shift), r.left(), r.left() + span - 1), strip());
    }
    args << QStringLiteral("mousemove") << QString::number(at.x()) << QString::number(at.y()) << QStringLiteral("click")
         << QStringLiteral("1");
    said += QLatin1Char(' ') + Where(at, window);
  }
  Xdo(args);
  return said;
}

// A quarter of the bursts begin with Esc: a window closed and at once a command given.
QString StormHands::Keys(const StormEvent& event) {
  const auto& keys = StormPlan::Keys();
  QStringList args{QStringLiteral("key")};
  const int count = event.act == Act::KeyBurst ? 2 + event.Pick(4, 3) : 1;
  for (int i = 0; i < count; ++i)
    args << (i == 0 && count > 1 && event.Pick(3, 4) == 0 ? QStringLiteral("Escape")
                                                          : QLatin1String(keys[event.Pick(i, int(keys.size()))]));
  Xdo(args);
  return StormPlan::Name(event.act) + QLatin1Char(' ') + args.mid(1).join(QLatin1Char(' '));
}

// A main-menu title by its Alt key, a few steps down, then Enter (or Esc). The note is the
// last item of the Actions menu.
QString StormHands::Menu(const StormEvent& event) {
  QStringList args{QStringLiteral("key")};
  if (event.act == Act::Note) {
    args << QStringLiteral("alt+a") << QStringLiteral("Up") << QStringLiteral("Return");
  } else {
    static const char* const titles[] = {"alt+f", "alt+a", "alt+o", "alt+h"};
    args << QLatin1String(titles[event.Pick(0, 4)]);
    for (int i = 0, steps = event.Pick(1, 7); i < steps; ++i) args << QStringLiteral("Down");
    args << QLatin1String(event.Pick(2, 3) == 0 ? "Escape" : "Return");
  }
  Xdo(args);
  return StormPlan::Name(event.act) + QLatin1Char(' ') + args.mid(1).join(QLatin1Char(' '));
}

QString StormHands::WindowManager(const StormEvent& event, const std::vector<GameWindow>& windows) {
  const GameWindow& main = MainWindow(windows);
  if (event.act == Act::Resize) {
    const QSize screenSize = screen.ScreenSize();
    const int w = 640 + event.Pick(0, std::max(1, screenSize.width() - 640));
    const int h = 480 + event.Pick(1, std::max(1, screenSize.height() - 480));
    screen.Resize(main.id, w, h);
    return QStringLiteral("resize to %1x%2").arg(w).arg(h);
  }
  if (event.act == Act::CloseWindow) {
    // The main window rarely: that ends the game, which the storm then starts again.
    std::vector<const GameWindow*> others;
    for (const GameWindow& w : windows)
      if (!w.popup && (w.id != main.id || event.Pick(1, 8) == 0)) others.push_back(&w);
    if (others.empty()) return QStringLiteral("close window: none but the main one");
    const GameWindow& chosen = *others[event.Pick(0, int(others.size()))];
    screen.Close(chosen.id);
    return QStringLiteral("close window \"%1\"").arg(chosen.title.left(40));
  }
  QStringList said;
  std::uint32_t state = event.r[1];
  for (int i = 0, switches = 1 + event.Pick(0, 5); i < switches; ++i) {
    switch (Stir(state) % 3) {
      case 0: screen.ToggleMaximised(main.id); said << QStringLiteral("maximise"); break;
      case 1: screen.ToggleFullScreen(main.id); said << QStringLiteral("full screen"); break;
      default: Xdo({QStringLiteral("key"), QStringLiteral("F12")}); said << QStringLiteral("F12"); break;
    }
  }
  return StormPlan::Name(event.act) + QLatin1Char(' ') + said.join(QLatin1Char(' '));
}

// The main window is brought to the front first, as the player clicks it before the keys.
// Half the loads are cancelled with Esc after a while, half run to the end (a cancelled load
// leaves the table empty); a save dialog's proposal (in the storm's own folder) is taken with
// Enter.
QString StormHands::LoadOrSave(const StormEvent& event, const GameWindow& main) {
  const int first = event.Pick(0, 1500), second = event.Pick(1, 3000);
  Xdo({QStringLiteral("windowactivate"), QString::number(main.id)});
  // The window manager hands the keyboard over meanwhile.
  pause(150);
  if (event.act == Act::Save) {
    Xdo({QStringLiteral("key"), QStringLiteral("ctrl+s")});
    pause(first);
    Xdo({QStringLiteral("key"), QStringLiteral("Return")});
    return QStringLiteral("save: Ctrl+S, %1 ms, Enter").arg(first);
  }
  Xdo({QStringLiteral("key"), QStringLiteral("ctrl+o")});
  pause(first);
  Xdo({QStringLiteral("key"), QStringLiteral("Return")});
  if (event.Pick(2, 2)) return QStringLiteral("load: Ctrl+O, %1 ms, Enter").arg(first);
  pause(second);
  Xdo({QStringLiteral("key"), QStringLiteral("Escape")});
  return QStringLiteral("load: Ctrl+O, %1 ms, Enter, %2 ms, Esc").arg(first).arg(second);
}

// xdotool never waits on the game here; one that does not end in 10 s is ended.
bool StormHands::Xdo(const QStringList& arguments) {
  std::vector<std::string> strings{"xdotool"};
  for (const QString& a : arguments) strings.push_back(a.toStdString());
  std::vector<char*> argv;
  for (std::string& s : strings) argv.push_back(s.data());
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    const int devNull = open("/dev/null", O_RDWR);
    if (devNull >= 0) {
      dup2(devNull, 1);
      dup2(devNull, 2);
    }
    execvp("xdotool", argv.data());
    _exit(127);
  }
  int status = 0;
  for (int waited = 0; waited < 10000; waited += 5) {
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return false;
}
