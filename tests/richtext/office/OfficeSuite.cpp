#include "OfficeSuite.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <csignal>
#include <unistd.h>

namespace {

constexpr int kTimeoutMs = 60000;

// Runs the program in a process group of its own, so that a time-out ends its helpers too.
bool Run(const QString& program, const QStringList& arguments, QString& output, QString& error) {
  QProcess process;
  process.setProgram(program);
  process.setArguments(arguments);
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.setChildProcessModifier([] { setsid(); });
  process.start();
  if (!process.waitForStarted()) {
    error = QStringLiteral("soffice did not start");
    return false;
  }
  if (!process.waitForFinished(kTimeoutMs)) {
    ::kill(-pid_t(process.processId()), SIGKILL);
    process.waitForFinished();
    error = QStringLiteral("soffice took longer than %1 s and was killed").arg(kTimeoutMs / 1000);
    return false;
  }
  output = QString::fromLocal8Bit(process.readAll());
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    error = QStringLiteral("soffice ended with %1: %2").arg(process.exitCode()).arg(output);
    return false;
  }
  return true;
}

}  // namespace

OfficeSuite::OfficeSuite() : program_(QStandardPaths::findExecutable(QStringLiteral("soffice"))) {}

QString OfficeSuite::Version() const {
  QString output, error;
  if (!Present() || !Run(program_, {QStringLiteral("--version")}, output, error)) return {};
  return output.trimmed();
}

QString OfficeSuite::Convert(const QString& input, const QString& filter, const QString& outDir, QString& error) const {
  const QStringList arguments = {QStringLiteral("--headless"),
                                 QStringLiteral("--norestore"),
                                 QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile_.path()).toString(),
                                 QStringLiteral("--convert-to"),
                                 filter,
                                 QStringLiteral("--outdir"),
                                 outDir,
                                 input};
  QString output;
  if (!Run(program_, arguments, output, error)) return {};
  const QString extension = filter.section(QLatin1Char(':'), 0, 0);
  const QString converted = outDir + QLatin1Char('/') + QFileInfo(input).completeBaseName() + QLatin1Char('.') + extension;
  if (!QFileInfo::exists(converted)) {
    error = QStringLiteral("soffice wrote no %1: %2").arg(converted, output);
    return {};
  }
  return converted;
}
