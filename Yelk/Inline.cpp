#include "Inline.h"

#include "Prompt.h"
#include "platform/KeyboardLocks.h"

#include <QGuiApplication>
#include <cstdio>

bool KeyIsDown(int virtualKey) {
  if (!qGuiApp) return false;
  const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
  switch (virtualKey) {
    case VK_SHIFT: return mods.testFlag(Qt::ShiftModifier);
    case VK_CONTROL: return mods.testFlag(Qt::ControlModifier);
    case VK_MENU: return mods.testFlag(Qt::AltModifier);
    default: return MouseBtnIsDown(virtualKey);
  }
}

bool KeyIsToggled(int virtualKey) {
  return virtualKey == VK_CAPITAL && KeyboardLocks::CapsLockIsOn();
}

bool MouseBtnIsDown(int virtualKey) {
  if (!qGuiApp) return false;
  const Qt::MouseButtons buttons = QGuiApplication::mouseButtons();
  switch (virtualKey) {
    case VK_LBUTTON: return buttons.testFlag(Qt::LeftButton);
    case VK_RBUTTON: return buttons.testFlag(Qt::RightButton);
    case VK_MBUTTON: return buttons.testFlag(Qt::MiddleButton);
    default: return false;
  }
}

void MsgBox(const QString& text) {
  Prompt::Show(text, QStringLiteral(" "), Prompt::NoIcon, Prompt::Ok);
}

void OutputDbgStr(const QString& text) {
  std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}
