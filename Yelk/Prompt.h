#pragma once
// The one way the game shows a message box. It counts open boxes (the shell queues
// hand-overs while one is up), lets the busy state step aside while a box waits for an
// answer, and can be replaced by a scripted double so that no test blocks on a modal box.

#include <QFlags>
#include <QList>
#include <QString>
#include <functional>

class Prompt {
public:
  // The values are QMessageBox's, so that model code can ask without a widget header.
  enum Button : unsigned {
    NoButton = 0x00000000,
    Ok = 0x00000400,
    Yes = 0x00004000,
    No = 0x00010000,
    Abort = 0x00040000,
    Retry = 0x00080000,
    Ignore = 0x00100000,
    Cancel = 0x00400000,
    Help = 0x01000000,
  };
  Q_DECLARE_FLAGS(Buttons, Button)
  enum Icon { NoIcon, Information, Question, Warning, Stop };

  static Button Show(const QString& text, const QString& caption, Icon icon = NoIcon,
                     Buttons buttons = Ok, Button defaultButton = NoButton);
  // A box captioned with the application title.
  static Button ShowApp(const QString& text, Icon icon = Information,
                        Buttons buttons = Ok, Button defaultButton = NoButton);
  static QString AppCaption();
  // A box with a Help button as well: Help opens the topic and the question stands until
  // one of the other buttons answers it.
  static Button ShowWithHelp(const QString& text, const QString& caption, Icon icon, Buttons buttons,
                             int helpContext);

  static int OpenCount();
  // A scripted double answers instead of the player: windows that would wait for the
  // player show their text as a box instead.
  static bool IsScripted();
  // Called around every shown box (the busy cursor steps aside meanwhile).
  static void SetSuspendHooks(std::function<void()> before, std::function<void()> after);

  struct Record {
    QString text;
    QString caption;
    Icon icon;
    Buttons buttons;
  };

  // While one lives, boxes are recorded and answered from a script instead of shown.
  // Unscripted boxes answer their default button, else Ok/Yes, else the first button.
  class Double {
  public:
    Double();
    ~Double();
    Double(const Double&) = delete;
    Double& operator=(const Double&) = delete;
    void Answer(Button answer);
    const QList<Record>& Shown() const { return shown; }
    void Clear() { shown.clear(); answers.clear(); }

  private:
    friend class Prompt;
    Button Take(const Record& record, Button defaultButton);
    QList<Record> shown;
    QList<Button> answers;
    Double* previous;
  };

private:
  static Button ShowReal(const Record& record, Button defaultButton);
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Prompt::Buttons)
