// richedit_demo [--read-only] [--gutter] [--bookmarks 0,40,44] [--gutter-menu] [--screenshot out.png] FILE.rtf
// Shows the note editor control filling a window, with the file streamed in as RTF and the
// note window's set-up (Arial 10, the left inset, links detected, clean).

#include "richtext/RichEdit20.h"
#include "richtext/RichFont.h"

#include "Yelk/IdlerServer.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>
#include <cstring>

namespace {

struct Source {
  QByteArray bytes;
  qsizetype at = 0;
};

DWORD ReadChunk(DWORD_PTR cookie, BYTE* buffer, LONG cb, LONG* pcb) {
  auto* source = reinterpret_cast<Source*>(cookie);
  const LONG n = static_cast<LONG>(qMin<qsizetype>(cb, source->bytes.size() - source->at));
  std::memcpy(buffer, source->bytes.constData() + source->at, static_cast<size_t>(n));
  source->at += n;
  *pcb = n;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName("Tessavinelume Jigsaw Puzzles");
  // The gutter follows the text from the idle passes, as in the game.
  IdlerServer::IS().BindIdlerServer();
  QCommandLineParser options;
  options.addHelpOption();
  options.addOption({"read-only", "Shows the note as the player sees it."});
  options.addOption({"screenshot", "Saves the window to <file> and ends.", "file"});
  options.addOption({"gutter", "Shows the gutter with its page breaks and bookmarks."});
  options.addOption({"bookmarks", "Sets the user's bookmarks at these positions.", "list"});
  options.addOption({"gutter-menu", "Opens the gutter's menu."});
  options.addPositionalArgument("file", "The RTF file to show.");
  options.process(app);
  if (options.positionalArguments().size() != 1) options.showHelp(2);

  QFile file(options.positionalArguments().first());
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "richedit_demo: cannot open %s\n", qPrintable(file.fileName()));
    return 1;
  }

  QWidget window;
  window.setWindowTitle("About the Puzzle");
  auto* layout = new QVBoxLayout(&window);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* editor = new RichEdit20(&window);
  layout->addWidget(editor);
  window.resize(640, 520);

  RichFont::Font arial;
  arial.name = "Arial";
  arial.size = 10;
  RichFont* font = editor->GetFont();
  font->SetInitialDefault(&arial);
  font->SetMode(4);
  font->SetFont(arial);
  Source source{file.readAll()};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, &ReadChunk};
  editor->EmStreamIn(SF_RTF, stream);
  if (stream.dwError != 0) std::fprintf(stderr, "richedit_demo: stream-in ends with 0x%08x\n", unsigned(stream.dwError));
  if (options.isSet("read-only")) editor->SetReadOnly(true);
  editor->SetRectLeftAdj(10);
  editor->SetAutoUrlDetect(true);
  editor->ResetDirtyFlag();
  if (options.isSet("gutter") || options.isSet("gutter-menu")) editor->SetGutterPresent(true);
  for (const QString& position : options.value("bookmarks").split(u',', Qt::SkipEmptyParts))
    editor->SetExternalBookmark(position.toInt());
  window.show();
  editor->setFocus();

  if (options.isSet("gutter-menu"))
    QTimer::singleShot(200, &app, [editor] {
      editor->SetSelection(0, 0);
      editor->PopupGutterMenu();
    });
  if (options.isSet("screenshot")) {
    QTimer::singleShot(300, &app, [&] {
      window.grab().save(options.value("screenshot"));
      app.quit();
    });
  }
  return app.exec();
}
