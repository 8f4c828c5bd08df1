// RichIO: what converted documents need around their transfer: the questions with a Help
// button, the store work-arounds for the converters, the load work-around for the Word 6
// converter's bulleted tabs, and the HTML font fix.

#include "ModuleConverter.h"
#include "RichEdit20.h"
#include "RichIO.h"
#include "RichParagraph.h"

#include "Yelk/ReplacingFile.h"

#include <QFile>

#include <cstring>
#include <stdexcept>

namespace {

constexpr int ConverterHelpTopic = 107;
constexpr LONG NoScroll = -999;

CHARFORMAT2 FormatAt(RichEdit20& editor, LONG at) {
  editor.SetSelection(at, at + 1);
  return editor.EmGetCharFormat(SCF_SELECTION);
}

void SetFirstFace(RichEdit20& editor, const char* face) {
  CHARFORMAT2 format;
  format.dwMask = CFM_FACE;
  std::strncpy(format.szFaceName, face, sizeof format.szFaceName - 1);
  editor.SetSelection(0, 1);
  editor.EmSetCharFormat(SCF_SELECTION, format);
}

}  // namespace

TextConverter::Factory RichIO::ConverterFactory = [] { return std::make_unique<ModuleConverter>(); };

Prompt::Button RichIO::AskWithHelp(const QString& text, const QString& caption, Prompt::Icon icon,
                                   Prompt::Buttons buttons) {
  return Prompt::ShowWithHelp(text, caption, icon, buttons, ConverterHelpTopic);
}

int RichIO::EditorVersion() { return InjectedEditorVersion != 0 ? InjectedEditorVersion : editor_.ReadVersion(); }

void RichIO::ApplyStoreWorkArounds(DocType type) {
  htmlFontFixNeeded_ = false;
  if (EditorVersion() != 20 || (type != DocWord && type != DocHtml) || editor_.GetLength() == 0) return;
  const LONG firstLine = editor_.GetFirstVisibleLine();
  const CHARRANGE selection = editor_.GetSelection();
  editor_.WmSetRedraw(false);
  CHARFORMAT2 first = FormatAt(editor_, 0);
  if (type == DocWord && first.yHeight == 240) {
    editor_.SetSelection(0, 1);
    editor_.EmSetCharFormat(SCF_SELECTION, first);
  }
  if (type == DocHtml && QString::fromUtf8(first.szFaceName) == QLatin1String("Times New Roman")) {
    htmlFontFixNeeded_ = true;
    htmlFontName_ = QString::fromUtf8(first.szFaceName);
    const QString second = QString::fromUtf8(FormatAt(editor_, 1).szFaceName);
    if (second != htmlFontName_) SetFirstFace(editor_, second == QLatin1String("Arial") ? "Courier" : "Arial");
  }
  if (firstLine != NoScroll) editor_.EmLineScroll(0, firstLine - editor_.GetFirstVisibleLine());
  editor_.SetSelection(selection);
  editor_.WmSetRedraw(true);
  editor_.viewport()->update();
}

// The converter writes a first font tag without the face; it gets it as its first attribute.
bool RichIO::ApplyHtmlFix(const QString& path) {
  if (!htmlFontFixNeeded_) return true;
  try {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error(file.errorString().toStdString());
    QByteArray bytes = file.readAll();
    file.close();
    if (bytes.size() <= 6) return true;
    const QByteArray tag = "<FONT ";
    const qsizetype at = bytes.left(255).indexOf(tag);
    if (at < 0) return true;
    bytes.insert(at + tag.size(), "FACE=\"" + htmlFontName_.toUtf8() + "\" ");
    ReplacingFile fixed(path);
    if (!fixed.Open() || fixed.Device()->write(bytes) != bytes.size() || !fixed.Commit())
      throw std::runtime_error(fixed.ErrorString().toStdString());
    return true;
  } catch (const std::exception& e) {
    Prompt::ShowApp(QStringLiteral("HTML save error:\n\n") + QString::fromLocal8Bit(e.what()), Prompt::Stop);
  }
  return false;
}

// The Word 6 converter found by the file search leaves a tab at the start of every bulleted
// paragraph.
void RichIO::ApplyTabDefectWorkAround() {
  RichParagraph& paragraph = *editor_.GetParagraph();
  const auto examine = [&](LONG at) {
    if (editor_.GetTextRange(CHARRANGE{at, at + 1}) != QLatin1String("\t")) return;
    editor_.SetSelection(at, at);
    if (paragraph.ReadBulletType() != PFN_BULLET) return;
    editor_.SetSelection(at, at + 1);
    editor_.EmReplaceSel(QString(), false);
  };
  if (editor_.GetLength() == 0) return;
  examine(0);
  const QString mark(QLatin1Char('\r'));
  for (LONG at = editor_.FindText(mark, 0, true, false, false, false, -1); at >= 0 && at + 1 < editor_.GetLength();
       at = editor_.FindText(mark, at + 1, true, false, false, false, -1))
    examine(at + 1);
}
