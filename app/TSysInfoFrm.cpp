#include "TSysInfoFrm.h"

#include "Yelk/TSwerrForm.h"
#include "controls/Artwork.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

TSysInfoFrm::TSysInfoFrm(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("SysInfoFrm"));
  setWindowTitle(QStringLiteral("System Information"));
  setWindowFlag(Qt::Tool, true);
  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setReadOnly(true);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto* ToolBar1 = new QToolBar(this);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setIconSize(QSize(16, 16));
  QAction* CopyAtn = ToolBar1->addAction(Artwork::Icon(QStringLiteral("glyphs/COPY")), QString());
  CopyAtn->setObjectName(QStringLiteral("CopyAtn"));
  CopyAtn->setToolTip(QStringLiteral("Copy"));
  QAction* ExitAtn = ToolBar1->addAction(Artwork::Icon(QStringLiteral("images/16/close")), QString());
  ExitAtn->setObjectName(QStringLiteral("ExitAtn"));
  ExitAtn->setToolTip(QStringLiteral("Close"));
  connect(CopyAtn, &QAction::triggered, this, &TSysInfoFrm::CopyAtnExecute);
  connect(ExitAtn, &QAction::triggered, this, &TSysInfoFrm::ExitAtnExecute);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(Memo1, 1);
  column->addWidget(ToolBar1);

  QStringList lines;
  TSwerrForm::GetSystemInfo(lines, QString());
  // The report's resources line (always at index 2) means nothing here.
  if (lines.size() > 2) lines.removeAt(2);
  lines << QString() << QString() << QString();
  Memo1->setPlainText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
  Memo1->moveCursor(QTextCursor::Start);
  resize(288, 161);
}

void TSysInfoFrm::CopyAtnExecute() {
  QApplication::clipboard()->setText(Memo1->toPlainText());
}
