#include "ControlsPage.h"

#include "controls/Artwork.h"
#include "controls/ButtonTag.h"
#include "controls/ChooseBox.h"
#include "controls/FloatButton.h"
#include "controls/FrugalPopupMenu.h"
#include "controls/Glyph.h"
#include "controls/IconListBox.h"
#include "controls/LabelButton.h"
#include "controls/NumberBox.h"
#include "controls/OstrevPanel.h"
#include "controls/SmallLed.h"
#include "controls/TColorChooser.h"
#include "controls/WallPaperPanel.h"
#include "controls/XPButton.h"
#include "controls/XPCheckBox.h"
#include "controls/XPGroupBox.h"
#include "controls/XPRadioButton.h"
#include "platform/HelpPopup.h"
#include "platform/HelpViewer.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
QWidget* Row(std::initializer_list<QWidget*> widgets) {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  for (QWidget* w : widgets) layout->addWidget(w);
  layout->addStretch();
  return row;
}

QLabel* Snapshot(QWidget& popup) {
  popup.adjustSize();
  auto* label = new QLabel;
  label->setPixmap(popup.grab());
  return label;
}
}  // namespace

ControlsPage::ControlsPage(QWidget* parent) : QWidget(parent) {
  grid = new QGridLayout(this);
  grid->setColumnStretch(1, 1);
  grid->setVerticalSpacing(10);
  AddRow("WallPaperPanel, FloatButton,\nButtonTag, LabelButton", PreviewToolbar());
  AddRow("SmallLed, OstrevPanel", Indicators());
  AddRow("XPButton", ImageButtons());
  AddRow("XPButton on the tip bar", TipBar());
  AddRow("XPCheckBox, XPGroupBox,\nXPRadioButton", Toggles());
  AddRow("NumberBox, ChooseBox,\nIconListBox, LabelButton", Entries());
  AddRow("TColorChooser,\nFrugalPopupMenu, help", Popups());
  grid->setRowStretch(rows, 1);
}

void ControlsPage::AddRow(const QString& caption, QWidget* content) {
  auto* label = new QLabel(caption);
  label->setAlignment(Qt::AlignRight | Qt::AlignTop);
  label->setStyleSheet("color: #555");
  grid->addWidget(label, rows, 0);
  grid->addWidget(content, rows, 1);
  ++rows;
}

QWidget* ControlsPage::PreviewToolbar() {
  auto* bar = new WallPaperPanel;
  bar->setFixedSize(600, 57);
  const QStringList names{"first", "prev", "next", "last", "zoomin", "zoomout", "layout", "print", "close"};
  const QStringList tags{"First", "Prev", "Next", "Last", "Zoom In", "Zoom Out", "Layout", "Print", "Close"};
  int x = 8;
  for (int i = 0; i < names.size(); ++i) {
    auto* button = new FloatButton(bar);
    button->setIcon(Artwork::Icon("images/24/" + names[i]));
    button->move(x, 4);
    if (names[i] == "layout") {
      button->SetToggleable(true);
      button->SetToggled(true);
    }
    if (names[i] == "first") button->setEnabled(false);
    auto* tag = new ButtonTag(tags[i], bar);
    tag->setGeometry(x - 10, 38, 54, 16);
    tag->SetButton(button);
    x += names[i] == "last" ? 124 : 50;
  }
  auto* page = new QLabel(bar);
  page->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  page->setGeometry(212, 14, 70, 22);
  auto* pageLabel = new LabelButton(page);
  pageLabel->SetCaption("  Page 1  ");
  pageLabel->setGeometry(1, 1, 68, 20);
  ButtonTag::Refresh();
  return bar;
}

QWidget* ControlsPage::Indicators() {
  auto* lit = new SmallLed(nullptr, SmallLed::lcGreen);
  lit->SetLit(true);
  auto* dark = new SmallLed(nullptr, SmallLed::lcGreen);
  auto* yellow = new SmallLed(nullptr, SmallLed::lcYellow);
  yellow->SetLit(true);
  auto* yellowDark = new SmallLed(nullptr, SmallLed::lcYellow);
  auto* flashing = new SmallLed(nullptr, SmallLed::lcGreen);
  flashing->SetFlashRate(200);
  flashing->SetFlash(true);
  auto* box = new OstrevPanel;
  box->SetCaption("(No image)");
  box->setFixedSize(81, 52);
  return Row({lit, dark, yellow, yellowDark, flashing, box});
}

QWidget* ControlsPage::ImageButtons() {
  QList<QWidget*> buttons;
  const QStringList arrows{"arrow-up", "arrow-left", "arrow-right", "arrow-down"};
  for (const QString& name : arrows) {
    auto* b = new XPButton;
    b->SetImages(Artwork::Icon("images/16/" + name));
    buttons << b;
  }
  static_cast<XPButton*>(buttons[1])->SetDown(true);
  buttons[3]->setEnabled(false);
  for (const QString& name : {QString("magnifier"), QString("fullscreen"), QString("scatter"), QString("whatsthis"),
                              QString("save")}) {
    auto* b = new XPButton;
    b->SetImages(Artwork::Icon("images/16/" + name));
    buttons << b;
  }
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  for (QWidget* b : buttons) layout->addWidget(b);
  for (const QString& name : {QString("open"), QString("play"), QString("pause"), QString("options"), QString("help"),
                              QString("exit")}) {
    auto* b = new XPButton;
    b->setFixedSize(36, 35);
    b->setIconSize({29, 29});
    b->SetImages(Artwork::Icon("images/29/" + name));
    layout->addWidget(b);
  }
  layout->addStretch();
  return row;
}

QWidget* ControlsPage::TipBar() {
  auto* bar = new QWidget;
  bar->setAutoFillBackground(true);
  QPalette pale = bar->palette();
  pale.setColor(QPalette::Window, QColor(0xff, 0xff, 0xe1));
  bar->setPalette(pale);
  bar->setFixedSize(560, 20);
  auto* text = new QLabel("Tip:  Puzzle pieces can be rotated by using the mouse's scroll wheel.", bar);
  text->move(8, 2);
  int x = 560 - 5 * 18 - 4;
  for (const QString& name : {QString("back"), QString("forward"), QString("stay"), QString("details"), QString("close")}) {
    auto* b = new XPButton(bar);
    b->setGeometry(x, 2, 16, 16);
    b->setIconSize({12, 12});
    b->SetImages(Artwork::Icon("images/12/" + name));
    b->SetBringToTop(true);
    if (name == "stay") b->SetDown(true);
    if (name == "forward") b->setEnabled(false);
    x += 18;
  }
  return bar;
}

QWidget* ControlsPage::Toggles() {
  auto* checks = new QWidget;
  auto* checkLayout = new QVBoxLayout(checks);
  auto* on = new XPCheckBox("&Enable tips");
  on->SetChecked(true);
  auto* off = new XPCheckBox("Show &advanced tips only");
  auto* disabled = new XPCheckBox("Show no more than &one tip per session");
  disabled->SetChecked(true);
  disabled->setEnabled(false);
  checkLayout->addWidget(on);
  checkLayout->addWidget(off);
  checkLayout->addWidget(disabled);
  auto* group = new XPGroupBox("Screen Area Size");
  auto* groupLayout = new QVBoxLayout(group);
  auto* first = new XPRadioButton("Do &not change screen size");
  first->SetChecked(true);
  groupLayout->addWidget(first);
  groupLayout->addWidget(new XPRadioButton("Use &large screen size"));
  groupLayout->addWidget(new XPRadioButton("Use &extra large screen size"));
  return Row({checks, group});
}

QWidget* ControlsPage::Entries() {
  auto* number = new NumberBox;
  number->SetMin(1);
  number->SetMax(25);
  number->SetValue(5);
  auto* pieces = new ChooseBox;
  for (auto [text, size] : {std::pair{"48", 95}, {"108", 63}, {"192", 48}, {"300", 38}}) pieces->AddItem(text, size);
  pieces->setCurrentIndex(1);
  static const Glyph::ImageList images{Artwork::Pixmap("images/16/picture"), Artwork::Pixmap("images/16/animated"),
                                       Artwork::Pixmap("images/16/savedgame")};
  static const Glyph picture(images, {}, 0), animated(images, {}, 1), saved(images, {}, 2);
  auto* list = new IconListBox;
  list->SetUseIcons(true);
  list->AddItem("Autumn Lake", &picture);
  list->AddItem("Harbour at Dusk", &animated);
  list->AddItem("Harbour at Dusk (saved)", &saved);
  list->setCurrentRow(1);
  list->setFixedSize(190, 70);
  auto* link = new LabelButton;
  link->SetCaption("Check for latest version");
  link->SetLink("https://example.invalid/version");
  return Row({number, pieces, list, link});
}

QWidget* ControlsPage::Popups() {
  TColorChooser chooser;
  chooser.SetSpecialLabel("Auto Color");
  chooser.SetSpecialColor(clBtnFace);
  chooser.SetChosenColor(clTeal);
  FrugalPopupMenu menu;
  const QList<std::pair<QString, QString>> items{{"&First Bookmark", "FIRSTBOOKMARK"},
                                                 {"&Previous Bookmark", "PREVBOOKMARK"},
                                                 {"&Next Bookmark", "NEXTBOOKMARK"},
                                                 {"&Last Bookmark", "LASTBOOKMARK"},
                                                 {"&Set Bookmark", "SETBOOKMARK"},
                                                 {"&Delete Bookmark", "DELETEBOOKMARK"},
                                                 {"Clear &All Bookmarks", ""},
                                                 {"-", ""},
                                                 {"&Color...", "PALETTE"}};
  for (const auto& [caption, glyph] : items) {
    if (caption == "-") {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(caption);
    if (!glyph.isEmpty()) menu.AssignBmpToItem(glyph, action);
    if (caption.startsWith("&Prev")) action->setEnabled(false);
  }
  FrugalPopupMenu editMenu;
  for (const QString& glyph : {QString("CLOSEDOC2"), QString("UNDO"), QString("REDO"), QString("CUT"), QString("COPY"),
                               QString("PASTE"), QString("PASTEPLAIN"), QString("SELECTALL"), QString("COPYALL"),
                               QString("CLEAR")})
    editMenu.AssignBmpToItem(glyph, editMenu.addAction(glyph.toLower()));
  HelpPopup help(HelpViewer::PopupText(210));
  return Row({Snapshot(chooser), Snapshot(menu), Snapshot(editMenu), Snapshot(help)});
}
