#pragma once
// The process's one current printer: the note, its page settings and the box picture all
// print on the printer the player chose. Answers statuses and never logs: callers report.

#include <QStringList>

#include <memory>

class PrinterBackend;
class QPrinter;

namespace CurrentPrinter {

// The current printer, made for the default printer on first use.
QPrinter& Get();
// Replaces the current printer (a PDF printer for a document or a test).
void Install(std::unique_ptr<QPrinter> printer);
// True when there is something to print on: an installed printer (of the backend) or a PDF output.
bool Available();
// The installed printers' names; Qt's own PDF output is not among them.
QStringList Names();
// The index of the current printer in Names(), or -1.
int Index();
// Selects a printer by index; -1 or an index out of range selects the default printer.
// False when no printer is installed at all.
bool Select(int index);
// True when the printer can be used: a real printer or a PDF output with a file name.
bool HasDeviceMode();
// The current printer's settings: over Get() unless another backend is installed.
PrinterBackend& Backend();
// Puts a backend in place of the current printer's settings; null restores them.
void InstallBackend(std::unique_ptr<PrinterBackend> backend);

}  // namespace CurrentPrinter
