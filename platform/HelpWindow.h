#pragma once
// The help window: the whole help document with back, forward and contents buttons.

#include <QWidget>

class QTextBrowser;

class HelpWindow : public QWidget {
  Q_OBJECT
public:
  // The one help window, made on first use.
  static HelpWindow* Instance();
  void ShowTopic(const QString& topic);

private:
  HelpWindow();
  QTextBrowser* browser;
};
