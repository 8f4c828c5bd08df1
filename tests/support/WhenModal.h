#pragma once
// Acting on a modal window that a call about to run will show: the act is polled from the
// event loop that the modal window runs.

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

// Runs act on the next modal window once it shows.
inline void WhenModal(std::function<void(QWidget*)> act) {
  QTimer::singleShot(50, [act] {
    if (QWidget* modal = QApplication::activeModalWidget())
      act(modal);
    else
      WhenModal(act);
  });
}

// A file dialog that is showing takes path as the player's typed answer.
inline void AcceptFileDialog(QFileDialog* dialog, const QString& path,
                             Qt::ConnectionType type = Qt::AutoConnection) {
  dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
  QMetaObject::invokeMethod(dialog, "accept", type);
}

// The next file dialog is answered with path.
inline void AnswerFileDialog(const QString& path) {
  WhenModal([path](QWidget* modal) {
    if (auto* dialog = qobject_cast<QFileDialog*>(modal)) AcceptFileDialog(dialog, path);
  });
}

// A start without a file shows the open dialog: waits for the next modal window and
// cancels it; false when none showed and went within the time.
inline bool DismissNextModal(int timeoutMs = 20000) {
  auto dismissed = std::make_shared<bool>(false);
  WhenModal([dismissed](QWidget* modal) {
    *dismissed = true;
    QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
  });
  return QTest::qWaitFor([dismissed] { return *dismissed && !QApplication::activeModalWidget(); }, timeoutMs);
}
