#pragma once
// The main window's settings for a game in a test, and an answerer of its modal windows as
// a player would: the open dialog with its smallest piece count, a save dialog with the name
// given, a message box with the button given (each one's text recorded).

#include "controls/ChooseBox.h"
#include "settings/ProgSettings.h"
#include "WhenModal.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

class ModalAnswers : public QObject {
public:
  ModalAnswers() {
    timer.setInterval(20);
    connect(&timer, &QTimer::timeout, this, &ModalAnswers::Answer);
    timer.start();
  }

  // A small window, not maximised, 40-pixel pieces, no auto save and no welcome page.
  static void PlaySettings() {
    ProgSettings& settings = *Settings();
    settings.Maximized = false;
    settings.Width = 770;
    settings.Height = 420;
    settings.PuzzlePieceSize = 40;
    settings.AutoSaveInterval = 0;
    settings.ShowWelcome = false;
  }

  QString savePath;
  QMessageBox::StandardButton boxAnswer = QMessageBox::No;
  QStringList boxTexts;  // the message boxes answered, in order

private:
  void Answer() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == answered) return;
    if (auto* pieces = modal->findChild<ChooseBox*>(QStringLiteral("NumPiecesBox"))) {
      pieces->setCurrentIndex(pieces->count() - 1);
      modal->findChild<QPushButton*>(QStringLiteral("OpenBtn"))->click();
    } else if (auto* save = qobject_cast<QFileDialog*>(modal)) {
      AcceptFileDialog(save, savePath, Qt::QueuedConnection);
    } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      boxTexts << box->text();
      if (QAbstractButton* button = box->button(boxAnswer)) button->click();
    } else {
      return;
    }
    answered = modal;
  }

  QTimer timer;
  QPointer<QWidget> answered;
};
