#pragma once
// The game's message log: one line per notable step or failure, from any thread.

#include <QString>
#include <QStringList>
#include <cstdint>

class TMsgLog {
public:
  static constexpr int MaxLines = 1001;

  // Appends "hh:mm:ss:  text"; never fails towards the caller.
  static void Add(const QString& text) noexcept;
  static QString GetLogAsString();
  static QStringList Lines();
  // Rises with every added line; viewers compare it to know when to refresh.
  static std::uint64_t Generation();
  static void Clear();

  // Opens the log viewer (non-modal, one at a time).
  static void ShowMsgLog();

  // With debug recording on, every line also goes to the debugger output.
  static void SetDebugRecording(bool on);
  static void SetSaveOnExit(bool on);
  static bool SaveOnExit();
  // The program path with ".log" appended, or the user's data folder when the
  // program's folder cannot be written.
  static QString DefaultLogPath();
  // Writes the log atomically; false (and a log line) when it could not.
  static bool SaveToFile(const QString& path);
  // Called once at exit: saves when the player asked for it.
  static void SaveAtExitIfAsked();
};
