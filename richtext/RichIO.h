#pragma once
// Loading and saving an editor's document, and moving it, or an RTF fragment, between the
// editor and memory. All transfer goes through the editor's stream-in and stream-out with
// one pair of callbacks (RichIOTransfer.h). The editor creates one on first use
// (RichEdit20::GetIO) and owns it. Word and HTML documents pass through a text converter
// (TextConverter.h); where none is installed, Word files are refused and every other file
// loads as text.

#include "RichEditDefs.h"
#include "TextConverter.h"
#include "Yelk/Prompt.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QIODevice;
class QTextDocument;
class QWidget;
class RichEdit20;
struct XferInfo;

class RichIO : public QObject {
public:
  using Progress = std::function<void(QObject* sender)>;

  enum DocType : unsigned char {
    DocText = 0,
    DocRtf = 1,
    DocWord = 2,
    DocHtml = 3,
    DocOther = 4,  // loaded as text
    DocWordMissing = 5,  // a Word document and no converter for it
  };

  explicit RichIO(RichEdit20& editor);
  ~RichIO() override;

  // The whole document as RTF, or as text in plain-text mode.
  virtual bool GetContent(QByteArray* out);
  // Replaces the document: RTF when the bytes begin with "{\rtf", else text.
  virtual bool SetContent(const QByteArray* in);
  // The document into memory: format 1 as text, 2 as RTF. False when that failed.
  virtual bool SaveToMemory(int format);
  // The document kept by the last SaveToMemory back into the editor; the copy is dropped.
  virtual bool RestoreFromMemory();
  // The header the editor writes before an RTF selection, computed once per process.
  virtual QString GetRtfPreamble();
  // An RTF fragment in place of the selection, as one undo step.
  virtual void InsertRtfSegment(const QString& text);

  // A file into the editor. The shown document is replaced only when the whole file was
  // read; the loaded type (other reported as text) goes to type.
  virtual bool Load(const QString& path, DocType& type, bool silent);
  // The document into a file, which is replaced only when everything was written.
  virtual bool Store(const QString& path, DocType type, bool backup);

  static DocType DocTypeFromExtension(const QString& path);
  DocType DetermineDocType(const QString& path);
  static bool FileExists(const QString& path);
  // Copies an existing file to its ".bak" name; false when the user then gives up.
  static bool CreateBackupFile(const QString& path);
  static void ShowIOExceptionMsg(const QString& text);

  // Converters: 0 prepared, 1 failed, 2 format not supported on this computer.
  int PrepareConverter(const QString& path, TextConverter::Type type, TextConverter::Direction direction);
  bool FormatIsCorrect();
  void CleanUpConverter();
  static void LocateConverters();

  // Where the converter modules are; empty when absent.
  static inline bool ConvertersLocated = false;
  static inline QString Word97ConverterPath, WordImportConverterPath, WordExportConverterPath, HtmlConverterPath;
  static inline bool Word6ConverterHasTabBug = false;
  // Makes the converter for a module: by default one over a shared library.
  static TextConverter::Factory ConverterFactory;
  static inline bool FHtmlSupport = false;
  static bool ReadHtmlSupport() { return FHtmlSupport; }
  // The most recently made one, and the record of the transfer that runs.
  static inline RichIO* Dummy = nullptr;
  static inline XferInfo* CurrXferInfo = nullptr;

  // Shows the window that tells where to get a missing converter (0 Word, 1 HTML), modal
  // over owner. Tests put a recorder here; an empty one brings the window back.
  using DownloadWindow = std::function<void(QWidget* owner, int which)>;
  static void SetDownloadWindow(DownloadWindow window);

  // How long a converted transfer waits for its converter to end.
  static inline int ConverterWaitMs = 1800000;
  // The editor's version as the store work-arounds see it; 0 asks the editor. They were
  // made for version 20, which tests act out.
  static inline int InjectedEditorVersion = 0;

  void SetOnProgress(Progress handler) { onProgress_ = std::move(handler); }
  int ProgressPercent() const { return progressPercent_; }
  bool MustSaveAsWord95() const { return mustSaveAsWord95_; }

  // The kind of the last document loaded or stored; 4 before any.
  DocType lastDocType = DocOther;

protected:
  RichEdit20& editor_;

private:
  // Refuses (logged) a transfer that would start while one runs: the application is let in
  // between the chunks, and its timers still fire.
  struct Running {
    Running(RichIO& io, const char* where);
    ~Running();
    RichIO& io;
    const bool refused;
  };

  bool AskLoadQuestions(const QString& path, DocType& type, bool silent);
  std::unique_ptr<QTextDocument> StreamFile(const QString& path, DocType type, QString& error);
  void Install(std::unique_ptr<QTextDocument> document, bool plain);
  void FinishLoad(const QString& path, DocType type);
  void ApplyLoadWorkArounds(DocType type);
  void ApplyTabDefectWorkAround();
  void ApplyStoreWorkArounds(DocType type);
  bool ApplyHtmlFix(const QString& path);
  int EditorVersion();
  // A box whose Help button opens the converters' help topic and asks again.
  static Prompt::Button AskWithHelp(const QString& text, const QString& caption, Prompt::Icon icon,
                                    Prompt::Buttons buttons);
  bool AskStoreQuestions(bool rich);
  bool WriteFile(const QString& path, DocType type, bool converted, UINT format);
  bool StreamOut(QIODevice* stream, const QString& path, UINT format, bool converted);

  std::unique_ptr<QByteArray> memStream_;
  int memFormat_ = 2;
  bool aborted_ = false;
  bool word97Used_ = false;
  bool mustSaveAsWord95_ = false;
  // The store found the first font to be one the HTML converter leaves out of the file.
  bool htmlFontFixNeeded_ = false;
  QString htmlFontName_;
  int progressPercent_ = 0;
  Progress onProgress_;
  bool transferring_ = false;
  std::unique_ptr<TextConverter> converter_;
};
