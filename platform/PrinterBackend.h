#pragma once
// The current printer's settings as the note's printing helpers see them: the installed
// printers, the chosen one, whether it has settings at all, and the fields they change.
// Qt's printer stands behind it in the game; tests put a printer of their own in its place.

#include <QStringList>

class PrinterBackend {
public:
  enum Capability { CanCopy = 1, CanTurn = 2, CanCollate = 4 };

  virtual ~PrinterBackend() = default;
  // The installed printers' names.
  virtual QStringList Names() const = 0;
  // The current printer's index in Names(), or -1.
  virtual int Index() const = 0;
  // Selects a printer by index; -1 or an index out of range selects the default printer.
  virtual bool Select(int index) = 0;
  virtual bool HasSettings() const = 0;
  virtual bool Printing() const = 0;
  // Sets the same printer again so that its driver's defaults are loaded.
  virtual void Reload() = 0;
  virtual int Capabilities() const = 0;
  virtual int Copies() const = 0;
  virtual void SetCopies(int copies) = 0;
  virtual bool Collate() const = 0;
  virtual void SetCollate(bool collate) = 0;
  virtual bool Landscape() const = 0;
  virtual void SetLandscape(bool landscape) = 0;
  // Paper sizes are the classic numeric codes (1 Letter, 9 A4).
  virtual short PaperSize() const = 0;
  // False, changing nothing, for a code that names no paper size.
  virtual bool SetPaperSize(short code) = 0;
};
