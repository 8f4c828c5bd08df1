#include "Prompt.h"

#include "OverWindow.h"
#include "TMsgLog.h"
#include "platform/HelpViewer.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

namespace {
int openCount = 0;
Prompt::Double* currentDouble = nullptr;
std::function<void()> beforeHook;
std::function<void()> afterHook;

QMessageBox::Icon ToQtIcon(Prompt::Icon icon) {
  switch (icon) {
    case Prompt::Information: return QMessageBox::Information;
    case Prompt::Question: return QMessageBox::Question;
    case Prompt::Warning: return QMessageBox::Warning;
    case Prompt::Stop: return QMessageBox::Critical;
    default: return QMessageBox::NoIcon;
  }
}

// Keeps the count and the hooks paired even when the box's event loop throws.
struct OpenPrompt {
  OpenPrompt() {
    ++openCount;
    if (beforeHook) beforeHook();
  }
  ~OpenPrompt() {
    if (afterHook) afterHook();
    --openCount;
  }
};
}  // namespace

Prompt::Button Prompt::Show(const QString& text, const QString& caption, Icon icon,
                            Buttons buttons, Button defaultButton) {
  const Record record{text, caption, icon, buttons};
  OpenPrompt open;
  if (currentDouble) return currentDouble->Take(record, defaultButton);
  return ShowReal(record, defaultButton);
}

Prompt::Button Prompt::ShowWithHelp(const QString& text, const QString& caption, Icon icon,
                                    Buttons buttons, int helpContext) {
  for (;;) {
    const Button answer = Show(text, caption, icon, buttons | Help);
    if (answer != Help) return answer;
    HelpViewer::ShowContext(helpContext);
  }
}

Prompt::Button Prompt::ShowApp(const QString& text, Icon icon, Buttons buttons,
                               Button defaultButton) {
  return Show(text, AppCaption(), icon, buttons, defaultButton);
}

QString Prompt::AppCaption() {
  const QString title = QGuiApplication::applicationDisplayName();
  return title.isEmpty() ? QStringLiteral(" ") : title;
}

int Prompt::OpenCount() { return openCount; }

bool Prompt::IsScripted() { return currentDouble != nullptr; }

void Prompt::SetSuspendHooks(std::function<void()> before, std::function<void()> after) {
  beforeHook = std::move(before);
  afterHook = std::move(after);
}

Prompt::Button Prompt::ShowReal(const Record& record, Button defaultButton) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
    TMsgLog::Add(QStringLiteral("Prompt without a window system: ") + record.text);
    return defaultButton != NoButton ? defaultButton : Ok;
  }
  // Above the window the player is in, and owned by this call only: that window may be
  // deleted while the box waits for its answer.
  QMessageBox box(ToQtIcon(record.icon), record.caption, record.text,
                  QMessageBox::StandardButtons(record.buttons.toInt()));
  OverWindow::Place(&box, QApplication::activeWindow());
  if (defaultButton != NoButton)
    box.setDefaultButton(static_cast<QMessageBox::StandardButton>(defaultButton));
  return static_cast<Button>(box.exec());
}

Prompt::Double::Double() : previous(currentDouble) { currentDouble = this; }

Prompt::Double::~Double() { currentDouble = previous; }

void Prompt::Double::Answer(Button answer) { answers.append(answer); }

Prompt::Button Prompt::Double::Take(const Record& record, Button defaultButton) {
  shown.append(record);
  if (!answers.isEmpty()) return answers.takeFirst();
  if (defaultButton != NoButton) return defaultButton;
  for (Button b : {Ok, Yes}) {
    if (record.buttons.testFlag(b)) return b;
  }
  for (int bit = 0; bit < 32; ++bit) {
    const auto b = static_cast<Button>(1u << bit);
    if (record.buttons.testFlag(b)) return b;
  }
  return Ok;
}
