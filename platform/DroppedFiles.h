#pragma once
// Files dragged onto a window from the desktop: the local paths they name.

#include <QStringList>

class QMimeData;

namespace DroppedFiles {
// Whether the drag carries at least one local file.
bool HasLocalFiles(const QMimeData* data);
// The local files, in the order dropped; links to anything else are left out.
QStringList LocalFiles(const QMimeData* data);
}  // namespace DroppedFiles
