#include "SystemUtils.h"

#include "Prompt.h"

#include <QLocale>
#include <cerrno>

bool GetFreeSysResources(SysResources& /*resources*/) { return false; }

bool IsRunningWinNT() { return true; }

bool IsMetricLocale() {
  return QLocale().measurementSystem() != QLocale::ImperialUSSystem;
}

bool ShowFileExts() { return true; }

QString GetLastErr() { return qt_error_string(errno); }

void ShowLastErr() {
  const QString text = GetLastErr();
  Prompt::ShowApp(text, Prompt::Stop);
}

std::uint32_t ReverseRGB(std::uint32_t colour) {
  return (colour & 0xFF00FF00u) | ((colour & 0xFFu) << 16) | ((colour >> 16) & 0xFFu);
}

QString StringWithCommas(std::int64_t n) {
  // Work on the magnitude as unsigned so that the most negative value has one too.
  const bool negative = n < 0;
  const std::uint64_t magnitude =
      negative ? ~static_cast<std::uint64_t>(n) + 1 : static_cast<std::uint64_t>(n);
  const QString digits = QString::number(magnitude);
  QString text;
  for (qsizetype i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += QLatin1Char(',');
    text += digits[i];
  }
  return negative ? QLatin1Char('-') + text : text;
}
