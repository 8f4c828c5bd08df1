#pragma once
// Reading and changing the current printer's settings (copies, collation, orientation,
// paper size), choosing the printer, and its set-up dialogs. Failures raise EPrinter.

#include <QString>

#include <stdexcept>

class QWidget;

class EPrinter : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

namespace Printerfuncs {

inline constexpr int IdOk = 1;
inline constexpr int IdCancel = 2;

// Marks the printer usable; a printer without settings is reset once before it is refused.
void CheckPrinter();
// Marks the printer unusable, logs and raises.
[[noreturn]] void PrinterError(const QString& procedure);
bool PrinterIsOk();
void ResetPrinter();
bool GetCollate();
void SetCollate(bool collate);
int GetCopies();
void SetCopies(int copies);
bool GetLandscape();
void SetLandscape(bool landscape);
// Paper sizes are the classic numeric codes (1 Letter, 9 A4); an unknown code changes nothing.
short GetPaperSize();
void SetPaperSize(short code);
void SetPrinterIndex(int index);
// An unknown name selects the default printer.
void SetPrinterIndex(const QString& name);
int ShowPrinterProperties(QWidget* owner);
// The note's set-up dialog: the print dialog without page ranges, since a note prints whole.
bool ShowPrintSetup(QWidget* owner);

}  // namespace Printerfuncs
