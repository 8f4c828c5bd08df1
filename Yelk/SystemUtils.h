#pragma once
// Questions about the system and the user's preferences, and small text and colour helpers.

#include <QString>
#include <cstdint>

struct SysResources {
  int system = 0;  // free percentages
  int gdi = 0;
  int user = 0;
};

// The system reports no resource percentages: always false, the fields untouched.
bool GetFreeSysResources(SysResources& resources);
bool IsRunningWinNT();
// The user's measurement system is metric (everything but the US customary system).
bool IsMetricLocale();
// File names are shown with their extensions.
bool ShowFileExts();

// The text of the last system error (errno).
QString GetLastErr();
// A message box with that text.
void ShowLastErr();

// 0x00RRGGBB to 0x00BBGGRR and back; the top byte stays.
std::uint32_t ReverseRGB(std::uint32_t colour);
// "-1,234,567": a comma between groups of three digits whatever the locale.
QString StringWithCommas(std::int64_t n);
