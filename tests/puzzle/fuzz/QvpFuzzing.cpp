#include "QvpFuzzing.h"

#include "Yelk/Prompt.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/PuzzleFileStatus.h"
#include "puzzle/TessavinelumeFile.h"
#include "puzzle/TessavinelumeHeader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// The reader reads files and the transfer writes them: one folder of the process's own,
// removed at its end, for both.
// The frame files go there too.
const QTemporaryDir& Folder() {
  static const QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/qvp-fuzz-XXXXXX"));
  static const bool frameFilesThere = qputenv("TMPDIR", folder.path().toLocal8Bit());
  Q_UNUSED(frameFilesThere);
  return folder;
}

}  // namespace

bool QvpFuzzing::IsAnimated(const QByteArray& bytes) {
  return bytes.startsWith(TessavinelumeHeader::Name);
}

QvpFuzzing::Verdict QvpFuzzing::Load(const QByteArray& bytes) {
  const QString path = Folder().filePath(QStringLiteral("file.qvp"));
  QFile out(path);
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size()) return Verdict::Refused;
  out.close();
  TessavinelumeFile::SetFreeSpaceQuery([](const QString&) { return FreeKilobytes; });
  Prompt::Double prompts;  // damaged files and short space are told in message boxes
  TessavinelumeFile file(path);
  if (file.Status() != pfsReady) return Verdict::Refused;
  file.GetPicture();
  file.DrawThumbnail(32);
  return file.Open(nullptr) ? Verdict::Loaded : Verdict::Refused;
}
