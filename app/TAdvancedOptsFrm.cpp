#include "TAdvancedOptsFrm.h"

#include "TipsControl.h"

#include "Yelk/PathUtils.h"
#include "Yelk/Prompt.h"
#include "Yelk/SystemUtils.h"
#include "controls/NumberBox.h"
#include "controls/WhatsThis.h"
#include "controls/XPCheckBox.h"
#include "controls/XPGroupBox.h"
#include "controls/XPRadioButton.h"
#include "platform/HelpViewer.h"
#include "settings/ProgSettings.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
// What's-this contexts of the window's controls.
enum Help {
  FileExtsHelp = 1200, SnapEnableHelp, SnapTitleHelp, VolumeHelp, SecondsHelp, ApplauseHelp,
  SnapDistanceHelp, SizeHelp, RefreshHelp, RememberHelp, HistoryHelp, FactoryHelp,
  ScreenSizeHelp, DisplayHelp, StartHelp, EnableTipsHelp, AdvancedTipsHelp, OneTipHelp,
  DismissHelp, RestartHelp
};

NumberBox* Number(QWidget* page, const char* name, int low, int high, int help) {
  auto* box = new NumberBox(page);
  box->setObjectName(QLatin1String(name));
  box->SetMin(low);
  box->SetMax(high);
  box->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  WhatsThis::SetHelpContext(box, help);
  return box;
}
}  // namespace

TAdvancedOptsFrm::TAdvancedOptsFrm(QWidget* owner) : QDialog(owner), settings(Settings()) {
  setObjectName(QStringLiteral("AdvancedOptsFrm"));
  setWindowTitle(QStringLiteral("Advanced Options"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, true);
  Pages = new QTabWidget(this);
  Pages->setObjectName(QStringLiteral("Pages"));
  Pages->addTab(BuildGeneralPage(), QStringLiteral("   General   "));
  Pages->addTab(BuildFullScreenPage(), QStringLiteral("   Full Screen Mode   "));
  Pages->addTab(BuildTipsPage(), QStringLiteral("   Tips   "));
  Button1 = new QPushButton(QStringLiteral("Ok"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setDefault(true);
  Button2 = new QPushButton(QStringLiteral("Cancel"), this);
  Button2->setObjectName(QStringLiteral("Button2"));
  HelpBtn = new QPushButton(QStringLiteral("Help"), this);
  HelpBtn->setObjectName(QStringLiteral("HelpBtn"));
  HelpBtn->setShortcut(Qt::Key_F1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* b : {Button1, Button2, HelpBtn}) buttons->addWidget(b);
  auto* column = new QVBoxLayout(this);
  column->addWidget(Pages);
  column->addLayout(buttons);
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
  connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpBtn, &QPushButton::clicked, this, &TAdvancedOptsFrm::HelpBtnClick);
  resize(441, 327);
  LoadControls();
}

XPCheckBox* TAdvancedOptsFrm::Box(QWidget* page, const char* name, const QString& caption,
                                  int help) {
  auto* box = new XPCheckBox(caption, page);
  box->setObjectName(QLatin1String(name));
  WhatsThis::SetHelpContext(box, help);
  return box;
}

QWidget* TAdvancedOptsFrm::BuildGeneralPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("GeneralTab"));
  FileExtsChkBox = Box(page, "FileExtsChkBox", QStringLiteral("Show file e&xtensions"), FileExtsHelp);
  SnapEnableChkBox = Box(page, "SnapEnableChkBox", QStringLiteral("E&nable snap indicator LED"), SnapEnableHelp);
  SnapChkBox = Box(page, "SnapChkBox", QStringLiteral("Show snap &indicator in title bar"), SnapTitleHelp);
  VolChkBox = Box(page, "VolChkBox", QStringLiteral("Use advanced &volume control"), VolumeHelp);
  SecsChkBox = Box(page, "SecsChkBox", QStringLiteral("Show seconds in &elapsed time clock"), SecondsHelp);
  ApplauseChkBox = Box(page, "ApplauseChkBox", QStringLiteral("Suppress &applause at puzzle completion"), ApplauseHelp);
  RefreshChkBox = Box(page, "RefreshChkBox", QStringLiteral("&Refresh control panel tables continuously"), RefreshHelp);
  RememberChkBox = Box(page, "RememberChkBox", QStringLiteral("Re&member previously used save folder"), RememberHelp);
  SnapBox = Number(page, "SnapBox", 1, 25, SnapDistanceHelp);
  SizeBox = Number(page, "SizeBox", 10, 90, SizeHelp);
  HistoryBtn = new QPushButton(QStringLiteral("Clear &History"), page);
  HistoryBtn->setObjectName(QStringLiteral("HistoryBtn"));
  WhatsThis::SetHelpContext(HistoryBtn, HistoryHelp);
  FactoryBtn = new QPushButton(QStringLiteral("&Factory Defaults"), page);
  FactoryBtn->setObjectName(QStringLiteral("FactoryBtn"));
  WhatsThis::SetHelpContext(FactoryBtn, FactoryHelp);
  connect(HistoryBtn, &QPushButton::clicked, this, &TAdvancedOptsFrm::HistoryBtnClick);
  connect(FactoryBtn, &QPushButton::clicked, this, &TAdvancedOptsFrm::FactoryBtnClick);
  connect(RefreshChkBox, &QCheckBox::clicked, this, &TAdvancedOptsFrm::RefreshChkBoxClick);

  auto* grid = new QGridLayout(page);
  int row = 0;
  for (XPCheckBox* box : {FileExtsChkBox, SnapEnableChkBox, SnapChkBox, VolChkBox, SecsChkBox,
                          ApplauseChkBox})
    grid->addWidget(box, row++, 0, 1, 2);
  auto* snapLbl = new QLabel(QStringLiteral("&Snap distance (pixels):"), page);
  snapLbl->setBuddy(SnapBox);
  auto* sizeLbl = new QLabel(QStringLiteral("Max puzzle si&ze to table size %:"), page);
  sizeLbl->setBuddy(SizeBox);
  grid->addWidget(snapLbl, row, 0);
  grid->addWidget(SnapBox, row++, 1);
  grid->addWidget(sizeLbl, row, 0);
  grid->addWidget(SizeBox, row++, 1);
  grid->addWidget(RefreshChkBox, row++, 0, 1, 2);
  grid->addWidget(RememberChkBox, row++, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(HistoryBtn);
  buttons->addWidget(FactoryBtn);
  buttons->addStretch();
  grid->addLayout(buttons, row++, 0, 1, 2);
  grid->setRowStretch(row, 1);
  grid->setColumnStretch(2, 1);
  return page;
}

QWidget* TAdvancedOptsFrm::BuildFullScreenPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("FullScreenTab"));
  GroupBox = new XPGroupBox(QStringLiteral("Screen Area Size"), page);
  GroupBox->setObjectName(QStringLiteral("GroupBox"));
  WhatsThis::SetHelpContext(GroupBox, ScreenSizeHelp);
  NoChangeBtn = new XPRadioButton(QStringLiteral("Do &not change screen size"), GroupBox);
  NoChangeBtn->setObjectName(QStringLiteral("NoChangeBtn"));
  LargeBtn = new XPRadioButton(QStringLiteral("Use &large screen size"), GroupBox);
  LargeBtn->setObjectName(QStringLiteral("LargeBtn"));
  ExtraLargeBtn = new XPRadioButton(QStringLiteral("Use &extra large screen size"), GroupBox);
  ExtraLargeBtn->setObjectName(QStringLiteral("ExtraLargeBtn"));
  auto* sizes = new QVBoxLayout(GroupBox);
  sizes->setContentsMargins(12, 20, 12, 10);
  for (XPRadioButton* b : {NoChangeBtn, LargeBtn, ExtraLargeBtn}) sizes->addWidget(b);
  DisplayChkBox = Box(page, "DisplayChkBox", QStringLiteral("&Allow display settings change"), DisplayHelp);
  StartChkBox = Box(page, "StartChkBox", QStringLiteral("&Start in full screen mode"), StartHelp);
  connect(DisplayChkBox, &QCheckBox::clicked, this, &TAdvancedOptsFrm::DisplayChkBoxClick);
  auto* column = new QVBoxLayout(page);
  column->addWidget(GroupBox);
  column->addWidget(DisplayChkBox);
  column->addWidget(StartChkBox);
  column->addStretch();
  return page;
}

QWidget* TAdvancedOptsFrm::BuildTipsPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("TipsTab"));
  EnableTipsChkBox = Box(page, "EnableTipsChkBox", QStringLiteral("&Enable tips"), EnableTipsHelp);
  AdvancedTipsChkBox = Box(page, "AdvancedTipsChkBox", QStringLiteral("Show &advanced tips only"), AdvancedTipsHelp);
  OneTipChkBox = Box(page, "OneTipChkBox", QStringLiteral("Show no more than &one tip per session"), OneTipHelp);
  DismissTipsChkBox = Box(page, "DismissTipsChkBox", QStringLiteral("Automatically &dismiss tips"), DismissHelp);
  RestartTipsChkBox = Box(page, "RestartTipsChkBox", QStringLiteral("&Restart tips"), RestartHelp);
  connect(EnableTipsChkBox, &QCheckBox::clicked, this, &TAdvancedOptsFrm::EnableTipsChkBoxClick);
  auto* column = new QVBoxLayout(page);
  column->addWidget(EnableTipsChkBox);
  for (XPCheckBox* box : {AdvancedTipsChkBox, OneTipChkBox, DismissTipsChkBox, RestartTipsChkBox}) {
    auto* indented = new QHBoxLayout;
    indented->addSpacing(20);
    indented->addWidget(box);
    column->addLayout(indented);
  }
  column->addStretch();
  return page;
}

void TAdvancedOptsFrm::LoadControls() {
  const ProgSettings& s = *settings;
  FileExtsChkBox->setChecked(s.ShowFileExts);
  SnapEnableChkBox->setChecked(s.EnableSnapIndicator);
  SnapChkBox->setChecked(s.SnapLedInTitle == csAlways);
  VolChkBox->setChecked(s.AdvancedVolumeControl);
  SecsChkBox->setChecked(s.ShowSeconds);
  ApplauseChkBox->setChecked(s.SuppressApplause);
  SnapBox->SetValue(s.SnapDistance);
  SizeBox->SetValue(s.MaxTablePercentage);
  RefreshChkBox->setChecked(s.ContinuousRefresh);
  RememberChkBox->setChecked(s.UsePreviousSaveFolder);
  (s.FullScreenSize == 2 ? ExtraLargeBtn : s.FullScreenSize == 1 ? LargeBtn : NoChangeBtn)
      ->setChecked(true);
  DisplayChkBox->setChecked(s.AllowDisplayChange);
  StartChkBox->setChecked(s.FullScreenStart);
  EnableTipsChkBox->setChecked(s.TipsEnabled);
  AdvancedTipsChkBox->setChecked(s.AdvancedTipsOnly);
  OneTipChkBox->setChecked(s.OneTipOnly);
  DismissTipsChkBox->setChecked(s.AutoDismissTips);
  DisplayChkBoxClick();
  EnableTipsChkBoxClick();
}

void TAdvancedOptsFrm::DisplayChkBoxClick() {
  const bool on = DisplayChkBox->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{GroupBox, NoChangeBtn, LargeBtn, ExtraLargeBtn})
    w->setEnabled(on);
}

void TAdvancedOptsFrm::EnableTipsChkBoxClick() {
  const bool on = EnableTipsChkBox->isChecked();
  for (XPCheckBox* box : {AdvancedTipsChkBox, OneTipChkBox, RestartTipsChkBox, DismissTipsChkBox})
    box->setEnabled(on);
}

void TAdvancedOptsFrm::RefreshChkBoxClick() {
  if (!isVisible() || !RefreshChkBox->isChecked()) return;
  Prompt::ShowApp(QStringLiteral("A little extra computer power is required to run Tessavinelume puzzles "
                                 "when this option is turned on.\n\nIf playing Tessavinelume "
                                 "puzzles becomes sluggish you may want to turn this option off."),
                  Prompt::Information);
}

// Into the controls only: OK writes them.
void TAdvancedOptsFrm::FactoryBtnClick() {
  FileExtsChkBox->setChecked(ShowFileExts());
  SnapEnableChkBox->setChecked(true);
  for (XPCheckBox* box : {SnapChkBox, VolChkBox, SecsChkBox, ApplauseChkBox, RefreshChkBox,
                          RememberChkBox, StartChkBox, AdvancedTipsChkBox, OneTipChkBox})
    box->setChecked(false);
  SnapBox->SetValue(5);
  SizeBox->SetValue(55);
  NoChangeBtn->setChecked(true);
  DisplayChkBox->setChecked(true);
  EnableTipsChkBox->setChecked(true);
  DismissTipsChkBox->setChecked(true);
  DisplayChkBoxClick();
  EnableTipsChkBoxClick();
}

void TAdvancedOptsFrm::HelpBtnClick() { HelpViewer::ShowTopic(QStringLiteral("AdvancedOptions")); }

bool TAdvancedOptsFrm::event(QEvent* e) {
  if (e->type() == QEvent::EnterWhatsThisMode) {
    WhatsThis::Begin();
    return true;
  }
  return QDialog::event(e);
}

void TAdvancedOptsFrm::done(int result) {
  if (result == QDialog::Accepted) FormClose();
  QDialog::done(result);
}

QString TAdvancedOptsFrm::DefaultPuzzleFolder() {
  return ConvertToLongPath(GetExePath(false)) + QStringLiteral("/Puzzle Box/");
}

void TAdvancedOptsFrm::FormClose() {
  // An empty or unreadable entry keeps the stored number.
  settings->MaxTablePercentage = SizeBox->Value();
  settings->SnapDistance = SnapBox->Value();
  WriteGeneral();
  TipsControl& tips = TipsControl::Get();
  if (RestartTipsChkBox->isChecked()) tips.ResetTips();
  settings->FullScreenSize = ExtraLargeBtn->isChecked() ? 2 : LargeBtn->isChecked() ? 1 : 0;
  settings->FullScreenStart = StartChkBox->isChecked();
  settings->AllowDisplayChange = DisplayChkBox->isChecked();
  if (clearHistory) ClearHistoryLists();
  settings->TipsEnabled = EnableTipsChkBox->isChecked();
  settings->AdvancedTipsOnly = AdvancedTipsChkBox->isChecked();
  settings->OneTipOnly = OneTipChkBox->isChecked();
  tips.SetTipsEnabled(settings->TipsEnabled);
}

void TAdvancedOptsFrm::WriteGeneral() {
  ProgSettings& s = *settings;
  s.ShowFileExts = FileExtsChkBox->isChecked();
  s.AdvancedVolumeControl = VolChkBox->isChecked();
  s.ShowSeconds = SecsChkBox->isChecked();
  s.SuppressApplause = ApplauseChkBox->isChecked();
  s.ContinuousRefresh = RefreshChkBox->isChecked();
  s.UsePreviousSaveFolder = RememberChkBox->isChecked();
  s.SnapLedInTitle = SnapChkBox->isChecked() ? csAlways : csWhenInvisible;
  s.AutoDismissTips = DismissTipsChkBox->isChecked();
  // The table's snap indicator reads this flag.
  s.EnableSnapIndicator = SnapEnableChkBox->isChecked();
}

void TAdvancedOptsFrm::ClearHistoryLists() {
  ProgSettings& s = *settings;
  s.RecentPuzzles.clear();
  const QString folder = DefaultPuzzleFolder();
  for (QStringList* list : {&s.NewPuzzleFolders, &s.SavedPuzzleFolders, &s.CreatePuzzleFolders})
    *list = QStringList{folder};
}
