#pragma once
// Acting on a modal window that a call about to run will show: the act is polled from the
// event loop that the modal window runs.

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs act on the next modal window once it shows.
inline void WhenModal(std::function<void(QWidget*)> act) {
  QTimer::singleShot(50, [act] {
    if (QWidget* modal = QApplication::activeModalWidget())
      act(modal);
    else
      WhenModal(act);
  });
}

// The next file dialog is answered with path.
inline void AnswerFileDialog(const QString& path) {
  WhenModal([path](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (!dialog) return;
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
    QMetaObject::invokeMethod(dialog, "accept");
  });
}
