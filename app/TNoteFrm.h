#pragma once
// The puzzle note window: a puzzle's formatted note in the note editor, read-only for the
// player, editable while a still puzzle is being made. Always shown modally; the caller
// saves the text (SaveNote) when it ends with Accepted.

#include <QDialog>
#include <QRect>

#include <functional>

class QAction;
class QByteArray;
class QToolBar;
class RichEdit20;

class TNoteFrm : public QDialog {
  Q_OBJECT
public:
  explicit TNoteFrm(QWidget* owner);

  // The note shown and loaded once the window is on screen; null for none. Not owned.
  void SetNoteStream(const QByteArray* stream) { noteStream = stream; }
  void SetViewOnly();
  // Arial 10 in the window-text colour as the editor's default font.
  void SetUpForEditing();
  int exec() override;
  // The editor's text as RTF into the stream; false when that failed (already reported).
  bool SaveNote(QByteArray& stream);

  RichEdit20* Editor() const { return editor; }
  // The note options, set before and read after the modal run.
  bool hiddenUntilCompleted = false;
  bool shownAtCompletion = false;

  // The command handlers; the word processor's takes the modifiers held when clicked.
  void CloseAtnExecute();
  void PrintAtnExecute();
  void WordPadAtnExecute(Qt::KeyboardModifiers held);
  void OptionsAtnExecute();

  // The screen area a grown window must stay inside; tests put their own in its place.
  using AreaSource = std::function<QRect(const QRect& near)>;
  static void SetAreaSource(AreaSource source);
  // The printer set-up dialog run before printing; true to print. Tests replace it.
  using PrintSetup = std::function<bool(QWidget* owner)>;
  static void SetPrintSetup(PrintSetup setup);

  QAction *CopyAtn, *PasteAtn, *PrintAtn, *WordPadAtn, *OptionsAtn, *HelpAtn, *CloseAtn;

protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

private:
  void BuildToolbar();
  void UpdateActions();
  void LoadNote();
  void GrowForLongNote();
  QString ChooseWordProcessor();

  const QByteArray* noteStream = nullptr;
  RichEdit20* editor;
  QToolBar* ToolBar1;
  bool optionsChanged = false;
  bool loadPending = false;
};

// Shows a note read-only, modal over the window.
void ShowNoteWindow(QWidget* over, const QByteArray& note);
