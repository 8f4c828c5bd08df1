#pragma once
// Runs the office suite's converter on a file: soffice headless, with its own profile in a
// temporary folder (it then needs no HOME and may run as root), killed with its whole
// process group when it takes longer than the time-out.

#include <QString>
#include <QTemporaryDir>

class OfficeSuite {
public:
  OfficeSuite();
  // soffice was found on the PATH.
  bool Present() const { return !program_.isEmpty(); }
  QString Version() const;

  // Converts input into outDir with a --convert-to filter ("rtf", "txt:Text (encoded):UTF8");
  // answers the converted file's path, empty on failure with error saying why.
  QString Convert(const QString& input, const QString& filter, const QString& outDir, QString& error) const;

private:
  QString program_;
  QTemporaryDir profile_;
};
