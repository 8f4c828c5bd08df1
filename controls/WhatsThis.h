#pragma once
// Context help: controls carry a help context number; in what's-this mode the next click
// shows the pop-up help topic of the control under the mouse (or of its nearest parent
// that has one). Esc or a click outside the program's windows ends the mode.

class QWidget;

class WhatsThis {
public:
  static void Begin();
  static bool Active();

  // 0 means no help context of its own.
  static void SetHelpContext(QWidget* control, int context);
  static int HelpContext(const QWidget* control);
  // The help context that applies to a control: its own or its nearest parent's.
  static int ContextFor(const QWidget* control);
};
