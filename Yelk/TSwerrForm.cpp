#include "TSwerrForm.h"

#include "GenSwerr.h"

#include "HourGlass.h"
#include "OverWindow.h"
#include "Prompt.h"
#include "SystemReport.h"
#include "TExcMagic.h"
#include "TMsgLog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

QString TSwerrForm::AppTitle;
int TSwerrForm::AppVersion = 0;
QString TSwerrForm::AppVersionStr;
QString TSwerrForm::AppAbbreviation;
QString TSwerrForm::SupportAddress;
QString TSwerrForm::VersionUrl;

namespace {
const QString caption = QStringLiteral("Internal Software Error");

QString Section(const QString& title, const QString& body) {
  return title + QStringLiteral(":\n") + body.trimmed() + QStringLiteral("\n\n");
}
}  // namespace

// Over its owner, held by the caller only: the owner may be a window that deletes itself.
TSwerrForm::TSwerrForm(QWidget* owner, const SwerrRequest& request) : report(BuildReport(request)) {
  OverWindow::Place(this, owner);
  setWindowTitle(AppTitle.isEmpty() ? caption : AppTitle + QStringLiteral(" - ") + caption);
  auto* icon = new QLabel;
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(32, 32));
  auto* message = new QLabel(request.Message);
  message->setWordWrap(true);
  message->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* header = new QHBoxLayout;
  header->addWidget(icon, 0, Qt::AlignTop);
  header->addWidget(message, 1);

  reportBox = new QPlainTextEdit(report);
  reportBox->setReadOnly(true);
  reportBox->setLineWrapMode(QPlainTextEdit::NoWrap);
  reportBox->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  QPushButton* copy = buttons->addButton(QStringLiteral("&Copy to Clipboard"), QDialogButtonBox::ActionRole);
  connect(copy, &QPushButton::clicked, this, &TSwerrForm::CopyBtnClick);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(header);
  layout->addWidget(new QLabel(QStringLiteral("Please send this report to the maker:")));
  layout->addWidget(reportBox, 1);
  layout->addWidget(buttons);
  resize(640, 480);
}

QString TSwerrForm::BuildReport(const SwerrRequest& request) {
  QString text;
  if (!AppTitle.isEmpty()) text += AppTitle + QLatin1Char(' ') + AppVersionStr + QStringLiteral("\n\n");
  text += Section(QStringLiteral("Message"), request.Message);
  QStringList info;
  GetSystemInfo(info, QString());
  text += Section(QStringLiteral("System"), info.join(QLatin1Char('\n')));
  if (request.ShowCallStack) {
    const QString frames = request.CallStack.isEmpty() ? QStringLiteral("not recorded")
                                                       : request.CallStack.join(QLatin1Char('\n'));
    text += Section(QStringLiteral("Call stack"), frames);
  }
  if (!request.Extra1.isEmpty()) text += Section(QStringLiteral("Details"), request.Extra1);
  if (!request.Extra2.isEmpty()) text += Section(QStringLiteral("More details"), request.Extra2);
  return text.trimmed() + QLatin1Char('\n');
}

void TSwerrForm::CopyBtnClick() { QGuiApplication::clipboard()->setText(report); }

int TSwerrForm::ShowModal() {
  if (Prompt::IsScripted()) {
    Prompt::Show(report, windowTitle(), Prompt::Stop);
    return QDialog::Rejected;
  }
  // The busy state would swallow the player's clicks on the report.
  HourGlass::HG().Disable();
  const int result = exec();
  HourGlass::HG().Enable();
  return result;
}

void TSwerrForm::GenSwerr(QWidget* owner, const QString& text) {
  TMsgLog::Add(QStringLiteral("Software error: ") + text);
  SwerrRequest request;
  request.Message = text;
  request.ShowCallStack = true;
  request.CallStack = TExcMagic::CurrentStack();
  request.Extra1 = TMsgLog::GetLogAsString();
  TSwerrForm form(owner, request);
  form.ShowModal();
}

void GenSwerr(const QString& text) { TSwerrForm::GenSwerr(QApplication::activeWindow(), text); }

QString TSwerrForm::GetWindowsVersion() { return SystemReport::OperatingSystem(); }

QString TSwerrForm::GetDLLVersion(const QString&) { return QStringLiteral("Unknown"); }

void TSwerrForm::GetSystemInfo(QStringList& lines, const QString& extra) {
  lines << SystemReport::Lines();
  if (!extra.isEmpty()) lines << extra;
}
