// RichIO: loading a file into the editor and storing the document into one. A load reads
// into a document of its own and shows it only when the whole file was read; a store
// writes beside the file and replaces it only when everything was written.

#include "NoteStream.h"
#include "RichEdit20.h"
#include "RichIO.h"
#include "RichIOTransfer.h"

#include "Yelk/AbortRegister.h"
#include "Yelk/FileUtils.h"
#include "Yelk/GameApplication.h"
#include "Yelk/HourGlass.h"
#include "Yelk/PathUtils.h"
#include "Yelk/Prompt.h"
#include "Yelk/ReplacingFile.h"
#include "Yelk/SystemUtils.h"

#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

#include <algorithm>

namespace {

constexpr UINT Utf8Text = SF_TEXT | SF_USECODEPAGE | (CP_UTF8 << 16);

bool OpenFailed(const QString& text) {
  Prompt::Show(text, QStringLiteral("File Open Error"), Prompt::Warning);
  return false;
}

// No write permission bit, or this user may not write it.
bool IsReadOnly(const QFileInfo& info) {
  const auto writeBits = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
  return (info.permissions() & writeBits) == 0 || !info.isWritable();
}

QString ShownName(const QString& path) { return GetFileNameFromPath(path, ShowFileExts()); }

// Drawing stops while a load fills the editor and comes back however the load ends.
class RedrawOff {
public:
  explicit RedrawOff(RichEdit20& editor) : editor_(editor), off_(editor.GetColor() == clWindow) {
    if (off_) editor_.WmSetRedraw(false);
  }
  ~RedrawOff() {
    if (!off_) return;
    editor_.WmSetRedraw(true);
    editor_.viewport()->update();
  }
  RedrawOff(const RedrawOff&) = delete;
  RedrawOff& operator=(const RedrawOff&) = delete;

private:
  RichEdit20& editor_;
  const bool off_;
};

// The record of the running transfer is public while it runs, and the abort flag
// registered; both end with the transfer.
class Published {
public:
  Published(XferInfo& info, bool* abortFlag) : abortFlag_(abortFlag) {
    RichIO::CurrXferInfo = &info;
    if (abortFlag_ == nullptr) return;
    *abortFlag_ = false;
    AbortRegister::AR().Register(abortFlag_);
  }
  ~Published() {
    RichIO::CurrXferInfo = nullptr;
    if (abortFlag_ != nullptr) AbortRegister::AR().Deregister(abortFlag_);
  }
  Published(const Published&) = delete;
  Published& operator=(const Published&) = delete;

private:
  bool* abortFlag_;
};

}  // namespace

bool RichIO::Load(const QString& path, DocType& type, bool silent) {
  editor_.EndHiLightMode();
  editor_.EndPaintMode();
  mustSaveAsWord95_ = false;
  if (!FileExists(path)) return OpenFailed(QStringLiteral("The choosen file could not be found."));
  if (GetFileSize(path) < 0) return OpenFailed(QStringLiteral("The choosen file could not be opened."));
  PrepareConverter(path, TextConverter::Word6, TextConverter::Import);
  DocType found = DetermineDocType(path);
  if (found == DocWordMissing || !AskLoadQuestions(path, found, silent)) return false;
  return GameApplication::Guarded([&] {
    RedrawOff redraw(editor_);
    QString error;
    std::unique_ptr<QTextDocument> document = StreamFile(path, found, error);
    if (!document) {
      if (!error.isEmpty()) ShowIOExceptionMsg(error);
      return false;
    }
    Install(std::move(document), found == DocText || found == DocOther);
    FinishLoad(path, found);
    type = lastDocType = found == DocOther ? DocText : found;
    return true;
  });
}

bool RichIO::AskLoadQuestions(const QString& path, DocType& type, bool silent) {
  if (type == DocWord && word97Used_)
    AskWithHelp(QStringLiteral("Document \"%1\" uses Word 97/2000 format.\n"
                               "Any changes to this document may only be saved in Word 95 format or RTF format.")
                    .arg(ShownName(path)),
                QStringLiteral("Information"), Prompt::Information, Prompt::Ok);
  if (type != DocHtml || silent) return true;
  const Prompt::Button answer =
      Prompt::ShowApp(QStringLiteral("Do you want to open \"%1\" in HTML format?\n\n"
                                     "Click \"No\" to open the file in plain text format.")
                          .arg(path),
                      Prompt::Question, Prompt::Yes | Prompt::No | Prompt::Cancel);
  if (answer == Prompt::Cancel) {
    CleanUpConverter();
    return false;
  }
  if (answer == Prompt::No) type = DocText;
  return true;
}

// The file read into a document that nobody shows yet; null when the load failed or was
// stopped, with the message to show in error (none for a stop).
std::unique_ptr<QTextDocument> RichIO::StreamFile(const QString& path, DocType type, QString& error) {
  Running running(*this, "Load");
  if (running.refused) return nullptr;
  const bool threaded = type == DocWord || type == DocHtml;
  QFile file(path);
  if (!threaded) {
    CleanUpConverter();
    if (!file.open(QIODevice::ReadOnly)) {
      OpenFailed(QStringLiteral("The selected file could not be opened.\n\nEnsure the file is not already open by "
                                "another application.\nEnsure the disk drive is not a read-only drive."));
      return nullptr;
    }
  }
  const qint64 size = std::max<qint64>(GetFileSize(path), 0);
  XferInfo info;
  info.stream = threaded ? nullptr : &file;
  info.remaining = info.total = threaded ? std::max<qint64>(0, size - 11) * 256000 / 100 : size;
  info.progress = onProgress_;
  info.sender = this;
  progressPercent_ = -1;
  info.percent = &progressPercent_;
  info.abortFlag = &aborted_;
  std::unique_ptr<QTextDocument> document;
  bool ended = false;
  QString converterError;
  {
    Published published(info, &aborted_);
    {
      HourGlass::Scope busy;
      if (threaded) converter_->Start(info, TextConverter::Import);
      EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&info), 0, &TransferIn};
      document = NoteStream::InDetached(type == DocText || type == DocOther ? SF_TEXT : SF_RTF, stream);
      if (threaded) {
        converterError = converter_->Wait(ConverterWaitMs);
        ended = converter_->EndedNormally(stream.dwError);
        CleanUpConverter();
      } else {
        ended = stream.dwError == 0;
      }
    }
    if (onProgress_) {
      progressPercent_ = 100;
      onProgress_(this);
    }
  }
  if (aborted_) return nullptr;
  error = !info.errorText.isEmpty() ? info.errorText : converterError;
  if (error.isEmpty() && !ended) error = QStringLiteral("The document is too large to be loaded.");
  return error.isEmpty() ? std::move(document) : nullptr;
}

void RichIO::Install(std::unique_ptr<QTextDocument> document, bool plain) {
  if (editor_.ReadPlainText() != plain) {
    // The editor changes its mode only while it is empty; the old document goes anyway.
    editor_.Note().Install(nullptr);
    editor_.SetPlainText(plain);
  }
  editor_.Note().Install(std::move(document));
}

void RichIO::FinishLoad(const QString& path, DocType type) {
  ApplyLoadWorkArounds(type);
  editor_.SetSelection(0, 0);
  editor_.EmEmptyUndoBuffer();
  editor_.ExternalBookmarks.Clear();
  editor_.Bookmarks.Clear();
  editor_.GutterRefreshPending = true;
  editor_.ClearReplaceUndoStack();
  editor_.ClearReplaceRedoStack();
  editor_.ResetDirtyFlag();
  const QFileInfo info(path);
  if (info.exists()) editor_.SetReadOnly(IsReadOnly(info));
  if (type == DocWord && word97Used_) mustSaveAsWord95_ = true;
}

// A form feed's paragraph loses its indents, numbering and spacing, so that a page break
// starts its page at the margin.
void RichIO::ApplyLoadWorkArounds(DocType type) {
  if (type == DocWord && !word97Used_ && Word6ConverterHasTabBug) ApplyTabDefectWorkAround();
  if (type != DocRtf && type != DocWord) return;
  const QString formFeed(QChar(12));
  const LONG length = editor_.GetLength();
  for (LONG at = editor_.FindText(formFeed, 0, true, false, false, false, -1); at >= 0 && at <= length;
       at = editor_.FindText(formFeed, at + 1, true, false, false, false, -1)) {
    editor_.SetSelection(at, at);
    PARAFORMAT2 format;
    format.dwMask = PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET | PFM_NUMBERING | PFM_SPACEBEFORE | PFM_SPACEAFTER;
    editor_.EmSetParaFormat(format);
  }
}

bool RichIO::Store(const QString& path, DocType type, bool backup) {
  editor_.EndHiLightMode();
  editor_.EndPaintMode();
  htmlFontFixNeeded_ = false;
  if (mustSaveAsWord95_ && type == DocWord &&
      AskWithHelp(QStringLiteral("File \"%1\" is a Word 97/2000 file and will now be saved in Word 95 format.\n\n"
                                 "Do you want to continue?")
                      .arg(ShownName(path)),
                  QStringLiteral("Confirm"), Prompt::Question, Prompt::Yes | Prompt::No) == Prompt::No)
    return false;
  if (backup && !CreateBackupFile(path)) return false;
  const bool converted = type == DocWord || (type == DocHtml && FHtmlSupport);
  const bool rich = type == DocRtf || converted;
  if (!AskStoreQuestions(rich)) return false;
  const bool stored = GameApplication::Guarded([&] { return WriteFile(path, type, converted, rich ? SF_RTF : Utf8Text); });
  if (!stored || (type == DocHtml && !ApplyHtmlFix(path))) return false;
  mustSaveAsWord95_ = false;
  lastDocType = type;
  return true;
}

bool RichIO::AskStoreQuestions(bool rich) {
  const bool plainMode = editor_.ReadPlainText();
  if (!plainMode && !rich)
    return Prompt::ShowApp(QStringLiteral("The document you are saving may contain text formatting which will be lost "
                                          "when saved using plain text format.\n\nDo you want to continue?"),
                           Prompt::Warning, Prompt::Yes | Prompt::No) == Prompt::Yes;
  if (plainMode && rich)
    return Prompt::ShowApp(QStringLiteral("You are attempting to save a plain text document in a rich text format.\n\n"
                                          "Do you want to continue?"),
                           Prompt::Question, Prompt::Yes | Prompt::No) == Prompt::Yes;
  return true;
}

bool RichIO::WriteFile(const QString& path, DocType type, bool converted, UINT format) {
  ReplacingFile file(path);
  const QFileInfo target(file.Target());
  // A file the user may not write is not replaced either.
  if ((target.exists() && IsReadOnly(target)) || !(converted ? file.Reserve() : file.Open())) {
    Prompt::Show(QStringLiteral("The choosen file could not be opened/created.\nIf the file already exists ensure it "
                                "is not open by another application."),
                 QStringLiteral("File Open/Create Error"), Prompt::Warning);
    return false;
  }
  if (converted &&
      PrepareConverter(file.NewPath(), type == DocWord ? TextConverter::Word6 : TextConverter::Html,
                       TextConverter::Export) != 0)
    return false;
  if (converted) ApplyStoreWorkArounds(type);
  if (!StreamOut(file.Device(), path, format, converted)) return false;
  if (file.Commit()) return true;
  ShowIOExceptionMsg(file.ErrorString());
  return false;
}

// The document through the stream-out into the new file, or to the converter that writes
// it; false after the message.
bool RichIO::StreamOut(QIODevice* stream, const QString& path, UINT format, bool converted) {
  Running running(*this, "Store");
  if (running.refused) return false;
  XferInfo info;
  info.stream = converted ? nullptr : stream;
  info.rootPath = QFileInfo(path).absolutePath();
  QString converterError;
  {
    Published published(info, nullptr);
    HourGlass::Scope busy;
    if (converted) converter_->Start(info, TextConverter::Export);
    EDITSTREAM out{reinterpret_cast<DWORD_PTR>(&info), 0, &TransferOut};
    editor_.EmStreamOut(format, out);
    if (converted) {
      converter_->EndOfData();
      converterError = converter_->Wait(ConverterWaitMs);
      CleanUpConverter();
    }
  }
  if (info.diskFull) {
    Prompt::ShowApp(QStringLiteral("There is not enough free disk space available to save file\n\"%1\".")
                        .arg(path),
                    Prompt::Stop);
    return false;
  }
  const QString error = !info.errorText.isEmpty() ? info.errorText : converterError;
  if (error.isEmpty()) return true;
  ShowIOExceptionMsg(error);
  return false;
}
