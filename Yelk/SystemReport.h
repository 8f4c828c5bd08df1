#pragma once
// The system-information lines of error reports and of the system-information window, in a
// fixed order: user, up time, resources, system, kernel, toolkit, colour depth, screen
// size, DPI, metric flag, memory. The resources line is always at index 2.

#include <QString>
#include <QStringList>

class SystemReport {
public:
  static QStringList Lines();
  static QString OperatingSystem();

  // Parsers of the kernel's text files, tolerant of anything unexpected.
  static QString UpTimeText(const QByteArray& procUptime);
  static QString MemoryText(const QByteArray& procMeminfo);
};
