#pragma once
// The software-error report: the message, the system information, the call stack and the
// extra sections (the message log), to be copied to the clipboard and sent to the maker.

#include "SwerrRequest.h"

#include <QDialog>

class QPlainTextEdit;

class TSwerrForm : public QDialog {
  Q_OBJECT
public:
  // Program-wide values that start-up fills.
  static QString AppTitle;
  static int AppVersion;
  static QString AppVersionStr;
  static QString AppAbbreviation;
  static QString SupportAddress;
  static QString VersionUrl;

  TSwerrForm(QWidget* owner, const SwerrRequest& request);

  // Runs modally with the busy state suspended. While a scripted double answers the
  // prompts (tests), the report is shown as a box instead, so nothing waits.
  int ShowModal();
  QString ReportText() const { return report; }

  // Reports an internal fault, with the caller's call stack and the message log, and
  // returns when the player has closed the report.
  static void GenSwerr(QWidget* owner, const QString& text);

  static QString GetWindowsVersion();
  // Module versions are not known here: always "Unknown".
  static QString GetDLLVersion(const QString& module);
  // Appends the system-information lines, then `extra` when it is not empty.
  static void GetSystemInfo(QStringList& lines, const QString& extra);

  static QString BuildReport(const SwerrRequest& request);

private slots:
  void CopyBtnClick();

private:
  QString report;
  QPlainTextEdit* reportBox = nullptr;
};
