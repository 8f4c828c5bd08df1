// RichIO: what kind a document is, its backup, and the converter that reads or writes it.

#include "ConverterSearch.h"
#include "RichEdit20.h"
#include "RichIO.h"
#include "TDownloadDlg.h"

#include "Yelk/FileUtils.h"
#include "Yelk/PathUtils.h"
#include "Yelk/Prompt.h"
#include "Yelk/SystemUtils.h"
#include "Yelk/TMsgLog.h"

#include <QFile>
#include <QLabel>

namespace {

void ShowDownloadWindow(QWidget* owner, int which) {
  TDownloadDlg dialog(owner, which);
  if (!Prompt::IsScripted()) {
    dialog.exec();
    return;
  }
  // Nobody would answer the window: its text goes to the scripted box instead.
  dialog.show();
  Prompt::ShowApp(dialog.MessageLbl->text());
  dialog.close();
}

RichIO::DownloadWindow& CurrentDownloadWindow() {
  static RichIO::DownloadWindow window;
  return window;
}

bool IsExtension(const QString& path, QLatin1StringView extension) {
  return GetFileExtFromPath(path).compare(extension, Qt::CaseInsensitive) == 0;
}

bool IsHtmlExtension(const QString& path) {
  return IsExtension(path, QLatin1StringView("htm")) || IsExtension(path, QLatin1StringView("html"));
}

// The backup's name: the file name's extension becomes "bak"; a name without one gets it
// added. Only the file name counts, never a dot in a folder's name.
QString BackupName(const QString& path) {
  const QString name = GetFileNameFromPath(path);
  const QString extension = GetFileExtFromPath(path);
  const QString stem = extension.isEmpty() && !name.endsWith(QLatin1Char('.')) ? path + QLatin1Char('.')
                                                                                : path.left(path.size() - extension.size());
  return stem + QStringLiteral("bak");
}

}  // namespace

void RichIO::SetDownloadWindow(DownloadWindow window) { CurrentDownloadWindow() = std::move(window); }

bool RichIO::FileExists(const QString& path) { return FileDoesExist(path); }

RichIO::DocType RichIO::DocTypeFromExtension(const QString& path) {
  if (IsExtension(path, QLatin1StringView("txt"))) return DocText;
  if (IsExtension(path, QLatin1StringView("rtf"))) return DocRtf;
  if (IsExtension(path, QLatin1StringView("doc"))) return DocWord;
  if (FHtmlSupport && IsHtmlExtension(path)) return DocHtml;
  return DocOther;
}

RichIO::DocType RichIO::DetermineDocType(const QString& path) {
  if (converter_ && FormatIsCorrect()) return DocWord;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    TMsgLog::Add(QStringLiteral("RichIO::Determine - Failed to open file.  ") + file.errorString());
  } else if (file.size() < 5) {
    TMsgLog::Add(QStringLiteral("RichIO::Determine - Short file.  size=%1").arg(file.size()));
  } else if (file.read(5) == "{\\rtf") {
    return DocRtf;
  }
  file.close();
  switch (DocTypeFromExtension(path)) {
    case DocText:
      return DocText;
    case DocRtf:
      return DocRtf;
    case DocHtml:
      CleanUpConverter();
      return PrepareConverter(path, TextConverter::Html, TextConverter::Recognition) == 0 && FormatIsCorrect() ? DocHtml
                                                                                                           : DocOther;
    default: {
      CleanUpConverter();
      const int prepared = PrepareConverter(path, TextConverter::Word97, TextConverter::Import);
      if (prepared == 2) return DocWordMissing;
      return prepared == 0 && FormatIsCorrect() ? DocWord : DocOther;
    }
  }
}

bool RichIO::CreateBackupFile(const QString& path) {
  if (!FileDoesExist(path)) return true;
  const QString backup = BackupName(path);
  // A ".bak" file is its own backup name: deleting "the old backup" would delete it.
  if (backup == path) return true;
  if (QFile::exists(backup)) QFile::remove(backup);
  if (QFile::copy(path, backup)) return true;
  ShowLastErr();
  return Prompt::ShowApp(QStringLiteral("A backup of the existing file could not be created.\n\n"
                                        "Do you want to save the current document anyway?"),
                         Prompt::Warning, Prompt::Yes | Prompt::No) == Prompt::Yes;
}

int RichIO::PrepareConverter(const QString& path, TextConverter::Type type, TextConverter::Direction direction) {
  // A converter left loaded (by DetermineDocType) would otherwise be loaded over.
  CleanUpConverter();
  word97Used_ = false;
  const bool isDoc = IsExtension(path, QLatin1StringView("doc"));
  const QString& module = type == TextConverter::Word6
                              ? (direction == TextConverter::Import ? WordImportConverterPath : WordExportConverterPath)
                              : (type == TextConverter::Word97 ? Word97ConverterPath : HtmlConverterPath);
  if (module.isEmpty()) {
    if (type == TextConverter::Word6) {
      if (!isDoc) return 1;
      Prompt::ShowApp(QStringLiteral("Word 6.0 (.DOC) format is not supported on your computer since Word converter "
                                     "file MSWD6_32.WPC can not be found."),
                      Prompt::Stop);
      return 2;
    }
    const bool wanted = type == TextConverter::Word97 ? isDoc : IsHtmlExtension(path);
    if (wanted && !RichEdit20::SuppressMissingLibMsg) {
      const DownloadWindow& window = CurrentDownloadWindow();
      const int which = type == TextConverter::Word97 ? 0 : 1;
      window ? window(editor_.window(), which) : ShowDownloadWindow(editor_.window(), which);
    }
    return type == TextConverter::Word97 && isDoc ? 2 : 1;
  }
  if (!ConverterFactory) {
    TMsgLog::Add(QStringLiteral("RichIO::PrepareConverter - No converter support for ") + module);
    return 1;
  }
  converter_ = ConverterFactory();
  const int prepared = converter_->Prepare(module, path, type, direction);
  if (prepared != 0) converter_.reset();
  word97Used_ = prepared == 0 && type == TextConverter::Word97;
  return prepared;
}

bool RichIO::FormatIsCorrect() { return converter_ && converter_->FormatIsCorrect(); }

void RichIO::CleanUpConverter() { converter_.reset(); }

// Once per process; the game ships no converter modules, so it may find none.
void RichIO::LocateConverters() {
  if (ConvertersLocated) return;
  ConvertersLocated = true;
  ConverterSearch search;
  search.Run();
  Word97ConverterPath = search.word97;
  WordImportConverterPath = search.wordImport;
  WordExportConverterPath = search.wordExport;
  Word6ConverterHasTabBug = search.tabBug;
}
