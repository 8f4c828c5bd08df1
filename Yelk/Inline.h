#pragma once
// Small helpers every unit of the game uses.

#include <QString>
#include <cstddef>
#include <cstring>

inline int GreaterOf(int a, int b) { return a > b ? a : b; }
inline int Greater(int a, int b) { return a > b ? a : b; }
inline int LesserOf(int a, int b) { return a < b ? a : b; }
inline int Lesser(int a, int b) { return a < b ? a : b; }

// Windows virtual-key codes the game asks about.
enum VirtualKey : int {
  VK_LBUTTON = 0x01,
  VK_RBUTTON = 0x02,
  VK_MBUTTON = 0x04,
  VK_SHIFT = 0x10,
  VK_CONTROL = 0x11,
  VK_MENU = 0x12,
  VK_CAPITAL = 0x14,
  VK_ESCAPE = 0x1B,
};

// Shift, Ctrl and Alt are held.
bool KeyIsDown(int virtualKey);
// Caps Lock is on.
bool KeyIsToggled(int virtualKey);
// Left, right or middle mouse button is held.
bool MouseBtnIsDown(int virtualKey);

// An OK-only message box whose caption is a single blank.
void MsgBox(const QString& text);

inline void MemCopy(void* target, const void* source, std::size_t bytes) {
  if (bytes) std::memcpy(target, source, bytes);
}

// Text to the debugger's output (standard error here).
void OutputDbgStr(const QString& text);
