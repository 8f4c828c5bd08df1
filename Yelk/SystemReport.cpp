#include "SystemReport.h"

#include "DesktopUtils.h"
#include "SystemUtils.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QSysInfo>
#include <cmath>
#include <pwd.h>
#include <unistd.h>

namespace {
QByteArray ReadProcFile(const char* path) {
  QFile file(QString::fromLatin1(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.read(64 * 1024);
}

QString UserName() {
  for (const char* name : {"USER", "LOGNAME"}) {
    const QString user = qEnvironmentVariable(name);
    if (!user.isEmpty()) return user;
  }
  const passwd* entry = getpwuid(getuid());
  return entry && entry->pw_name ? QString::fromLocal8Bit(entry->pw_name) : QStringLiteral("unknown");
}

// The "<name>: <n> kB" line of /proc/meminfo in megabytes, or -1.
qint64 MeminfoMegabytes(const QByteArray& text, const QByteArray& name) {
  for (const QByteArray& line : text.split('\n')) {
    if (!line.startsWith(name + ':')) continue;
    const QList<QByteArray> parts = line.mid(name.size() + 1).simplified().split(' ');
    bool ok = false;
    const qint64 kilobytes = parts.value(0).toLongLong(&ok);
    return ok && kilobytes >= 0 ? kilobytes / 1024 : -1;
  }
  return -1;
}
}  // namespace

QString SystemReport::UpTimeText(const QByteArray& procUptime) {
  bool ok = false;
  const double seconds = procUptime.simplified().split(' ').value(0).toDouble(&ok);
  if (!ok || !std::isfinite(seconds) || seconds < 0 || seconds > 1e11)
    return QStringLiteral("Up time: not reported");
  const qint64 total = static_cast<qint64>(seconds);
  return QStringLiteral("Up time: %1 days, %2:%3:%4")
      .arg(total / 86400)
      .arg(total / 3600 % 24, 2, 10, QLatin1Char('0'))
      .arg(total / 60 % 60, 2, 10, QLatin1Char('0'))
      .arg(total % 60, 2, 10, QLatin1Char('0'));
}

QString SystemReport::MemoryText(const QByteArray& procMeminfo) {
  const qint64 total = MeminfoMegabytes(procMeminfo, "MemTotal");
  const qint64 available = MeminfoMegabytes(procMeminfo, "MemAvailable");
  if (total < 0) return QStringLiteral("Memory: not reported");
  QString text = QStringLiteral("Memory: %1 MB total").arg(StringWithCommas(total));
  if (available >= 0) text += QStringLiteral(", %1 MB available").arg(StringWithCommas(available));
  return text;
}

QString SystemReport::OperatingSystem() { return QSysInfo::prettyProductName(); }

QStringList SystemReport::Lines() {
  QStringList lines;
  lines << QStringLiteral("User: ") + UserName();
  lines << UpTimeText(ReadProcFile("/proc/uptime"));
  lines << QStringLiteral("Resources: not reported");
  lines << QStringLiteral("System: ") + OperatingSystem();
  lines << QStringLiteral("Kernel: %1 %2").arg(QSysInfo::kernelType(), QSysInfo::kernelVersion());
  lines << QStringLiteral("Qt: ") + QString::fromLatin1(qVersion());
  lines << QStringLiteral("Color depth: %1 bits").arg(GetColorDepth());
  const QScreen* screen = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
  if (screen) {
    lines << QStringLiteral("Screen size: %1 x %2").arg(screen->size().width()).arg(screen->size().height());
    lines << QStringLiteral("DPI: %1 x %2")
                 .arg(qRound(screen->logicalDotsPerInchX()))
                 .arg(qRound(screen->logicalDotsPerInchY()));
  } else {
    lines << QStringLiteral("Screen size: not reported") << QStringLiteral("DPI: not reported");
  }
  lines << QStringLiteral("Metric: ") + (IsMetricLocale() ? QStringLiteral("Yes") : QStringLiteral("No"));
  lines << MemoryText(ReadProcFile("/proc/meminfo"));
  return lines;
}
