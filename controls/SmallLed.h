#pragma once
// A small LED lamp that can be lit, dark or flashing. While it shows lit it can also
// mark its window's caption, so that the player sees it with the panel hidden.

#include "settings/CaptionSetting.h"

#include <QPointer>
#include <QWidget>

class QTimer;

class SmallLed : public QWidget {
  Q_OBJECT
public:
  enum LedColor { lcGreen, lcYellow };
  // Appended to the caption while the LED marks it.
  static const QString CaptionMark;
  static constexpr int DefaultFlashRate = 500;

  explicit SmallLed(QWidget* parent = nullptr, LedColor color = lcGreen);
  ~SmallLed() override;

  LedColor GetLedColor() const { return ledColor; }
  void SetLedColor(LedColor color);
  // Milliseconds per flash phase; 0 or less flashes nothing and shows the LED steadily lit.
  int FlashRate() const { return flashRate; }
  void SetFlashRate(int ms);
  CaptionSetting UseCaption() const { return useCaption; }
  void SetUseCaption(CaptionSetting setting);

  void SetLit(bool lit);
  void SetFlash(bool flash);
  bool IsLit() const { return lit; }
  bool IsFlashing() const { return flashing; }
  // Whether the lamp shows light at this moment (lit, or in the bright phase of a flash).
  bool ShowsLight() const;

  QSize sizeHint() const override { return {14, 14}; }

signals:
  void clicked();

protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
  void FlashTick();

private:
  void Update();
  void UpdateCaption();
  void WatchWindow();
  bool WantsMark() const;
  void SetMark(QWidget* window, bool on);

  LedColor ledColor;
  int flashRate = DefaultFlashRate;
  CaptionSetting useCaption = csNever;
  bool lit = false;
  bool flashing = false;
  bool brightPhase = true;
  bool settingCaption = false;
  QTimer* flashTimer;
  QPointer<QWidget> markedWindow;
  QPointer<QWidget> watchedWindow;
};
