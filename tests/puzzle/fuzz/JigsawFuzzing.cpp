#include "JigsawFuzzing.h"

#include "imaging/VirtualBuffer.h"
#include "puzzle/ChipGroup.h"
#include "puzzle/JigsawFile.h"
#include "puzzle/PuzzleFileStatus.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// The reader reads files: one folder of the process's own, removed at its end.
QString FuzzPath(const char* extension) {
  static const QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/jigsaw-fuzz-XXXXXX"));
  return folder.filePath(QStringLiteral("file.") + QLatin1String(extension));
}

bool Exercise(JigsawFile& file) {
  if (file.Status() != pfsReady) return false;
  file.GetPicture();
  file.GetPreviewBuffer();
  QBuffer sink;
  sink.open(QIODevice::WriteOnly);
  file.CopyPicture(sink);
  file.CopyBoxCover(sink);
  file.CopySoundTrack(sink);
  file.FitGroupsByRotating(1, 1);
  file.FitGroupsByRotating(200, 150);
  file.RestoreGroups(200, 150);
  ChipGroup::DeleteAll();
  while (file.PopPieceRecord()) {
  }
  return true;
}

}  // namespace

JigsawFuzzing::Verdict JigsawFuzzing::Load(const QByteArray& bytes) {
  bool loaded = false;
  for (const char* extension : {"saw", "jig"}) {
    const QString path = FuzzPath(extension);
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size()) return Verdict::Refused;
    out.close();
    JigsawFile file(path);
    loaded = Exercise(file) || loaded;
  }
  return loaded ? Verdict::Loaded : Verdict::Refused;
}
