#include "HelpViewer.h"

#include "HelpDocument.h"
#include "HelpPopup.h"
#include "HelpWindow.h"


bool HelpViewer::ShowTopic(const QString& topic) {
  if (!HelpDocument::Bundled().HasTopic(topic)) return false;
  HelpWindow::Instance()->ShowTopic(topic);
  return true;
}

QString HelpViewer::PopupText(int context) {
  const QString topic = HelpDocument::Bundled().Topic(QString::number(context));
  return topic.isEmpty() ? QStringLiteral("No Help topic is associated with this item.") : topic;
}

void HelpViewer::ShowPopup(int context, QPoint globalPos) {
  auto* popup = new HelpPopup(PopupText(context));
  popup->ShowNear(globalPos);
}
