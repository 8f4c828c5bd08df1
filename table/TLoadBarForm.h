#pragma once
// The small window shown while a puzzle loads: a row of stage icons, the stage's caption, a
// progress bar and "Press 'Esc' to cancel". The cutting code, the piece layout and the
// animated-puzzle reader set its stage and bar; Esc raises the cancel flag they all poll.
// Every setter lets pending events through, so the window stays alive during the work.

#include "puzzle/LoadProgress.h"

#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <functional>

class QFrame;
class QLabel;
class QProgressBar;
class QToolButton;

class TLoadBarForm : public QWidget, public LoadProgress {
  Q_OBJECT
public:
  // A window of its own, kept above the owner's window and centred on it: a child window
  // would be disabled with the main window during the load and never see Esc.
  explicit TLoadBarForm(QWidget* owner = nullptr);
  ~TLoadBarForm() override;

  // Stage 2 (patterns), 3 (pieces), 4 (positions) or 5 (video): its icon lights, its caption
  // shows and the bar restarts. From the second stage on, the previous one stays visible
  // for a moment first.
  void SetStage(int stage) override;
  int GetStage() const { return stage; }
  // 0 while no stage is shown.
  int BarPosition() override;
  // Kept within 0..100; ignored until a stage is shown.
  void SetBarPosition(int position) override;
  bool IsCancelled() const override { return cancelled; }
  bool LastCancelCheck() override;
  // False hides the video stage's icon; the others stay centred.
  void SetQvp(bool qvp);

  // A loading window exists: the shell queues hand-overs and dropped files meanwhile.
  static bool LoadIsRunning();
  // How the window waits between stages and before closing (milliseconds); an empty waiter
  // restores the pause that lets events through. Tests wait for nothing.
  static void SetWaiter(std::function<void(int milliseconds)> waiter);

  QFrame* Panel1;
  QFrame* Panel2;
  QLabel* ProgressLbl;
  QLabel* Label1;
  QProgressBar* LoadBar;
  QWidget* ToolBar1;
  QToolButton* DieBtn;
  QToolButton* CutBtn;
  QToolButton* PositionBtn;
  QToolButton* LoadBtn;
  // Active stage images at 1 to 4, idle ones at 6 to 9.
  QList<QPixmap> ProgressImages;

protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  void BuildPanels();
  void BuildToolBar();
  void LoadImages();
  void ShowStageIcons(int active);
  void CancelCheck();
  void ReleaseCancelFlag();
  void Pause(int milliseconds);

  QPointer<QWidget> owner;
  int stage = 0;
  bool qvp = true;
  bool cancelled = false;
  bool registered = false;
};
