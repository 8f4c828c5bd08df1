#pragma once
// The help window and the pop-up help topics, over the bundled help document.

#include <QPoint>
#include <QString>

class HelpViewer {
public:
  // Opens (or raises) the help window at a topic named by number or name; false, and the
  // window stays shut, when the document has no such topic.
  static bool ShowTopic(const QString& topic);
  static bool ShowContext(int context) { return ShowTopic(QString::number(context)); }
  // A small pop-up with one topic's text near a screen point; a context without a topic
  // tells the player so.
  static void ShowPopup(int context, QPoint globalPos);
  static QString PopupText(int context);
};
