#include "DroppedFiles.h"

#include <QMimeData>
#include <QUrl>

bool DroppedFiles::HasLocalFiles(const QMimeData* data) { return !LocalFiles(data).isEmpty(); }

QStringList DroppedFiles::LocalFiles(const QMimeData* data) {
  QStringList paths;
  if (!data || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) paths << url.toLocalFile();
  }
  return paths;
}
