#include "TNoteFrm.h"

#include "TNoteOptsFrm.h"
#include "WindowPlacement.h"

#include "Yelk/OverWindow.h"
#include "Yelk/Prompt.h"
#include "controls/Artwork.h"
#include "controls/WhatsThis.h"
#include "controls/XPCheckBox.h"
#include "platform/HelpViewer.h"
#include "platform/Screens.h"
#include "platform/WordProcessor.h"
#include "richtext/Printerfuncs.h"
#include "richtext/RichEdit20.h"
#include "richtext/RichFont.h"
#include "richtext/RichIO.h"
#include "richtext/RichEditPopupMenu.h"
#include "richtext/RichPrinter.h"
#include "settings/ProgSettings.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <climits>

namespace {
// What's-this topics of the window's parts.
constexpr int EditorHelp = 1240, CopyHelp = 1241, PasteHelp = 1242, PrintHelp = 1243,
              WordPadHelp = 1244, OptionsHelp = 1245, CloseHelp = 1246;

TNoteFrm::AreaSource& Areas() {
  static TNoteFrm::AreaSource source = [](const QRect& near) { return Screens::AvailableNear(near); };
  return source;
}

TNoteFrm::PrintSetup& Setup() {
  static TNoteFrm::PrintSetup setup = Printerfuncs::ShowPrintSetup;
  return setup;
}

// An old stored choice of the program this setting once named means the desktop's default.
bool IsDefaultChoice(const QString& program) {
  return program.isEmpty() || program.compare(QLatin1String("wordpad.exe"), Qt::CaseInsensitive) == 0;
}
}  // namespace

TNoteFrm::TNoteFrm(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("NoteFrm"));
  setWindowTitle(QStringLiteral("About the Puzzle"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  // A sizeable tool window: a slim frame over its owner.
  setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | Qt::Tool);
  setSizeGripEnabled(true);
  setMinimumSize(303, 218);
  editor = new RichEdit20(this);
  editor->setObjectName(QStringLiteral("NoteEditor"));
  WhatsThis::SetHelpContext(editor, EditorHelp);
  // The editor's own menu closes the window the same way as the close box.
  editor->PopupMenu()->CloseHandler = [this](QObject*) { CloseAtnExecute(); };
  BuildToolbar();
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(editor, 1);
  column->addWidget(ToolBar1);
  connect(editor, &QTextEdit::selectionChanged, this, &TNoteFrm::UpdateActions);
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &TNoteFrm::UpdateActions);
  resize(480, 360);
}

void TNoteFrm::BuildToolbar() {
  ToolBar1 = new QToolBar(this);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setIconSize(QSize(16, 16));
  auto action = [this](const char* name, const QString& hint, const QString& image,
                       const QKeySequence& key, int help) {
    auto* a = new QAction(Artwork::Icon(image), hint, this);
    a->setObjectName(QLatin1String(name));
    a->setShortcut(key);
    a->setShortcutContext(Qt::WindowShortcut);
    addAction(a);
    ToolBar1->addAction(a);
    WhatsThis::SetHelpContext(ToolBar1->widgetForAction(a), help);
    return a;
  };
  CopyAtn = action("CopyAtn", QStringLiteral("Copy"), QStringLiteral("glyphs/COPY"), {}, CopyHelp);
  PasteAtn = action("PasteAtn", QStringLiteral("Paste"), QStringLiteral("glyphs/PASTE"), {}, PasteHelp);
  PrintAtn = action("PrintAtn", QStringLiteral("Print"), QStringLiteral("images/16/print"),
                    QKeySequence(Qt::CTRL | Qt::Key_P), PrintHelp);
  WordPadAtn = action("WordPadAtn", QStringLiteral("Word Processor"), QStringLiteral("images/16/wordprocessor"),
                      {}, WordPadHelp);
  OptionsAtn = action("OptionsAtn", QStringLiteral("Options"), QStringLiteral("images/16/options"), {}, OptionsHelp);
  HelpAtn = action("HelpAtn", QStringLiteral("Help"), QStringLiteral("images/16/help"), QKeySequence(Qt::Key_F1), 0);
  ToolBar1->addSeparator();
  CloseAtn = action("CloseAtn", QStringLiteral("Close"), QStringLiteral("images/16/close"),
                    QKeySequence(Qt::Key_Escape), CloseHelp);
  // With the editor focused its own keys copy and paste; the actions serve the toolbar.
  connect(CopyAtn, &QAction::triggered, this, [this] { editor->Copy(); });
  connect(PasteAtn, &QAction::triggered, this, [this] { editor->Paste(false); });
  connect(PrintAtn, &QAction::triggered, this, &TNoteFrm::PrintAtnExecute);
  connect(WordPadAtn, &QAction::triggered, this,
          [this] { WordPadAtnExecute(QApplication::queryKeyboardModifiers()); });
  connect(OptionsAtn, &QAction::triggered, this, &TNoteFrm::OptionsAtnExecute);
  connect(HelpAtn, &QAction::triggered, this,
          [] { HelpViewer::ShowTopic(QStringLiteral("AddingaPuzzleNote")); });
  connect(CloseAtn, &QAction::triggered, this, &TNoteFrm::CloseAtnExecute);
}

void TNoteFrm::SetAreaSource(AreaSource source) {
  Areas() = source ? std::move(source)
                   : AreaSource([](const QRect& near) { return Screens::AvailableNear(near); });
}

void TNoteFrm::SetPrintSetup(PrintSetup setup) {
  Setup() = setup ? std::move(setup) : PrintSetup(Printerfuncs::ShowPrintSetup);
}

void TNoteFrm::SetViewOnly() {
  editor->SetReadOnly(true);
  for (QAction* a : {PasteAtn, WordPadAtn, OptionsAtn, HelpAtn}) {
    a->setEnabled(false);
    a->setVisible(false);
  }
}

void TNoteFrm::SetUpForEditing() {
  RichFont::Font font;
  font.name = QStringLiteral("Arial");
  font.size = 10;
  font.color = clWindowText;
  RichFont* richFont = editor->GetFont();
  richFont->SetInitialDefault(&font);
  richFont->SetMode(4);
  richFont->SetFont(font);
}

int TNoteFrm::exec() {
  PrintAtn->setEnabled(Settings()->PrintingAvailable && editor->GetPrinter());
  editor->SetRectLeftAdj(10);
  editor->SetAutoUrlDetect(true);
  editor->ResetDirtyFlag();
  loadPending = !(editor->GetReadOnly() && !noteStream);
  UpdateActions();
  return QDialog::exec();
}

void TNoteFrm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!loadPending) return;
  loadPending = false;
  // Queued, so that the note is laid out in the window's final size.
  QTimer::singleShot(0, this, &TNoteFrm::LoadNote);
}

void TNoteFrm::LoadNote() {
  // A note the reader refuses leaves the editor empty; the reader reports why.
  if (noteStream && !editor->GetIO()->SetContent(noteStream)) editor->Clear();
  editor->ResetDirtyFlag();
  if (!editor->LineIsVisible(editor->GetLength())) GrowForLongNote();
  if (!editor->GetReadOnly()) editor->setFocus();
  UpdateActions();
}

// Once, taller and higher up, but never out of the screen's reach.
void TNoteFrm::GrowForLongNote() {
  QRect frame = frameGeometry();
  frame.adjust(0, -100, 0, 100);
  const QRect placed = WindowPlacement::PlaceInside(frame, Areas()(frame));
  const QSize border = frameGeometry().size() - size();
  setGeometry(QRect(placed.topLeft() + (geometry().topLeft() - frameGeometry().topLeft()),
                    placed.size() - border));
}

void TNoteFrm::UpdateActions() {
  CopyAtn->setEnabled(editor->GetSelSize() != 0);
  const QMimeData* held = QGuiApplication::clipboard()->mimeData();
  PasteAtn->setEnabled(PasteAtn->isVisible() && !editor->GetReadOnly() && held && !held->formats().isEmpty());
}

bool TNoteFrm::SaveNote(QByteArray& stream) { return editor->GetIO()->GetContent(&stream); }

void TNoteFrm::CloseAtnExecute() {
  if (!editor->IsDirty() && !optionsChanged) {
    done(Rejected);
    return;
  }
  const Prompt::Button answer =
      Prompt::ShowApp(QStringLiteral("Do you want to save your changes?"), Prompt::Question,
                      Prompt::Yes | Prompt::No, Prompt::Yes);
  done(answer == Prompt::Yes ? Accepted : Rejected);
}

void TNoteFrm::closeEvent(QCloseEvent* event) {
  event->ignore();
  CloseAtnExecute();
}

void TNoteFrm::reject() { CloseAtnExecute(); }

void TNoteFrm::PrintAtnExecute() {
  RichPrinter* printer = editor->GetPrinter();
  if (!printer || !PrintAtn->isEnabled()) return;
  if (Setup()(this)) printer->Print(1, INT_MAX);
}

void TNoteFrm::WordPadAtnExecute(Qt::KeyboardModifiers held) {
  ProgSettings& settings = *Settings();
  if ((held & Qt::ShiftModifier) && (held & Qt::ControlModifier)) {
    settings.WordProcessor.clear();
  } else if (held & Qt::ShiftModifier) {
    const QString chosen = ChooseWordProcessor();
    if (chosen.isEmpty()) return;
    settings.WordProcessor = chosen;
  }
  const QString program = IsDefaultChoice(settings.WordProcessor) ? QString() : settings.WordProcessor;
  if (!WordProcessor::Start(program))
    Prompt::ShowApp(QStringLiteral("No word processor could be started."), Prompt::Information);
}

QString TNoteFrm::ChooseWordProcessor() {
  QFileDialog dialog(this, QStringLiteral("Choose a Word Processor"), QStringLiteral("/usr/bin"),
                     QStringLiteral("Programs (*)"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setFilter(QDir::AllDirs | QDir::Files | QDir::Executable | QDir::NoDotAndDotDot);
  if (Prompt::IsScripted()) dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const QFileInfo chosen(dialog.selectedFiles().constFirst());
  return chosen.isFile() && chosen.isExecutable() ? chosen.absoluteFilePath() : QString();
}

void TNoteFrm::OptionsAtnExecute() {
  TNoteOptsFrm options(this);
  options.HiddenChkBox->setChecked(hiddenUntilCompleted);
  options.PopupChkBox->setChecked(shownAtCompletion);
  if (options.exec() != QDialog::Accepted) return;
  hiddenUntilCompleted = options.HiddenChkBox->isChecked();
  shownAtCompletion = options.PopupChkBox->isChecked();
  optionsChanged = optionsChanged || options.changed;
}

// The window it stands over (the box cover, for one) may be deleted while the note is read.
void ShowNoteWindow(QWidget* over, const QByteArray& note) {
  TNoteFrm window(nullptr);
  OverWindow::Place(&window, over);
  window.SetNoteStream(&note);
  window.SetViewOnly();
  window.exec();
}
