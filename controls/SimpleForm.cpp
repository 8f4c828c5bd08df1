#include "SimpleForm.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

SimpleForm::SimpleForm(QWidget* owner) : QFrame(owner, Qt::Popup) {
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(1);
}

void SimpleForm::Show() { ShowAt(QCursor::pos()); }

void SimpleForm::ShowAt(QPoint globalPos) {
  adjustSize();
  QScreen* screen = QGuiApplication::screenAt(globalPos);
  if (!screen) screen = QGuiApplication::primaryScreen();
  move(screen ? PlaceInside(screen->availableGeometry(), globalPos, size()) : globalPos);
  show();
}

QPoint SimpleForm::PlaceInside(const QRect& available, QPoint at, QSize size) {
  const int x = qMax(available.left(), qMin(at.x(), available.right() + 1 - size.width()));
  const int y = qMax(available.top(), qMin(at.y(), available.bottom() + 1 - size.height()));
  return {x, y};
}
