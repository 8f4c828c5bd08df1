#pragma once
// The advanced options: the less common settings on three pages (General, Full Screen
// Mode, Tips). The controls start from the stored values; only OK writes them back, in a
// fixed order, and Factory Defaults or Clear History followed by Cancel change nothing.

#include <QDialog>
#include <QString>

class NumberBox;
class ProgSettings;
class QAbstractButton;
class QPushButton;
class QTabWidget;
class XPCheckBox;
class XPGroupBox;
class XPRadioButton;

class TAdvancedOptsFrm : public QDialog {
  Q_OBJECT
public:
  explicit TAdvancedOptsFrm(QWidget* owner);

  // The folder the three folder lists start from after Clear History.
  static QString DefaultPuzzleFolder();

  void DisplayChkBoxClick();
  void EnableTipsChkBoxClick();
  void RefreshChkBoxClick();
  void HistoryBtnClick() { clearHistory = true; }
  void FactoryBtnClick();
  void HelpBtnClick();

  void done(int result) override;

protected:
  bool event(QEvent* e) override;

private:
  QWidget* BuildGeneralPage();
  QWidget* BuildFullScreenPage();
  QWidget* BuildTipsPage();
  XPCheckBox* Box(QWidget* page, const char* name, const QString& caption, int help);
  void LoadControls();
  void FormClose();
  void WriteGeneral();
  void ClearHistoryLists();

  ProgSettings* settings;
  bool clearHistory = false;

  QTabWidget* Pages;
  XPCheckBox *FileExtsChkBox, *SnapEnableChkBox, *SnapChkBox, *VolChkBox, *SecsChkBox;
  XPCheckBox *ApplauseChkBox, *RefreshChkBox, *RememberChkBox;
  NumberBox *SnapBox, *SizeBox;
  QPushButton *HistoryBtn, *FactoryBtn;
  XPGroupBox* GroupBox;
  XPRadioButton *NoChangeBtn, *LargeBtn, *ExtraLargeBtn;
  XPCheckBox *DisplayChkBox, *StartChkBox;
  XPCheckBox *EnableTipsChkBox, *AdvancedTipsChkBox, *OneTipChkBox, *DismissTipsChkBox;
  XPCheckBox* RestartTipsChkBox;
  QPushButton *Button1, *Button2, *HelpBtn;
};
