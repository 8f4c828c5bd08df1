#pragma once
// The gallery's left side: every in-house control, in the states the game shows them in.

#include <QWidget>

class QGridLayout;

class ControlsPage : public QWidget {
  Q_OBJECT
public:
  explicit ControlsPage(QWidget* parent = nullptr);

private:
  void AddRow(const QString& caption, QWidget* content);
  QWidget* PreviewToolbar();
  QWidget* Indicators();
  QWidget* ImageButtons();
  QWidget* TipBar();
  QWidget* Toggles();
  QWidget* Entries();
  QWidget* Popups();

  QGridLayout* grid;
  int rows = 0;
};
