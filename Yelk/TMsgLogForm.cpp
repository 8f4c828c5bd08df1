#include "TMsgLogForm.h"

#include "OverWindow.h"
#include "Prompt.h"
#include "TMsgLog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

TMsgLogForm::TMsgLogForm(QWidget* owner) : QDialog(owner) {
  setWindowTitle(tr("Message Log"));
  resize(640, 420);
  view = new QPlainTextEdit(this);
  view->setReadOnly(true);
  view->setLineWrapMode(QPlainTextEdit::NoWrap);
  view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  auto* buttons = new QDialogButtonBox(this);
  auto* copy = buttons->addButton(tr("&Copy"), QDialogButtonBox::ActionRole);
  auto* save = buttons->addButton(tr("&Save..."), QDialogButtonBox::ActionRole);
  buttons->addButton(QDialogButtonBox::Close);
  connect(copy, &QPushButton::clicked, this, &TMsgLogForm::CopyBtnClick);
  connect(save, &QPushButton::clicked, this, &TMsgLogForm::SaveBtnClick);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view);
  layout->addWidget(buttons);

  // Lines come from any thread; polling the generation keeps the log free of Qt signals.
  refreshTimer = new QTimer(this);
  refreshTimer->setInterval(500);
  connect(refreshTimer, &QTimer::timeout, this, &TMsgLogForm::RefreshIfChanged);
  refreshTimer->start();
  RefreshIfChanged();
}

TMsgLogForm* TMsgLogForm::Instance() {
  static QPointer<TMsgLogForm> form;
  if (!form) {
    // Kept above the window it was asked from, but not owned by it: that window may close
    // and delete itself (the box cover does) while the log is still read.
    form = new TMsgLogForm;
    OverWindow::Place(form, QApplication::activeWindow());
    form->setAttribute(Qt::WA_DeleteOnClose);
  }
  return form;
}

QString TMsgLogForm::Text() const { return view->toPlainText(); }

void TMsgLogForm::RefreshIfChanged() {
  const std::uint64_t now = TMsgLog::Generation();
  if (now == shownGeneration) return;
  shownGeneration = now;
  const bool atEnd = view->verticalScrollBar()->value() == view->verticalScrollBar()->maximum();
  view->setPlainText(TMsgLog::GetLogAsString());
  if (atEnd) view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
}

void TMsgLogForm::CopyBtnClick() { QApplication::clipboard()->setText(TMsgLog::GetLogAsString()); }

// The chooser is this call's own: the log may be closed, and so deleted, while it is open.
void TMsgLogForm::SaveBtnClick() {
  QFileDialog chooser(nullptr, tr("Save Message Log"), TMsgLog::DefaultLogPath(),
                      tr("Log files (*.log);;All files (*)"));
  chooser.setAcceptMode(QFileDialog::AcceptSave);
  OverWindow::Place(&chooser, this);
  if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return;
  const QString path = chooser.selectedFiles().constFirst();
  if (!TMsgLog::SaveToFile(path))
    Prompt::ShowApp(tr("The message log could not be saved to %1.").arg(path), Prompt::Stop);
}

void TMsgLog::ShowMsgLog() {
  TMsgLogForm* form = TMsgLogForm::Instance();
  form->show();
  form->raise();
  form->activateWindow();
}
