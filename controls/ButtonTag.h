#pragma once
// The small caption under a toolbar button ("First", "Zoom In"). With all tags shown
// every tag is visible; otherwise a tag shows only while the mouse is over its button.

#include <QLabel>
#include <QPointer>

class QAbstractButton;

class ButtonTag : public QLabel {
  Q_OBJECT
public:
  explicit ButtonTag(const QString& caption = QString(), QWidget* parent = nullptr);
  ~ButtonTag() override;

  void SetButton(QAbstractButton* button);
  QAbstractButton* Button() const { return button; }

  static void SetShowAllTags(bool on) { showAll = on; }
  static bool ShowAllTags() { return showAll; }
  // Re-applies the show-all-tags state to every tag.
  static void Refresh();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void Apply(bool buttonHot);

  QPointer<QAbstractButton> button;
  static bool showAll;
};
