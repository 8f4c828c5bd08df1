#pragma once
// Finds the installed text converter modules: first through their registration under the
// machine key, then in the converter folders, logging every step. A Word 6 converter found
// only by the file search is the one with the bulleted-tab defect.

#include <QString>

struct ConverterSearch {
  // The fallback folders: by default the program's "converters" folder (the first) and the
  // installed library folder (the second). Tests point them elsewhere.
  static QString& WindowsFolder();
  static QString& SystemFolder();
  // The root of the folders' drive.
  static inline const QString DriveRoot = QStringLiteral("/");

  void Run();

  QString word97;
  QString wordImport;
  QString wordExport;
  bool tabBug = false;

private:
  void FindWord97();
  void FindWord6Fallback();
};
