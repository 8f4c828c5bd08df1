#include "HelpPopup.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

HelpPopup::HelpPopup(const QString& html, QWidget* parent) : QFrame(parent, Qt::Popup) {
  setAttribute(Qt::WA_DeleteOnClose);
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(1);
  QPalette pale = palette();
  pale.setColor(QPalette::Window, QColor(0xff, 0xff, 0xe1));
  pale.setColor(QPalette::WindowText, Qt::black);
  setPalette(pale);
  setAutoFillBackground(true);
  auto* text = new QLabel(html, this);
  text->setObjectName("helpText");
  text->setTextFormat(Qt::RichText);
  text->setWordWrap(true);
  text->setMaximumWidth(360);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 8, 10, 8);
  layout->addWidget(text);
}

void HelpPopup::ShowNear(QPoint globalPos) {
  adjustSize();
  QPoint at = globalPos + QPoint(0, 12);
  if (QScreen* screen = QGuiApplication::screenAt(globalPos)) {
    const QRect area = screen->availableGeometry();
    at.setX(qBound(area.left(), at.x() - width() / 2, area.right() + 1 - width()));
    if (at.y() + height() > area.bottom() + 1) at.setY(globalPos.y() - 12 - height());
    at.setY(qMax(area.top(), at.y()));
  }
  move(at);
  show();
}

void HelpPopup::mousePressEvent(QMouseEvent*) { close(); }

void HelpPopup::keyPressEvent(QKeyEvent*) { close(); }
