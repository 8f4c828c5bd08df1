// small_windows WINDOW [PICTURE]
// WINDOW: about, sysinfo, f11, noteopts, options0, options1, options2 (the three pages),
// cover-hover, cover-tool, cover-full (the tool face at full scale), and own-hover,
// own-tool, own-full (a still puzzle of PICTURE with a cover of its own). The sponsor is
// read from Spnsr.dat beside the program, as the game does.

#include "app/MakerAddresses.h"
#include "app/Sponser.h"
#include "app/TAboutForm.h"
#include "app/TAdvancedOptsFrm.h"
#include "app/TBoxCoverFrm.h"
#include "app/TF11Dlg.h"
#include "app/TNoteOptsFrm.h"
#include "app/TSysInfoFrm.h"

#include "Yelk/TSwerrForm.h"
#include "puzzle/JigsawFile.h"
#include "puzzle/Puzzle.h"
#include "settings/ProgSettings.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

namespace {
// A still puzzle whose cover is the picture turned upside down.
QString StillWithOwnCover(const QString& picture, const QTemporaryDir& dir) {
  const QString cover = dir.filePath(QStringLiteral("cover.jpg"));
  QImage(picture).mirrored(false, true).save(cover);
  StillPuzzleContent content;
  content.ReadPicture(picture);
  content.ReadCover(cover);
  content.pieceSize = 60;
  content.note = "{\\rtf1 A note.}";
  const QString path = dir.filePath(QStringLiteral("Harbour.jig"));
  return JigsawFile::SaveStillPuzzle(path, content) ? path : QString();
}

int ShowCover(const QString& kind, const QString& picture, QWidget& owner) {
  QTemporaryDir dir;
  const bool own = kind.startsWith(QLatin1String("own"));
  auto* puzzle = new Puzzle(own ? StillWithOwnCover(picture, dir) : picture);
  Settings()->FullScaleBoxCover = kind.endsWith(QLatin1String("full"));
  Settings()->PrintingAvailable = true;
  auto* form = new TBoxCoverFrm(&owner);
  form->SetPuzzle(puzzle, false);
  const bool tool = !kind.endsWith(QLatin1String("hover"));
  form->SetToolbar(tool);
  owner.setGeometry(40, 40, 500, 300);
  owner.show();
  if (tool) {
    form->CentreOnScreen();
    form->ShowCover();
  } else {
    form->PlaceBeside(QRect(60, 300, 60, 50), false);
    form->ShowCover();
  }
  return QApplication::exec();
}
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  TSwerrForm::AppVersionStr = QStringLiteral("2.0.4");
  TSwerrForm::VersionUrl = MakerAddresses::VersionUrl();
  Sponser sponsor(Sponser::SponsorFolder());
  const QString kind = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("about");
  const QString picture = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
  QWidget owner;
  owner.setWindowTitle(QStringLiteral("Owner"));
  if (kind.contains(QLatin1String("cover")) || kind.startsWith(QLatin1String("own")))
    return ShowCover(kind, picture, owner);
  QDialog* dialog = nullptr;
  if (kind == QLatin1String("about")) dialog = new TAboutForm(nullptr);
  else if (kind == QLatin1String("sysinfo")) dialog = new TSysInfoFrm(nullptr);
  else if (kind == QLatin1String("f11")) dialog = new TF11Dlg(nullptr);
  else if (kind == QLatin1String("noteopts")) dialog = new TNoteOptsFrm(nullptr);
  else if (kind.startsWith(QLatin1String("options"))) {
    dialog = new TAdvancedOptsFrm(nullptr);
    dialog->findChild<QTabWidget*>()->setCurrentIndex(kind.right(1).toInt());
  }
  if (!dialog) return 2;
  return dialog->exec();
}
